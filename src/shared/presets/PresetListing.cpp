#include "PresetListing.h"

#include "NaturalOrder.h"
#include "PresetFolderSearch.h"

namespace mv::pluginCore
{
bool PresetListing::isPresetFile (const juce::File& file, const juce::String& extension)
{
    return file.existsAsFile() && ! file.isHidden() && file.getFileName().endsWithIgnoreCase (extension);
}

std::vector<PresetListing::Entry> PresetListing::list (const juce::File& folder, const juce::String& extension, const juce::File& initPresetFile)
{
    return listLevel (folder, extension, initPresetFile, 0);
}

std::vector<PresetListing::Entry> PresetListing::listLevel (const juce::File& folder, const juce::String& extension, const juce::File& initPresetFile, int depth)
{
    std::vector<Entry> entries;

    if (depth > PresetFolderSearch::maximumDepth || ! folder.isDirectory())
        return entries;

    auto children = folder.findChildFiles (juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles, false);

    // Full paths share the parent, so this is natural order of the names; folders and
    // files are interleaved in the one order.
    std::sort (children.begin(), children.end(), [] (const juce::File& a, const juce::File& b)
               { return NaturalOrder::isBefore (a.getFullPathName(), b.getFullPathName()); });

    const auto wildcard = "*" + extension;
    const auto initPath = initPresetFile.getFullPathName();

    for (const auto& child : children)
    {
        if (child.isDirectory())
        {
            if (! PresetFolderSearch::folderContainsPresets (child, wildcard))
                continue;

            Entry group;
            group.kind = Entry::Kind::group;
            group.file = child;
            group.label = child.getFileName();
            group.entries = listLevel (child, extension, initPresetFile, depth + 1);
            entries.push_back (std::move (group));
        }
        else if (isPresetFile (child, extension) && ! child.getFullPathName().equalsIgnoreCase (initPath))
        {
            Entry preset;
            preset.file = child;
            preset.label = child.getFileNameWithoutExtension();
            entries.push_back (std::move (preset));
        }
    }

    return entries;
}
} // namespace mv::pluginCore
