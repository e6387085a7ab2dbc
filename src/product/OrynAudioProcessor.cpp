#include "OrynAudioProcessor.h"

#include "OrynParams.h"
#include "presets/PresetFolders.h"

namespace
{
constexpr const char* releaseNotesPath = "/releaseNotes/oryn";
constexpr const char* productPagePath = "/product/oryn";
constexpr const char* interfaceLanguage = "en";

// Where each parameter lands in the engine's block values, in the order of OrynParamIDs::all.
constexpr float EngineParameters::*engineFields[OrynParamIDs::numParameters] = {
    &EngineParameters::predelaySyncOption,
    &EngineParameters::predelayFreeTime,
    &EngineParameters::predelayNoteTime,
    &EngineParameters::feedback,
    &EngineParameters::size,
    &EngineParameters::diffusion,
    &EngineParameters::freeze,
    &EngineParameters::lowCut,
    &EngineParameters::hiCut,
    &EngineParameters::pitchNote1,
    &EngineParameters::pitchShift1Gain,
    &EngineParameters::pitchShift1Reverse,
    &EngineParameters::pitchNote2,
    &EngineParameters::pitchShift2Gain,
    &EngineParameters::pitchShift2Reverse,
    &EngineParameters::freqShiftFreq,
    &EngineParameters::freqShiftReverse,
    &EngineParameters::freqShiftGain,
    &EngineParameters::width,
    &EngineParameters::mod,
    &EngineParameters::dry,
    &EngineParameters::wet,
    &EngineParameters::dryEnabled,
    &EngineParameters::wetEnabled,
};
} // namespace

mv::pluginCore::PresetLocations OrynAudioProcessor::makePresetLocations()
{
    return mv::pluginCore::PresetFolders::makeLocations (makerName, pluginName, presetExtension);
}

OrynAudioProcessor::OrynAudioProcessor()
    : PluginProcessor (OrynParams::createParameterLayout(), makePresetLocations()),
      engine (std::make_unique<OrynEngine>())
{
    auto& state = getParameterState();

    for (size_t i = 0; i < parameterValues.size(); ++i)
        parameterValues[i] = state.getRawParameterValue (OrynParamIDs::all[i]);

    engine->setHostIsAbletonLive (juce::PluginHostType().isAbletonLive());
    getLocalisedStringsManager().setLanguage (interfaceLanguage);
}

OrynAudioProcessor::~OrynAudioProcessor()
{
    // The engine goes first, before the base takes down the parameters it reads.
    engine.reset();
}

EngineParameters OrynAudioProcessor::readEngineParameters() const noexcept
{
    EngineParameters values;

    for (size_t i = 0; i < parameterValues.size(); ++i)
        if (const auto* value = parameterValues[i])
            values.*engineFields[i] = value->load (std::memory_order_relaxed);

    return values;
}

double OrynAudioProcessor::getTailLengthSeconds() const
{
    // A frozen reverb never decays.
    return std::numeric_limits<double>::infinity();
}

bool OrynAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    if (layouts.getMainOutputChannelSet() != juce::AudioChannelSet::stereo())
        return false;

    const auto input = layouts.getMainInputChannelSet();
    return input == juce::AudioChannelSet::stereo() || input == juce::AudioChannelSet::mono();
}

void OrynAudioProcessor::reset()
{
    if (engine != nullptr)
        engine->reset();
}

juce::String OrynAudioProcessor::getReleaseNotesURL() const
{
    return juce::String (ORYN_MAKER_SITE) + releaseNotesPath;
}

juce::String OrynAudioProcessor::getProductPageURL() const
{
    return juce::String (ORYN_MAKER_SITE) + productPagePath;
}

void OrynAudioProcessor::prepareEngine (double sampleRate, int maximumBlockSize)
{
    engine->prepare (maximumBlockSize, sampleRate, readEngineParameters(), getPlayHead());
}

void OrynAudioProcessor::processEngine (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    // MIDI is not used.
    engine->process (buffer, getTotalNumInputChannels(), getTotalNumOutputChannels(), readEngineParameters(), getPlayHead());
}

juce::String OrynAudioProcessor::getVersionText() const
{
    return "v" + getVersionString (false) + " - " + getFormatText();
}

juce::AudioProcessorEditor* OrynAudioProcessor::createEditorInstance()
{
    return new juce::GenericAudioProcessorEditor (*this);
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    auto* processor = new OrynAudioProcessor();
    processor->attachParameterListeners();
    return processor;
}
