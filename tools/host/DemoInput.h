#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

/** The built-in demo: a few seconds of plucked chords, then silence for the reverb's tail. */
struct DemoInput
{
    static juce::AudioBuffer<float> generate (double sampleRate);
    static bool write (const juce::File& file, double sampleRate, juce::String& error);

    static constexpr double defaultSampleRate = 48000.0;
};
