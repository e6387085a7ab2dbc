#include "PresetFolders.h"

namespace mv::pluginCore
{
namespace
{
    juce::File absoluteFromEnvironment (const char* variable, const juce::String& fallbackBelowHome, const juce::String& fallbackAbsolute)
    {
        auto value = juce::SystemStats::getEnvironmentVariable (variable, {});

        // XDG_DATA_DIRS is a list; the first entry is the preferred one.
        value = value.upToFirstOccurrenceOf (":", false, false).trim();

        if (juce::File::isAbsolutePath (value))
            return juce::File (value);

        if (fallbackAbsolute.isNotEmpty())
            return juce::File (fallbackAbsolute);

        return juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (fallbackBelowHome);
    }

    juce::File createdChild (const juce::File& parent, const juce::String& name)
    {
        auto child = parent.getChildFile (name);
        if (! child.isDirectory())
            (void) child.createDirectory();
        return child;
    }
} // namespace

juce::File PresetFolders::getUserBaseFolder()
{
    return absoluteFromEnvironment ("XDG_DATA_HOME", ".local/share", {});
}

juce::File PresetFolders::getCommonBaseFolder()
{
    return absoluteFromEnvironment ("XDG_DATA_DIRS", {}, "/usr/local/share");
}

juce::File PresetFolders::getUserMakerFolder (const juce::String& maker)
{
    return createdChild (getUserBaseFolder(), maker);
}

juce::File PresetFolders::getCommonMakerFolder (const juce::String& maker)
{
    return createdChild (getCommonBaseFolder(), maker);
}

juce::File PresetFolders::getUserDataFolder (const juce::String& maker, const juce::String& product)
{
    return createdChild (getUserMakerFolder (maker), product);
}

juce::File PresetFolders::getCommonDataFolder (const juce::String& maker, const juce::String& product)
{
    return createdChild (getCommonMakerFolder (maker), product);
}

juce::File PresetFolders::getFactoryPresetsFolder (const juce::String& maker, const juce::String& product)
{
    return createdChild (getCommonDataFolder (maker, product), presetsFolderName);
}

PresetLocations PresetFolders::makeLocations (const juce::String& maker, const juce::String& product, const juce::String& extension)
{
    PresetLocations locations;
    locations.factoryFolder = getFactoryPresetsFolder (maker, product);
    locations.userFolder = createdChild (getUserDataFolder (maker, product), presetsFolderName);
    locations.designerFolder = createdChild (getCommonDataFolder (maker, product), designerFolderName);
    locations.initPresetFile = locations.factoryFolder.getChildFile (juce::String (initPresetName) + extension);
    locations.extension = extension;
    return locations;
}

void PresetFolders::createFolders (const PresetLocations& locations)
{
    for (const auto& folder : { locations.factoryFolder, locations.userFolder, locations.designerFolder })
        if (folder != juce::File() && ! folder.isDirectory())
            (void) folder.createDirectory();
}
} // namespace mv::pluginCore
