#include "PresetsManager.h"

#include "PresetFileReader.h"
#include "PresetFileWriter.h"
#include "processor/PluginProcessor.h"

namespace mv::pluginCore
{
PresetsManager::PresetsManager (PluginProcessor& owner, const PresetLocations& presetLocations)
    : processor (owner), locations (presetLocations), lastSaveFolder (presetLocations.userFolder)
{
}

PresetsManager::~PresetsManager() = default;

void PresetsManager::addListener (Listener* listener)
{
    listeners.add (listener);
}

void PresetsManager::removeListener (Listener* listener)
{
    listeners.remove (listener);
}

void PresetsManager::notifyDirtyChanged (bool isDirty)
{
    listeners.call ([this, isDirty] (Listener& l)
                    { l.presetDirtyChanged (*this, isDirty); });
}

void PresetsManager::markDirty()
{
    // The plain load first spares automation a read-modify-write on every change.
    if (dirty.load() || dirty.exchange (true))
        return;

    notifyDirtyChanged (true);
}

void PresetsManager::setDirty (bool shouldBeDirty)
{
    if (dirty.exchange (shouldBeDirty) == shouldBeDirty)
        return;

    notifyDirtyChanged (shouldBeDirty);
}

void PresetsManager::loadPreset (const juce::File& fileToLoad)
{
    // A copy: the caller may pass the current preset, which changes below.
    const auto file = fileToLoad;
    const auto xml = PresetFileReader::read (file);
    if (xml == nullptr)
        return;

    currentPresetFile = file;

    // A foreign root applies nothing, but the file still becomes the current preset.
    processor.setStateFromXml (*xml, false);

    setDirty (false);
    listeners.call ([this, &file] (Listener& l)
                    { l.presetLoaded (*this, file); });
}

void PresetsManager::savePreset (const juce::File& file, bool loadAfterSaving)
{
    currentPresetFile = file;

    // A failed write goes unnoticed on purpose: the preset bar has nowhere to show it.
    if (const auto xml = processor.createStateXml (false))
        (void) PresetFileWriter::write (*xml, file);

    if (loadAfterSaving)
        loadPreset (file);
    else
        setDirty (false);
}

juce::File PresetsManager::getSaveAsStartFolder() const
{
    return lastSaveFolder.isDirectory() ? lastSaveFolder : locations.userFolder;
}

void PresetsManager::savePresetAs (bool loadAfterSaving)
{
    fileChooser = std::make_unique<juce::FileChooser> (saveDialogTitle, getSaveAsStartFolder(), getWildcard(), true, false, nullptr);

    const auto flags = juce::FileBrowserComponent::saveMode
                       | juce::FileBrowserComponent::canSelectFiles
                       | juce::FileBrowserComponent::warnAboutOverwriting;

    // The chooser is owned here and dies with the manager, so the callback cannot outlive it.
    fileChooser->launchAsync (flags, [this, loadAfterSaving] (const juce::FileChooser& chooser)
                              { saveChosenFile (chooser.getResult(), loadAfterSaving); });
}

void PresetsManager::saveChosenFile (const juce::File& chosenFile, bool loadAfterSaving)
{
    if (chosenFile == juce::File())
        return;

    if (chosenFile.isAChildOf (locations.userFolder))
        lastSaveFolder = chosenFile.getParentDirectory();

    savePreset (chosenFile, loadAfterSaving);
}
} // namespace mv::pluginCore
