#pragma once

#include <juce_data_structures/juce_data_structures.h>

namespace mv::pluginCore
{
/** The per-user settings of the product, one object per process shared by every holder.

    The file holds one property, "settings", whose value is the XML of the "settings" tree.
    The first holder loads the file, the last one saves it; use the tree on the message thread.
*/
class SharedSettings
{
public:
    /** Takes a reference; creates and loads the object when there was none. */
    static SharedSettings* acquireSettings();
    /** Gives a reference back; the last one saves and destroys the object. */
    static void releaseSettings();

    /** The settings file of this user: $XDG_CONFIG_HOME/Morvak/Oryn/Oryn.settings on Linux. */
    static juce::File getSettingsFile();

    /** How many times the shared object has been created in this process. */
    static int getCreationCount() noexcept;

    juce::String getValue (const juce::Identifier& key, const juce::String& defaultValue = {}) const;
    void setValue (const juce::Identifier& key, const juce::String& value);

    juce::ValueTree& getTree() noexcept { return tree; }

    ~SharedSettings();

    static constexpr const char* applicationName = "Oryn";
    static constexpr const char* folderName = "Morvak/Oryn";
    static constexpr const char* fileSuffix = "settings";
    static constexpr const char* settingsProperty = "settings";
    static constexpr const char* treeType = "settings";
    static constexpr int millisecondsBeforeSaving = 10;

private:
    SharedSettings();
    void save();

    std::unique_ptr<juce::PropertiesFile> file;
    juce::ValueTree tree;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SharedSettings)
};
} // namespace mv::pluginCore
