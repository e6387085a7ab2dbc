#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** What `oryn-host info` prints about a loaded plug-in. */
struct PluginInfo
{
    struct LayoutCheck
    {
        juce::String name;
        juce::AudioChannelSet input, output;
    };

    /** The layouts worth asking a stereo effect about. */
    static std::vector<LayoutCheck> layoutsToCheck();

    static bool supportsLayout (juce::AudioPluginInstance& instance, const LayoutCheck& layout);

    static juce::String describe (const juce::PluginDescription& description, juce::AudioPluginInstance& instance);
};
