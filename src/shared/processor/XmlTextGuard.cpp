#include "XmlTextGuard.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace mv::pluginCore
{
namespace
{
    using Pointer = juce::String::CharPointerType;

    constexpr std::int64_t largestCharacter = 0x10ffff;
    constexpr std::int64_t firstSurrogate = 0xd800;
    constexpr std::int64_t lastSurrogate = 0xdfff;

    bool startsWith (Pointer p, const char* text)
    {
        return p.compareUpTo (juce::CharPointer_ASCII (text), (int) std::strlen (text)) == 0;
    }

    /** p points just after "&#". */
    bool isValidNumericReference (Pointer p)
    {
        const bool hex = *p == 'x' || *p == 'X';
        if (hex)
            ++p;

        const int maximumDigits = hex ? XmlTextGuard::maximumHexDigits : XmlTextGuard::maximumDecimalDigits;
        std::int64_t code = 0;
        int digits = 0;

        for (; *p != ';'; ++p)
        {
            const auto c = *p;
            const int digit = hex ? juce::CharacterFunctions::getHexDigitValue (c)
                                  : (c >= '0' && c <= '9' ? (int) (c - '0') : -1);

            if (digit < 0 || ++digits > maximumDigits)
                return false;

            code = code * (hex ? 16 : 10) + digit;
        }

        return digits > 0 && code > 0 && code <= largestCharacter && (code < firstSurrogate || code > lastSurrogate);
    }
} // namespace

bool XmlTextGuard::isSafeToParse (const juce::String& text)
{
    return ! hasMisplacedProcessingInstruction (text) && ! hasUnsafeReference (text) && ! hasOversizedExponent (text);
}

bool XmlTextGuard::hasMisplacedProcessingInstruction (const juce::String& text)
{
    constexpr const char* closing = "?>";

    auto start = text.getCharPointer().findEndOfWhitespace();

    if (startsWith (start, "<?xml"))
    {
        const auto end = start.indexOf (juce::CharPointer_ASCII (closing));
        if (end < 0)
            return true;
        start += end + (int) std::strlen (closing);
    }

    return start.indexOf (juce::CharPointer_ASCII ("<?")) >= 0;
}

bool XmlTextGuard::hasUnsafeReference (const juce::String& text)
{
    static constexpr const char* predefined[] = { "amp;", "lt;", "gt;", "quot;", "apos;" };

    for (auto p = text.getCharPointer(); ! p.isEmpty(); ++p)
    {
        if (*p != '&')
            continue;

        auto name = p + 1;

        if (*name == '#')
        {
            if (! isValidNumericReference (name + 1))
                return true;
            continue;
        }

        // Exact case: the parser would also take "&AMP;", which is not XML.
        if (std::none_of (std::begin (predefined), std::end (predefined), [name] (const char* entity)
                          { return startsWith (name, entity); }))
            return true;
    }

    return false;
}
bool XmlTextGuard::hasOversizedExponent (const juce::String& text)
{
    juce::juce_wchar previous = 0;

    for (auto p = text.getCharPointer(); ! p.isEmpty(); ++p)
    {
        const auto c = *p;

        if ((c == 'e' || c == 'E') && (juce::CharacterFunctions::isDigit (previous) || previous == '.'))
        {
            auto digits = p + 1;
            if (*digits == '+' || *digits == '-')
                ++digits;

            // Leading zeros do not count: the reader skips them.
            while (*digits == '0')
                ++digits;

            int significant = 0;
            for (; juce::CharacterFunctions::isDigit (*digits); ++digits)
                if (++significant > maximumExponentDigits)
                    return true;
        }

        previous = c;
    }

    return false;
}
} // namespace mv::pluginCore
