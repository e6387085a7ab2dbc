#pragma once

#include <juce_core/juce_core.h>

namespace mv::pluginCore
{
/** Whether a folder holds presets at any depth. */
struct PresetFolderSearch
{
    /** True when an entry below the folder, hidden ones and folders included, has a name
        ending with the wildcard's extension ("*" removed), compared without case. */
    static bool folderContainsPresets (const juce::File& folder, const juce::String& wildcard);

    /** Folder levels searched below the starting folder; stops symbolic-link cycles. */
    static constexpr int maximumDepth = 32;

private:
    static bool containsPresets (const juce::File& folder, const juce::String& extension, int depth);
};
} // namespace mv::pluginCore
