#pragma once

#include <juce_core/juce_core.h>

namespace mv::pluginCore
{
/** The binary frame around the XML of a host state chunk, and guarded XML parsing. */
struct StateChunk
{
    /** "VC2!" read little-endian: the framework's XML chunk tag. */
    static constexpr juce::uint32 magicNumber = 0x21324356;
    static constexpr int headerSize = 8;

    /** Deeper documents are refused: the framework's parser recurses once per level. */
    static constexpr int maximumXmlDepth = 200;

    /** Writes magic, length, the XML on one line and a zero byte. */
    static void write (const juce::XmlElement& xml, juce::MemoryBlock& destination);

    /** The parsed document of a chunk, or nullptr for anything that is not a valid chunk. */
    static std::unique_ptr<juce::XmlElement> read (const void* data, int sizeInBytes);

    /** Parses a document, refusing text nested deeper than maximumXmlDepth and text the
        framework's parser mishandles (XmlTextGuard). */
    static std::unique_ptr<juce::XmlElement> parseXml (const juce::String& text);

    /** Element nesting depth of XML text, counted without parsing it. */
    static int nestingDepth (const juce::String& text);
};
} // namespace mv::pluginCore
