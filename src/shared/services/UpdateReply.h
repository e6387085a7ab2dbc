#pragma once

#include "UpdateVersion.h"

namespace mv::pluginCore
{
/** What the maker's site answers to the update check's two requests.

    The version reply is made of fields separated by ";" (a field in double quotes may hold
    ";"), each a key, ":" and a value; keys ignore case, nothing is trimmed.
*/
struct UpdateReply
{
    UpdateVersion version; // "macVersion", 0.0.0 when missing
    juce::int64 releaseDate = 0; // "macReleaseDate", ms since 1970, 0 when missing

    static UpdateReply fromVersionReply (const juce::String& body);

    /** The change-log text of a reply body: empty for the site's missing-page text. */
    static juce::String changeLogFromBody (const juce::String& body);

    /** Reply bytes as text: UTF-8 when valid, otherwise one character per byte. */
    static juce::String decodeBody (const void* data, size_t numBytes);

    static constexpr const char* versionKey = "macVersion";
    static constexpr const char* releaseDateKey = "macReleaseDate";
    static constexpr const char* missingPageText = "the page you're looking for is not available";

    // Up to the last millisecond of the year 9999: later dates are nonsense, and the callers
    // add days to this value.
    static constexpr juce::int64 latestReleaseDate = 253402300799999;
};
} // namespace mv::pluginCore
