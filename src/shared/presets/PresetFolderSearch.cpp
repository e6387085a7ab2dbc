#include "PresetFolderSearch.h"

namespace mv::pluginCore
{
bool PresetFolderSearch::folderContainsPresets (const juce::File& folder, const juce::String& wildcard)
{
    const auto extension = wildcard.removeCharacters ("*");
    return containsPresets (folder, extension, 0);
}

bool PresetFolderSearch::containsPresets (const juce::File& folder, const juce::String& extension, int depth)
{
    if (depth > maximumDepth || ! folder.isDirectory())
        return false;

    for (const auto& entry : juce::RangedDirectoryIterator (folder, false, "*", juce::File::findFilesAndDirectories))
    {
        const auto& file = entry.getFile();

        if (file.getFileName().endsWithIgnoreCase (extension))
            return true;

        if (entry.isDirectory() && containsPresets (file, extension, depth + 1))
            return true;
    }

    return false;
}
} // namespace mv::pluginCore
