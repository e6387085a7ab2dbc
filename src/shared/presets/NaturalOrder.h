#pragma once

#include <juce_core/juce_core.h>

namespace mv::pluginCore
{
/** The order presets are listed in: runs of digits compare by numeric value, other
    characters without regard to case ("Pad 2" before "Pad 10", "b" before "B2"). */
struct NaturalOrder
{
    /** Negative, zero or positive. Zero only for identical texts: texts equal under the
        rules above fall back to plain character order, so sorting is deterministic. */
    static int compare (const juce::String& a, const juce::String& b);

    static bool isBefore (const juce::String& a, const juce::String& b) { return compare (a, b) < 0; }
};
} // namespace mv::pluginCore
