#pragma once

#include <juce_core/juce_core.h>

namespace mv::pluginCore
{
/** The presets of one library folder as the preset menu shows them: files and sub-groups
    in natural order, read from disk every time. */
struct PresetListing
{
    struct Entry
    {
        enum class Kind
        {
            preset,
            group
        };

        Kind kind = Kind::preset;
        juce::File file;
        /** The file name without extension, or the folder name. */
        juce::String label;
        /** A group's own entries; empty for a preset. */
        std::vector<Entry> entries;

        bool isGroup() const noexcept { return kind == Kind::group; }
    };

    /** The entries of a folder. Hidden children are left out, folders without presets
        are left out, and the Init preset is never listed. */
    static std::vector<Entry> list (const juce::File& folder, const juce::String& extension, const juce::File& initPresetFile);

    /** An existing regular file, not hidden, whose name ends with the extension (any case). */
    static bool isPresetFile (const juce::File& file, const juce::String& extension);

private:
    static std::vector<Entry> listLevel (const juce::File& folder, const juce::String& extension, const juce::File& initPresetFile, int depth);
};
} // namespace mv::pluginCore
