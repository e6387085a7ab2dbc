#pragma once

#include "presets/PresetLocations.h"
#include "presets/PresetsManager.h"
#include "services/LocalisedStringsManager.h"
#include "services/SharedSettings.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_dsp/juce_dsp.h>

namespace mv::pluginCore
{
/** The maker's processor base: parameter state, presets, settings, host state and the
    processing frame around a product's engine. */
class PluginProcessor : public juce::AudioProcessor,
                        private juce::AudioProcessorValueTreeState::Listener
{
public:
    using TreeCallback = std::function<void (juce::ValueTree&)>;

    PluginProcessor (juce::AudioProcessorValueTreeState::ParameterLayout layout,
                     const PresetLocations& presetLocations,
                     TreeCallback dataTreeInitialiser = {},
                     TreeCallback settingsTreeInitialiser = {});
    ~PluginProcessor() override;

    //==============================================================================
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    void processBlockBypassed (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using juce::AudioProcessor::processBlock;
    using juce::AudioProcessor::processBlockBypassed;

    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return false; }
    bool isMidiEffect() const override { return false; }

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override { return true; }

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    //==============================================================================
    virtual void attachParameterListeners();
    virtual juce::String getReleaseNotesURL() const = 0;
    virtual juce::String getProductPageURL() const = 0;
    virtual void prepareEngine (double sampleRate, int maximumBlockSize) = 0;
    virtual int getMaximumLatencySamples (juce::dsp::ProcessSpec spec) = 0;
    virtual void processEngine (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) = 0;
    virtual juce::String getVersionText() const;
    virtual juce::String getVersionString (bool removeWhitespace) const;
    virtual bool isBetaVersion() const { return false; }
    virtual int getBetaNumber() const { return 0; }
    virtual juce::AudioProcessorEditor* createEditorInstance() = 0;
    virtual std::unique_ptr<juce::XmlElement> createStateXml (bool includeEditorState);
    virtual void setStateFromXml (const juce::XmlElement& element, bool includeEditorState);
    virtual void dataTreeAboutToLoad (juce::ValueTree&) {}
    virtual void settingsTreeAboutToLoad (juce::ValueTree&) {}

    //==============================================================================
    juce::AudioProcessorValueTreeState& getParameterState() noexcept { return parameters; }
    juce::UndoManager& getUndoManager() noexcept { return undoManager; }
    PresetsManager& getPresetsManager() noexcept { return presetsManager; }
    LocalisedStringsManager& getLocalisedStringsManager() noexcept { return localisedStrings; }
    SharedSettings& getSettings() noexcept { return *settings; }
    juce::ValueTree& getDataTree() noexcept { return dataTree; }
    juce::ValueTree& getSettingsTree() noexcept { return settingsTree; }

    juce::StringArray& getLockedParams() noexcept { return lockedParams; }
    const juce::StringArray& getLockedParams() const noexcept { return lockedParams; }

    int getEditorWidth() const noexcept { return editorWidth; }
    int getEditorHeight() const noexcept { return editorHeight; }
    void setEditorSize (int width, int height) noexcept
    {
        editorWidth = width;
        editorHeight = height;
    }

    /** True while a newly applied state waits for the engine reset of the next block. */
    bool isResetPending() const noexcept { return resetRequested.load(); }

    /** The root tag of state and preset XML: the plug-in name without " _-:". */
    juce::String getStateRootTag() const;

    static constexpr int defaultEditorWidth = 1050;
    static constexpr int defaultEditorHeight = 900;

protected:
    /** The plug-in format of this instance ("VST3"), with " Beta" for a beta build. */
    juce::String getFormatText() const;

private:
    static BusesProperties makeBuses();
    void parameterChanged (const juce::String& parameterID, float newValue) override;
    void applyParameterTree (const juce::XmlElement& paramsXml);

    // Declared before the parameter state, which keeps a pointer to it for its whole life.
    juce::UndoManager undoManager;
    juce::AudioProcessorValueTreeState parameters;
    juce::ValueTree dataTree{ "Data" };
    juce::ValueTree settingsTree{ "Settings" };
    LocalisedStringsManager localisedStrings;
    SharedSettings* settings = nullptr;
    PresetsManager presetsManager;
    int editorWidth = -1, editorHeight = -1;
    juce::StringArray lockedParams;
    std::atomic<bool> resetRequested{ false };
    int maximumLatency = 0;
    std::unique_ptr<juce::dsp::DelayLine<float, juce::dsp::DelayLineInterpolationTypes::None>> bypassDelay;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PluginProcessor)
};
} // namespace mv::pluginCore
