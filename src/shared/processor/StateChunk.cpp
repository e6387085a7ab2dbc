#include "StateChunk.h"

#include "XmlTextGuard.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace mv::pluginCore
{
void StateChunk::write (const juce::XmlElement& xml, juce::MemoryBlock& destination)
{
    juce::AudioProcessor::copyXmlToBinary (xml, destination);
}

std::unique_ptr<juce::XmlElement> StateChunk::read (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= headerSize)
        return nullptr;

    const auto* bytes = static_cast<const char*> (data);

    if (juce::ByteOrder::littleEndianInt (bytes) != magicNumber)
        return nullptr;

    // The stored length is unsigned; a value beyond the data is cut at the data's end.
    const auto storedLength = (juce::uint64) juce::ByteOrder::littleEndianInt (bytes + 4);
    if (storedLength == 0)
        return nullptr;

    const auto available = (juce::uint64) (sizeInBytes - headerSize);
    const auto length = (size_t) juce::jmin (available, storedLength);

    // Invalid UTF-8 (a stray lead byte promising more bytes than there are) would make every
    // later walk over the text read past its end.
    if (! juce::CharPointer_UTF8::isValidString (bytes + headerSize, (int) length))
        return nullptr;

    return parseXml (juce::String::fromUTF8 (bytes + headerSize, (int) length));
}

int StateChunk::nestingDepth (const juce::String& text)
{
    int depth = 0, deepest = 0;
    auto p = text.getCharPointer();

    while (! p.isEmpty())
    {
        if (*p != '<')
        {
            ++p;
            continue;
        }

        ++p;
        const auto next = *p;

        if (next == '/')
        {
            depth = juce::jmax (0, depth - 1);
        }
        else if (next == '!' || next == '?')
        {
            // Comments, CDATA, doctype and processing instructions open no element.
        }
        else
        {
            // An element opens unless its tag closes itself.
            juce::juce_wchar previous = 0, quote = 0;
            while (! p.isEmpty() && (quote != 0 || *p != '>'))
            {
                const auto c = p.getAndAdvance();
                if (quote == 0 && (c == '"' || c == '\''))
                    quote = c;
                else if (c == quote)
                    quote = 0;
                previous = c;
            }

            if (previous != '/')
                deepest = juce::jmax (deepest, ++depth);
        }
    }

    return deepest;
}

std::unique_ptr<juce::XmlElement> StateChunk::parseXml (const juce::String& text)
{
    if (nestingDepth (text) > maximumXmlDepth || ! XmlTextGuard::isSafeToParse (text))
        return nullptr;

    return juce::parseXML (text);
}
} // namespace mv::pluginCore
