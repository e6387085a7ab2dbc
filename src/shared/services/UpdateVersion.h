#pragma once

#include <juce_core/juce_core.h>

namespace mv::pluginCore
{
/** A version as the update check compares it: "1.0.6", "1.1.0 beta 2", "1.0.6beta5". */
struct UpdateVersion
{
    int major = 0;
    int minor = 0;
    int patch = 0;
    int beta = 0;
    bool isBeta = false;

    /** Reads a version text; missing or unreadable numbers count as 0. */
    static UpdateVersion fromText (const juce::String& text);

    /** major * 10000 + minor * 1000 + patch * 100 + beta; a release counts as beta 99,
        so it scores above every beta of the same numbers. */
    juce::int64 getScore() const noexcept;

    /** Reads the leading decimal digits of a text after blanks and an optional sign,
        clamped to [minimum, maximum]; no digits give 0 (also clamped). */
    static juce::int64 parseNumber (const juce::String& text, juce::int64 minimum, juce::int64 maximum);

    static constexpr int releaseBetaNumber = 99;
    // Betas run below the release; a larger number must not outrank it or the next patch.
    static constexpr int highestBetaNumber = releaseBetaNumber - 1;
};
} // namespace mv::pluginCore
