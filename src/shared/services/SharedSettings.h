#pragma once

#include <juce_data_structures/juce_data_structures.h>

namespace mv::pluginCore
{
/** The per-user settings of the product, one object per process shared by every holder.

    The first holder loads the file, the last one saves it; use the tree on the message thread.
*/
class SharedSettings
{
public:
    /** Takes a reference; creates and loads the object when there was none. */
    static SharedSettings* acquireSettings();
    /** Gives a reference back; the last one saves and destroys the object. */
    static void releaseSettings();

    juce::String getValue (const juce::Identifier& key, const juce::String& defaultValue = {}) const;
    void setValue (const juce::Identifier& key, const juce::String& value);

    juce::ValueTree& getTree() noexcept { return tree; }

    ~SharedSettings();

private:
    SharedSettings();
    void save();

    std::unique_ptr<juce::PropertiesFile> file;
    juce::ValueTree tree;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SharedSettings)
};
} // namespace mv::pluginCore
