#include "PresetFileReader.h"

#include "processor/StateChunk.h"

#include <cstring>

namespace mv::pluginCore
{
namespace
{
    bool startsWithUtf16ByteOrderMark (const juce::uint8* bytes, size_t size)
    {
        return size >= 2 && ((bytes[0] == 0xff && bytes[1] == 0xfe) || (bytes[0] == 0xfe && bytes[1] == 0xff));
    }
} // namespace

std::unique_ptr<juce::XmlElement> PresetFileReader::read (const juce::File& file)
{
    if (! file.existsAsFile() || file.getSize() > maximumFileSizeBytes)
        return nullptr;

    juce::MemoryBlock content;
    if (! file.loadFileAsData (content))
        return nullptr;

    return parse (content.getData(), content.getSize());
}

std::unique_ptr<juce::XmlElement> PresetFileReader::parse (const void* data, size_t sizeInBytes)
{
    if (data == nullptr || sizeInBytes == 0 || sizeInBytes > (size_t) maximumFileSizeBytes)
        return nullptr;

    const auto* bytes = static_cast<const juce::uint8*> (data);

    // Text that is neither UTF-16 with its mark nor valid UTF-8 without zero bytes is
    // no preset (the UTF-8 check alone would stop at the first zero byte).
    if (! startsWithUtf16ByteOrderMark (bytes, sizeInBytes)
        && (std::memchr (data, 0, sizeInBytes) != nullptr
            || ! juce::CharPointer_UTF8::isValidString (static_cast<const char*> (data), (int) sizeInBytes)))
        return nullptr;

    // The text guard and the depth limit are applied by the shared parser.
    return StateChunk::parseXml (juce::String::createStringFromData (data, (int) sizeInBytes));
}

} // namespace mv::pluginCore
