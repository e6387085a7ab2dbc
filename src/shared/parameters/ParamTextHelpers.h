#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace mv::pluginCore
{
/** Value text with a fixed number of decimals; 0 decimals rounds to the nearest integer. */
juce::AudioParameterFloatAttributes getFloatParameterAttributesWithNDecimals (int decimals);

/** "-inf" at or below the threshold, "0" for values within 1e-8 of zero, else one decimal. */
juce::AudioParameterFloatAttributes getFloatParameterAttributesWithInfinityText (float threshold);

/** The framework's lenient number reading: leading number of the text, 0 when there is none. */
float readNumber (const juce::String& text);

/** Fixed-point text with the given number of decimals. */
juce::String fixedPointText (float value, int decimals);
} // namespace mv::pluginCore
