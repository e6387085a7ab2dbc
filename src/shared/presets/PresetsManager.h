#pragma once

#include "PresetLocations.h"

namespace mv::pluginCore
{
class PluginProcessor;

/** Tracks the current preset and whether it has unsaved changes, and tells listeners. */
class PresetsManager
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void presetLoaded (PresetsManager& manager, const juce::File& file) = 0;
        virtual void presetDirtyChanged (PresetsManager& manager, bool isDirty) = 0;
    };

    PresetsManager (PluginProcessor& processor, const PresetLocations& locations);

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    /** Called for every parameter change, on whichever thread made it. */
    void markDirty();

    /** Sets the flag and notifies only when it changes. */
    void setDirty (bool shouldBeDirty);
    bool isDirty() const noexcept { return dirty; }

    const juce::File& getCurrentPresetFile() const noexcept { return currentPresetFile; }
    /** Changes the current preset without reading it or notifying anyone. */
    void setCurrentPresetFile (const juce::File& file) { currentPresetFile = file; }

    const juce::File& getFactoryFolder() const noexcept { return locations.factoryFolder; }
    const juce::File& getUserFolder() const noexcept { return locations.userFolder; }
    const juce::File& getDesignerFolder() const noexcept { return locations.designerFolder; }
    const juce::File& getInitPresetFile() const noexcept { return locations.initPresetFile; }
    const juce::String& getExtension() const noexcept { return locations.extension; }

    PluginProcessor& getProcessor() const noexcept { return processor; }

private:
    template <typename Callback>
    void callListeners (Callback&& callback);

    juce::Array<Listener*> listeners;
    PluginProcessor& processor;
    PresetLocations locations;
    juce::File currentPresetFile;
    bool dirty = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetsManager)
};
} // namespace mv::pluginCore
