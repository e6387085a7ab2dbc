#pragma once

#include <juce_core/juce_core.h>

namespace mv::pluginCore
{
/** Refuses XML text on which the framework's parser misbehaves, before it is parsed.

    The parser loops forever on a processing instruction followed by text inside an
    element ("<r><?x?>P"), and reads past the end of its buffer on some malformed character
    references (a "&#x" at the end of the text, for one). State and preset files never
    contain processing instructions beyond the leading declaration, nor references other
    than the five predefined entities and well-formed numeric ones, so those are refused.
    Its number reader also overflows a signed integer on exponents of ten digits or more,
    so numbers with long exponents are refused too.
*/
struct XmlTextGuard
{
    static bool isSafeToParse (const juce::String& text);

    /** A "<?" anywhere but as the leading XML declaration. */
    static bool hasMisplacedProcessingInstruction (const juce::String& text);

    /** An "&" that does not start "&amp;", "&lt;", "&gt;", "&quot;", "&apos;" or a numeric
        reference naming a valid, non-zero character. */
    static bool hasUnsafeReference (const juce::String& text);

    /** A number whose exponent has more than maximumExponentDigits significant digits. */
    static bool hasOversizedExponent (const juce::String& text);

    /** Far more than any double needs (3), far less than overflows the reader (10). */
    static constexpr int maximumExponentDigits = 6;

    /** Longest numeric reference body accepted: enough for any character. */
    static constexpr int maximumDecimalDigits = 7;
    static constexpr int maximumHexDigits = 6;
};
} // namespace mv::pluginCore
