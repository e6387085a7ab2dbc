#include "UpdateVersion.h"

namespace mv::pluginCore
{
namespace
{
    constexpr const char* betaMarker = "beta";
    constexpr juce::int64 majorWeight = 10000;
    constexpr juce::int64 minorWeight = 1000;
    constexpr juce::int64 patchWeight = 100;

    int parseComponent (const juce::String& text, int maximum)
    {
        return (int) UpdateVersion::parseNumber (text, 0, maximum);
    }
} // namespace

juce::int64 UpdateVersion::parseNumber (const juce::String& text, juce::int64 minimum, juce::int64 maximum)
{
    auto p = text.getCharPointer().findEndOfWhitespace();

    const bool negative = *p == '-';
    if (negative || *p == '+')
        ++p;

    // Accumulates towards the limit only, so absurd inputs saturate instead of overflowing.
    constexpr auto largest = std::numeric_limits<juce::int64>::max();
    const auto limit = negative ? (minimum < -largest ? largest : juce::jmax ((juce::int64) 0, -minimum))
                                : juce::jmax ((juce::int64) 0, maximum);
    juce::int64 magnitude = 0;

    for (auto c = *p; c >= '0' && c <= '9'; c = *++p)
    {
        const auto digit = (juce::int64) (c - '0');
        const bool saturates = magnitude > limit / 10 || magnitude * 10 > limit - digit;
        magnitude = saturates ? limit : magnitude * 10 + digit;
    }

    const auto value = negative ? -magnitude : magnitude;
    return juce::jlimit (minimum, maximum, value);
}

UpdateVersion UpdateVersion::fromText (const juce::String& text)
{
    UpdateVersion version;
    juce::String numbers;

    if (text.contains (betaMarker))
    {
        version.isBeta = true;
        version.beta = parseComponent (text.fromFirstOccurrenceOf (betaMarker, false, false).trim(), highestBetaNumber);
        numbers = text.upToFirstOccurrenceOf (betaMarker, false, false).trim();
    }
    else
    {
        version.isBeta = false;
        version.beta = releaseBetaNumber;
        numbers = text.trim();
    }

    const auto pieces = juce::StringArray::fromTokens (numbers, ".", "\"");
    const auto maximum = std::numeric_limits<int>::max();
    version.major = parseComponent (pieces[0], maximum);
    version.minor = parseComponent (pieces[1], maximum);
    version.patch = parseComponent (pieces[2], maximum);
    return version;
}

juce::int64 UpdateVersion::getScore() const noexcept
{
    return major * majorWeight + minor * minorWeight + patch * patchWeight + beta;
}
} // namespace mv::pluginCore
