#include "OrynAudioProcessor.h"

#include "OrynParams.h"
#include "presets/PresetFolders.h"

namespace
{
constexpr const char* releaseNotesPath = "/releaseNotes/oryn";
constexpr const char* productPagePath = "/product/oryn";
constexpr const char* interfaceLanguage = "en";
} // namespace

mv::pluginCore::PresetLocations OrynAudioProcessor::makePresetLocations()
{
    return mv::pluginCore::PresetFolders::makeLocations (makerName, pluginName, presetExtension);
}

OrynAudioProcessor::OrynAudioProcessor()
    : PluginProcessor (OrynParams::createParameterLayout(), makePresetLocations())
{
    getLocalisedStringsManager().setLanguage (interfaceLanguage);
}

OrynAudioProcessor::~OrynAudioProcessor() = default;

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
}

juce::String OrynAudioProcessor::getReleaseNotesURL() const
{
    return juce::String (ORYN_MAKER_SITE) + releaseNotesPath;
}

juce::String OrynAudioProcessor::getProductPageURL() const
{
    return juce::String (ORYN_MAKER_SITE) + productPagePath;
}

void OrynAudioProcessor::prepareEngine (double, int)
{
}

void OrynAudioProcessor::processEngine (juce::AudioBuffer<float>&, juce::MidiBuffer&)
{
}

juce::String OrynAudioProcessor::getVersionText() const
{
    auto text = "v" + getVersionString (false) + " - " + juce::AudioProcessor::getWrapperTypeDescription (wrapperType);
    if (isBetaVersion())
        text << " Beta";
    return text;
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
