#include "PluginProcessor.h"

#include "StateChunk.h"
#include "ValueTreeMerge.h"
#include "presets/PresetFolders.h"
#include "presets/PresetReference.h"

namespace mv::pluginCore
{
namespace
{
    const juce::Identifier parametersType{ "PARAMS" };
    const juce::Identifier parameterType{ "PARAM" };
    const juce::Identifier idAttribute{ "id" };
    const juce::Identifier valueAttribute{ "value" };

    constexpr const char* versionAttribute = "version";
    constexpr const char* editorWidthAttribute = "pluginEditorWidth";
    constexpr const char* editorHeightAttribute = "pluginEditorHeight";
    constexpr const char* lockedParamsAttribute = "lockedParams";
    constexpr const char* lockedParamsSeparator = ";";
    constexpr const char* dataTag = "Data";
    constexpr const char* settingsTag = "Settings";

    const juce::Identifier defaultWidthKey{ "defaultWidth" };
    const juce::Identifier defaultHeightKey{ "defaultHeight" };

    const juce::XmlElement* findChildIgnoringCase (const juce::XmlElement& parent, const juce::String& tag)
    {
        for (auto* child : parent.getChildIterator())
            if (child->getTagName().equalsIgnoreCase (tag))
                return child;
        return nullptr;
    }
} // namespace

juce::AudioProcessor::BusesProperties PluginProcessor::makeBuses()
{
    return BusesProperties()
        .withInput ("Input", juce::AudioChannelSet::stereo(), true)
        .withOutput ("Output", juce::AudioChannelSet::stereo(), true);
}

PluginProcessor::PluginProcessor (juce::AudioProcessorValueTreeState::ParameterLayout layout,
                                  const PresetLocations& presetLocations,
                                  TreeCallback dataTreeInitialiser,
                                  TreeCallback settingsTreeInitialiser)
    : juce::AudioProcessor (makeBuses()),
      parameters (*this, &undoManager, parametersType, std::move (layout)),
      settings (SharedSettings::acquireSettings()),
      presetsManager (*this, presetLocations)
{
    PresetFolders::createFolders (presetLocations);

    if (dataTreeInitialiser)
        dataTreeInitialiser (dataTree);
    if (settingsTreeInitialiser)
        settingsTreeInitialiser (settingsTree);
}

PluginProcessor::~PluginProcessor()
{
    for (auto* p : getParameters())
        if (auto* withID = dynamic_cast<juce::AudioProcessorParameterWithID*> (p))
            parameters.removeParameterListener (withID->paramID, this);

    bypassDelay.reset();
    SharedSettings::releaseSettings();
}

void PluginProcessor::attachParameterListeners()
{
    for (auto* p : getParameters())
        if (auto* withID = dynamic_cast<juce::AudioProcessorParameterWithID*> (p))
            if (withID->paramID.isNotEmpty())
                parameters.addParameterListener (withID->paramID, this);
}

void PluginProcessor::parameterChanged (const juce::String&, float)
{
    presetsManager.markDirty();
}

//==============================================================================
void PluginProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    prepareEngine (sampleRate, maximumExpectedSamplesPerBlock);

    const juce::dsp::ProcessSpec spec{ sampleRate,
                                       (juce::uint32) juce::jmax (0, maximumExpectedSamplesPerBlock),
                                       (juce::uint32) juce::jmax (0, getTotalNumOutputChannels()) };
    const auto latency = juce::jmax (0, getMaximumLatencySamples (spec));

    if (bypassDelay == nullptr || latency > maximumLatency)
    {
        maximumLatency = latency;
        bypassDelay = std::make_unique<juce::dsp::DelayLine<float, juce::dsp::DelayLineInterpolationTypes::None>> (latency);
    }

    bypassDelay->prepare (spec);
}

void PluginProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    const juce::ScopedNoDenormals noDenormals;

    bool expected = true;
    if (resetRequested.compare_exchange_strong (expected, false))
        reset();

    processEngine (buffer, midi);
}

void PluginProcessor::processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    if (bypassDelay == nullptr)
        return;

    const auto capacityLimit = juce::jmax (0, bypassDelay->getMaximumDelayInSamples());
    const auto latency = juce::jlimit (0, capacityLimit, getLatencySamples());

    if (! juce::approximatelyEqual (bypassDelay->getDelay(), (float) latency))
        bypassDelay->setDelay ((float) latency);

    const auto channels = juce::jmin (buffer.getNumChannels(), getTotalNumOutputChannels());

    for (int ch = 0; ch < channels; ++ch)
    {
        auto* samples = buffer.getWritePointer (ch);
        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            bypassDelay->pushSample (ch, samples[i]);
            samples[i] = bypassDelay->popSample (ch);
        }
    }
}

//==============================================================================
juce::AudioProcessorEditor* PluginProcessor::createEditor()
{
    auto* editor = createEditorInstance();
    if (editor == nullptr)
        return nullptr;

    const auto remembered = [this] (int stored, const juce::Identifier& key, int fallback)
    {
        if (stored > 0)
            return stored;
        const auto fromSettings = settings->getValue (key, "-1").getIntValue();
        return fromSettings >= 1 ? fromSettings : fallback;
    };

    const auto width = remembered (editorWidth, defaultWidthKey, defaultEditorWidth);
    const auto height = remembered (editorHeight, defaultHeightKey, defaultEditorHeight);
    editor->setBounds (editor->getX(), editor->getY(), width, height);

    if (auto* constrainer = editor->getConstrainer())
        constrainer->checkComponentBounds (editor);

    editor->sendLookAndFeelChange();
    return editor;
}

