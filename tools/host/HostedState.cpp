#include "HostedState.h"

namespace
{
constexpr const char* stateTag = "VST3PluginState";
constexpr const char* componentTag = "IComponent";

// The VST3 wrapper appends its own data (bypass, program) behind the plug-in's chunk.
constexpr const char* privateDataMarker = "JUCEPrivateData";
} // namespace

juce::MemoryBlock HostedState::extractPluginChunk (const juce::MemoryBlock& hostedState)
{
    const auto xml = juce::AudioProcessor::getXmlFromBinary (hostedState.getData(), (int) hostedState.getSize());
    if (xml == nullptr || ! xml->hasTagName (stateTag))
        return {};

    juce::MemoryBlock component;
    if (auto* element = xml->getChildByName (componentTag))
        (void) component.fromBase64Encoding (element->getAllSubText());

    // The wrapper writes: chunk, 8 zero bytes, private tree, the tree's size (8 bytes), the marker.
    const auto markerLength = std::strlen (privateDataMarker);
    const auto size = component.getSize();

    if (size > markerLength + sizeof (juce::uint64)
        && std::memcmp (static_cast<const char*> (component.getData()) + size - markerLength, privateDataMarker, markerLength) == 0)
    {
        juce::uint64 privateSize = 0;
        std::memcpy (&privateSize, static_cast<const char*> (component.getData()) + size - markerLength - sizeof (juce::uint64), sizeof (privateSize));
        privateSize = juce::ByteOrder::swapIfBigEndian (privateSize);

        const auto trailer = privateSize + 2 * sizeof (juce::uint64) + markerLength;
        if (trailer <= size)
            component.setSize ((size_t) (size - trailer));
    }

    return component;
}

juce::MemoryBlock HostedState::wrapPluginChunk (const juce::MemoryBlock& pluginChunk)
{
    juce::XmlElement state (stateTag);
    state.createNewChildElement (componentTag)->addTextElement (pluginChunk.toBase64Encoding());

    juce::MemoryBlock wrapped;
    juce::AudioProcessor::copyXmlToBinary (state, wrapped);
    return wrapped;
}

juce::MemoryBlock HostedState::chunkFromXml (const juce::XmlElement& xml)
{
    juce::MemoryBlock chunk;
    juce::AudioProcessor::copyXmlToBinary (xml, chunk);
    return chunk;
}
