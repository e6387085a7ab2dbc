#pragma once

#include "PresetLocations.h"

namespace mv::pluginCore
{
/** The platform's data folders and the preset folders formed from them.

    On Linux the per-user base is $XDG_DATA_HOME (default ~/.local/share) and the
    system-wide base is the first entry of $XDG_DATA_DIRS (default /usr/local/share).
    Every getter creates the levels it names when they are missing; failures are silent.
*/
struct PresetFolders
{
    /** The per-user base folder that maker folders live in. */
    static juce::File getUserBaseFolder();
    /** The system-wide base folder that maker folders live in. */
    static juce::File getCommonBaseFolder();

    /** base/maker, created when missing. */
    static juce::File getUserMakerFolder (const juce::String& maker);
    static juce::File getCommonMakerFolder (const juce::String& maker);

    /** base/maker/product, each level created when missing. */
    static juce::File getUserDataFolder (const juce::String& maker, const juce::String& product);
    static juce::File getCommonDataFolder (const juce::String& maker, const juce::String& product);

    /** The common data folder's "presets" child, created when missing. */
    static juce::File getFactoryPresetsFolder (const juce::String& maker, const juce::String& product);

    /** The five preset locations of a product, with its folders created where possible. */
    static PresetLocations makeLocations (const juce::String& maker, const juce::String& product, const juce::String& extension);

    /** Creates the factory, user and designer folders when missing. */
    static void createFolders (const PresetLocations& locations);

    static constexpr const char* presetsFolderName = "presets";
    static constexpr const char* designerFolderName = "DesignersPresets";
    static constexpr const char* initPresetName = "Init";
};
} // namespace mv::pluginCore
