#pragma once

#include "PresetsManager.h"

namespace mv::pluginCore
{
/** The current preset as a host state remembers it: category, relative path, dirty flag. */
struct PresetReference
{
    /** Appends the reference to an outgoing state when there is a current preset. */
    static void write (juce::XmlElement& root, const PresetsManager& manager);

    /** Reads the reference before the state's values are applied. Returns true when the
        state carried a reference whose dirty flag must be restored afterwards. */
    static bool read (const juce::XmlElement& root, PresetsManager& manager);

    /** Restores the stored dirty flag, after the values were applied. */
    static void restoreDirtyFlag (const juce::XmlElement& root, PresetsManager& manager);

    /** The file an older full-path reference names here, with the Windows library paths
        mapped to this system's folders; an empty file when it names none. */
    static juce::File resolveOlderPath (const juce::String& storedPath);

    static constexpr const char* elementTag = "lastPreset";
    static constexpr const char* olderAttribute = "lastPreset";
    static constexpr const char* rootAttribute = "root";
    static constexpr const char* pathAttribute = "path";
    static constexpr const char* dirtyAttribute = "dirty";

    static constexpr const char* factoryCategory = "FACTORY";
    static constexpr const char* userCategory = "USER";
    static constexpr const char* designerCategory = "DESIGNER";

    /** The maker folder the older Windows paths lead into. */
    static constexpr const char* makerName = "Morvak";
    static constexpr const char* windowsCommonMarker = ":/ProgramData/Morvak/";
    static constexpr const char* windowsUserMarker = "/AppData/Roaming/Morvak/";
};
} // namespace mv::pluginCore
