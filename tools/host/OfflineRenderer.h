#pragma once

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>

/** Streams a WAV file through a hosted plug-in and writes a 32-bit float WAV. */
class OfflineRenderer
{
public:
    struct Options
    {
        juce::File bundle, input, output;
        std::vector<std::pair<juce::String, juce::String>> settings; // parameter ID or name -> value text
        juce::File stateFile; // the plug-in's own state chunk
        juce::File presetFile; // a preset document, applied as a state without editor data
        int blockSize = 512;
        double tailSeconds = 5.0;
        double bpm = 120.0;
        std::function<void (double)> progress; // 0..1, called on long renders
    };

    static bool render (const Options& options, juce::String& error);

    /** Finds a parameter by the plug-in's ID (layout order) or by its display name. */
    static juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& idOrName);

    /** Sets a parameter from its display text ("70", "Enabled", "+5th"); booleans also take 0/1. */
    static bool applySetting (juce::AudioPluginInstance& instance, const juce::String& idOrName, const juce::String& value, juce::String& error);

    static constexpr int maximumBlockSize = 65536;
    static constexpr double maximumTailSeconds = 600.0;
    static constexpr double progressAfterSeconds = 20.0;
};
