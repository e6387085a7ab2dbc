#pragma once

#include <juce_core/juce_core.h>

namespace mv::pluginCore
{
/** Reads a preset file back into its XML document, refusing anything that cannot be one. */
struct PresetFileReader
{
    /** A real preset is a few kilobytes; anything far larger is not read at all. */
    static constexpr juce::int64 maximumFileSizeBytes = 16 * 1024 * 1024;

    /** The parsed document, or nullptr for a missing, unreadable, oversized, non-text or
        malformed file. */
    static std::unique_ptr<juce::XmlElement> read (const juce::File& file);

    /** The same for file content already in memory. */
    static std::unique_ptr<juce::XmlElement> parse (const void* data, size_t sizeInBytes);
};
} // namespace mv::pluginCore
