#pragma once

#include "OrynEngine.h"
#include "OrynParamIDs.h"
#include "processor/PluginProcessor.h"

#include <array>

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

    /** The current parameter values as the engine reads them: plain values, no locks. */
    EngineParameters readEngineParameters() const noexcept;

    /** The engine, for tests that fix its grain jitter or look at its state. */
    OrynEngine& getEngine() noexcept { return *engine; }

private:
    // Looked up once by ID, in the order of OrynParamIDs::all; read once per block.
    std::array<std::atomic<float>*, OrynParamIDs::numParameters> parameterValues{};
    std::unique_ptr<OrynEngine> engine;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrynAudioProcessor)
};
