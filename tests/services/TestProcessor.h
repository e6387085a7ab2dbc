#pragma once

#include "processor/PluginProcessor.h"

namespace oryn::test
{
/** The maker's processor base with nothing of the product on top: no parameters, no engine,
    and a version that a test can turn into a beta. */
class TestProcessor final : public mv::pluginCore::PluginProcessor
{
public:
    TestProcessor();

    const juce::String getName() const override { return "Oryn"; }
    double getTailLengthSeconds() const override { return 0.0; }
    void releaseResources() override {}

    juce::String getReleaseNotesURL() const override { return "http://127.0.0.1/releaseNotes/oryn"; }
    juce::String getProductPageURL() const override { return "http://127.0.0.1/product/oryn"; }
    void prepareEngine (double, int) override {}
    int getMaximumLatencySamples (juce::dsp::ProcessSpec) override { return 0; }
    void processEngine (juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
    juce::AudioProcessorEditor* createEditorInstance() override { return nullptr; }

    bool isBetaVersion() const override { return betaNumber >= 0; }
    int getBetaNumber() const override { return juce::jmax (0, betaNumber); }

    /** A negative number makes it a release again. */
    void setBetaNumber (int number) noexcept { betaNumber = number; }

private:
    int betaNumber = -1;
};
} // namespace oryn::test