//==============================================================================
juce::String PluginProcessor::getVersionString (bool removeWhitespace) const
{
    juce::String version (JucePlugin_VersionString);

    if (isBetaVersion())
    {
        version << " beta";
        if (getBetaNumber() > 0)
            version << " " << getBetaNumber();
    }

    if (removeWhitespace)
        version = version.removeCharacters (" \n\r\t");

    return version;
}

juce::String PluginProcessor::getFormatText() const
{
    juce::String text (juce::AudioProcessor::getWrapperTypeDescription (wrapperType));
    if (isBetaVersion())
        text << " Beta";
    return text;
}

juce::String PluginProcessor::getVersionText() const
{
    auto text = getName() + " - " + getFormatText();
    text << " \n\n"
         << TRANS ("version") << " " << getVersionString (false) << "  (" << __DATE__ << ")";
    return text;
}

juce::String PluginProcessor::getStateRootTag() const
{
    return getName().removeCharacters (" _-:");
}

//==============================================================================
void PluginProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    auto xml = createStateXml (true);
    xml->setAttribute (lockedParamsAttribute, lockedParams.joinIntoString (lockedParamsSeparator));
    PresetReference::write (*xml, presetsManager);
    StateChunk::write (*xml, destData);
}

void PluginProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const auto xml = StateChunk::read (data, sizeInBytes);
    if (xml == nullptr)
        return;

    const bool restoreDirty = PresetReference::read (*xml, presetsManager);
    setStateFromXml (*xml, true);

    if (restoreDirty)
        PresetReference::restoreDirtyFlag (*xml, presetsManager);

    lockedParams = juce::StringArray::fromTokens (xml->getStringAttribute (lockedParamsAttribute), lockedParamsSeparator, {});
}

std::unique_ptr<juce::XmlElement> PluginProcessor::createStateXml (bool includeEditorState)
{
    auto xml = std::make_unique<juce::XmlElement> (getStateRootTag());
    xml->setAttribute (versionAttribute, getVersionString (false));

    if (auto paramsXml = parameters.copyState().createXml())
        xml->addChildElement (paramsXml.release());

    if (includeEditorState)
    {
        if (editorWidth > 0)
            xml->setAttribute (editorWidthAttribute, editorWidth);
        if (editorHeight > 0)
            xml->setAttribute (editorHeightAttribute, editorHeight);

        if (auto settingsXml = settingsTree.createXml())
            xml->addChildElement (settingsXml.release());
    }

    if (dataTree.getNumProperties() > 0 || dataTree.getNumChildren() > 0)
        if (auto dataXml = dataTree.createXml())
            xml->addChildElement (dataXml.release());

    return xml;
}

void PluginProcessor::setStateFromXml (const juce::XmlElement& element, bool includeEditorState)
{
    if (! element.getTagName().equalsIgnoreCase (getStateRootTag()))
        return;

    if (includeEditorState)
    {
        editorWidth = element.getIntAttribute (editorWidthAttribute, -1);
        editorHeight = element.getIntAttribute (editorHeightAttribute, -1);
    }

    if (const auto* paramsXml = findChildIgnoringCase (element, parametersType.toString()))
        applyParameterTree (*paramsXml);

    if (const auto* dataXml = findChildIgnoringCase (element, dataTag))
    {
        auto incoming = juce::ValueTree::fromXml (*dataXml);
        dataTreeAboutToLoad (incoming);
        ValueTreeMerge::merge (dataTree, incoming);
    }

    if (includeEditorState)
    {
        if (const auto* settingsXml = findChildIgnoringCase (element, settingsTag))
        {
            auto incoming = juce::ValueTree::fromXml (*settingsXml);
            settingsTreeAboutToLoad (incoming);
            ValueTreeMerge::merge (settingsTree, incoming);
        }
    }

    resetRequested.exchange (true);
}

void PluginProcessor::applyParameterTree (const juce::XmlElement& paramsXml)
{
    // Rebuild the tree from what is valid: known IDs once each, finite values clamped into
    // range. A parameter without a usable value returns to its default.
    juce::ValueTree incoming (parametersType);
    juce::StringArray seen;

    for (auto* child : paramsXml.getChildIterator())
    {
        if (! child->getTagName().equalsIgnoreCase (parameterType.toString()))
            continue;

        const auto id = child->getStringAttribute (idAttribute);
        auto* parameter = parameters.getParameter (id);
        if (parameter == nullptr || seen.contains (id))
            continue;

        seen.add (id);
        juce::ValueTree param (parameterType);
        param.setProperty (idAttribute, id, nullptr);

        if (child->hasAttribute (valueAttribute.toString()))
        {
            const auto value = child->getStringAttribute (valueAttribute).getFloatValue();
            if (! std::isnan (value))
                param.setProperty (valueAttribute, parameter->getNormalisableRange().getRange().clipValue (value), nullptr);
        }

        incoming.appendChild (param, nullptr);
    }

    struct Recorded
    {
        juce::RangedAudioParameter* parameter;
        float plainValue;
    };
    std::vector<Recorded> recorded;

    for (const auto& id : lockedParams)
        if (auto* parameter = parameters.getParameter (id))
            recorded.push_back ({ parameter, parameter->convertFrom0to1 (parameter->getValue()) });

    parameters.replaceState (incoming);

    for (const auto& r : recorded)
    {
        r.parameter->beginChangeGesture();
        r.parameter->setValueNotifyingHost (r.parameter->convertTo0to1 (r.plainValue));
        r.parameter->endChangeGesture();
    }
}
} // namespace mv::pluginCore
