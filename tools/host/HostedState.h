#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Converts between a plug-in's own state chunk and the wrapped form that JUCE's VST3
    hosting exchanges (the component's and controller's streams in base64). */
struct HostedState
{
    /** The plug-in's own chunk inside a hosted state, without the wrapper's private data. */
    static juce::MemoryBlock extractPluginChunk (const juce::MemoryBlock& hostedState);

    /** A hosted state that hands the chunk to the plug-in's component. */
    static juce::MemoryBlock wrapPluginChunk (const juce::MemoryBlock& pluginChunk);

    /** A plug-in chunk holding the given XML document (preset files are such documents). */
    static juce::MemoryBlock chunkFromXml (const juce::XmlElement& xml);
};
