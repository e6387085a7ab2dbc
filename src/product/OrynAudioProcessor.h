#pragma once

#include "processor/PluginProcessor.h"

/** The Oryn product: its parameters, preset folders, URLs and engine. */
class OrynAudioProcessor : public mv::pluginCore::PluginProcessor
{
public:
    OrynAudioProcessor();
    ~OrynAudioProcessor() override;

    const juce::String getName() const override { return pluginName; }
    double getTailLengthSeconds() const override;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;
    void releaseResources() override {}
    void reset() override;

    juce::String getReleaseNotesURL() const override;
    juce::String getProductPageURL() const override;
    void prepareEngine (double sampleRate, int maximumBlockSize) override;
    int getMaximumLatencySamples (juce::dsp::ProcessSpec) override { return 0; }
    void processEngine (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    juce::String getVersionText() const override;
    juce::AudioProcessorEditor* createEditorInstance() override;

    static constexpr const char* pluginName = "Oryn";
    static constexpr const char* makerName = "Morvak";
    static constexpr const char* presetExtension = ".mvpreset";

    static mv::pluginCore::PresetLocations makePresetLocations();

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrynAudioProcessor)
};
