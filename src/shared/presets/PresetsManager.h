#pragma once

#include "ConcurrentListenerList.h"
#include "PresetLocations.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace mv::pluginCore
{
class PluginProcessor;

/** Loads and saves preset files, tracks the current preset and whether it has unsaved
    changes, and tells listeners about both. */
class PresetsManager
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void presetLoaded (PresetsManager& manager, const juce::File& file) = 0;
        /** May arrive on the audio thread (automation): do only non-blocking work here. */
        virtual void presetDirtyChanged (PresetsManager& manager, bool isDirty) = 0;
    };

    PresetsManager (PluginProcessor& processor, const PresetLocations& locations);
    ~PresetsManager();

    /** Register and unregister; not on the audio thread. Once removeListener returns the
        listener is not called again, so it may be destroyed. */
    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    /** Applies the preset in the file. A missing or malformed file changes nothing. */
    void loadPreset (const juce::File& file);

    /** Writes the current parameters to the file and makes it the current preset. */
    void savePreset (const juce::File& file, bool loadAfterSaving);

    /** Asks for a file with the system's save dialog, then saves to it. Returns at once. */
    void savePresetAs (bool loadAfterSaving);

    /** What Save as does with the file its dialog returned (empty when cancelled). */
    void saveChosenFile (const juce::File& chosenFile, bool loadAfterSaving);

    /** Where the next Save as dialog opens. */
    juce::File getSaveAsStartFolder() const;
    const juce::File& getLastSaveFolder() const noexcept { return lastSaveFolder; }

    /** Called for every parameter change, on whichever thread made it. Never blocks. */
    void markDirty();

    /** Sets the flag and notifies only when it changes. */
    void setDirty (bool shouldBeDirty);
    bool isDirty() const noexcept { return dirty.load(); }

    const juce::File& getCurrentPresetFile() const noexcept { return currentPresetFile; }
    /** Changes the current preset without reading it or notifying anyone. */
    void setCurrentPresetFile (const juce::File& file) { currentPresetFile = file; }

    const juce::File& getFactoryFolder() const noexcept { return locations.factoryFolder; }
    const juce::File& getUserFolder() const noexcept { return locations.userFolder; }
    const juce::File& getDesignerFolder() const noexcept { return locations.designerFolder; }
    const juce::File& getInitPresetFile() const noexcept { return locations.initPresetFile; }
    const juce::String& getExtension() const noexcept { return locations.extension; }

    /** "*" followed by the extension. */
    juce::String getWildcard() const { return "*" + locations.extension; }

    PluginProcessor& getProcessor() const noexcept { return processor; }

    static constexpr const char* saveDialogTitle = "save...";

private:
    void notifyDirtyChanged (bool isDirty);

    std::unique_ptr<juce::FileChooser> fileChooser;
    ConcurrentListenerList<Listener> listeners;
    PluginProcessor& processor;
    PresetLocations locations;
    juce::File currentPresetFile;
    std::atomic<bool> dirty{ false };
    juce::File lastSaveFolder;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetsManager)
};
} // namespace mv::pluginCore
