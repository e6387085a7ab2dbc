#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Finds and instantiates the plug-in of a VST3 bundle, as a host does. */
class PluginLoader
{
public:
    /** The per-user install location, ~/.vst3/Oryn.vst3. */
    static juce::File defaultBundle();

    /** The description of the bundle's first plug-in; false with an error text otherwise. */
    static bool describe (const juce::File& bundle, juce::PluginDescription& description, juce::String& error);

    /** A new instance, or nullptr with an error text. Call on the message thread. */
    static std::unique_ptr<juce::AudioPluginInstance> load (const juce::File& bundle,
                                                            double sampleRate,
                                                            int blockSize,
                                                            juce::String& error);
};
