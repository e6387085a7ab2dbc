#include "OrynAudioProcessor.h"

#include <gtest/gtest.h>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 256;

/** Counts engine resets so the frame's reset request can be observed. */
class CountingProcessor : public OrynAudioProcessor
{
public:
    void reset() override
    {
        ++resets;
        OrynAudioProcessor::reset();
    }

    int resets = 0;
};

juce::AudioBuffer<float> noiseBlock (int channels, int samples, juce::int64 seed)
{
    juce::Random random (seed);
    juce::AudioBuffer<float> buffer (channels, samples);
    for (int ch = 0; ch < channels; ++ch)
        for (int i = 0; i < samples; ++i)
            buffer.setSample (ch, i, random.nextFloat() * 2.0f - 1.0f);
    return buffer;
}

juce::AudioProcessor::BusesLayout layout (const juce::AudioChannelSet& in, const juce::AudioChannelSet& out)
{
    juce::AudioProcessor::BusesLayout l;
    l.inputBuses.add (in);
    l.outputBuses.add (out);
    return l;
}

struct Recorder : mv::pluginCore::PresetsManager::Listener
{
    void presetLoaded (mv::pluginCore::PresetsManager&, const juce::File&) override { events.add ("loaded"); }
    void presetDirtyChanged (mv::pluginCore::PresetsManager&, bool d) override { events.add (d ? "dirty" : "clean"); }
    juce::StringArray events;
};
} // namespace

TEST (ProcessorFrame, AcceptsStereoOrMonoInWithStereoOutOnly)
{
    using Set = juce::AudioChannelSet;
    const struct
    {
        Set in, out;
        bool accepted;
    } cases[] = {
        { Set::stereo(), Set::stereo(), true },
        { Set::mono(), Set::stereo(), true },
        { Set::mono(), Set::mono(), false },
        { Set::stereo(), Set::mono(), false },
        { Set::create5point1(), Set::stereo(), false },
        { Set::stereo(), Set::create5point1(), false },
        { Set::disabled(), Set::stereo(), false },
    };

    OrynAudioProcessor processor;
    for (const auto& c : cases)
        EXPECT_EQ (processor.checkBusesLayoutSupported (layout (c.in, c.out)), c.accepted)
            << c.in.getDescription() << " -> " << c.out.getDescription();
}

TEST (ProcessorFrame, HostAnswers)
{
    OrynAudioProcessor processor;
    EXPECT_EQ (processor.getName(), "Oryn");
    EXPECT_TRUE (std::isinf (processor.getTailLengthSeconds()));
    EXPECT_TRUE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_TRUE (processor.hasEditor());
    EXPECT_FALSE (processor.supportsDoublePrecisionProcessing());
    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_TRUE (processor.getProgramName (0).isEmpty());

    processor.setCurrentProgram (3);
    processor.changeProgramName (0, "renamed");
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_TRUE (processor.getProgramName (0).isEmpty());

    EXPECT_EQ (processor.getVersionString (true), "1.0.6");
    EXPECT_EQ (processor.getVersionString (false), "1.0.6");
    EXPECT_TRUE (processor.getReleaseNotesURL().endsWith ("/releaseNotes/oryn"));
    EXPECT_TRUE (processor.getProductPageURL().endsWith ("/product/oryn"));
}

TEST (ProcessorFrame, VersionTextNamesTheFormat)
{
    OrynAudioProcessor processor;
    processor.setPlayConfigDetails (2, 2, sampleRate, blockSize);
    EXPECT_EQ (processor.getVersionText(), "v1.0.6 - " + juce::String (juce::AudioProcessor::getWrapperTypeDescription (processor.wrapperType)));
}

TEST (ProcessorFrame, BypassedBlocksEqualTheInput)
{
    OrynAudioProcessor processor;
    processor.prepareToPlay (sampleRate, blockSize);

    juce::MidiBuffer midi;
    for (int block = 0; block < 4; ++block)
    {
        const auto input = noiseBlock (2, blockSize, block);
        auto buffer = input;
        processor.processBlockBypassed (buffer, midi);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
                ASSERT_EQ (buffer.getSample (ch, i), input.getSample (ch, i)) << "block " << block << " channel " << ch << " sample " << i;
    }
}

TEST (ProcessorFrame, ResetRequestIsConsumedByExactlyOneProcessedBlock)
{
    CountingProcessor processor;
    processor.prepareToPlay (sampleRate, blockSize);
    const auto resetsAfterPrepare = processor.resets;

    juce::MemoryBlock state;
    processor.getStateInformation (state);
    processor.setStateInformation (state.getData(), (int) state.getSize());
    EXPECT_TRUE (processor.isResetPending());

    juce::MidiBuffer midi;
    auto buffer = noiseBlock (2, blockSize, 1);

    processor.processBlockBypassed (buffer, midi);
    EXPECT_EQ (processor.resets, resetsAfterPrepare) << "bypassed blocks leave the request pending";
    EXPECT_TRUE (processor.isResetPending());

    processor.processBlock (buffer, midi);
    EXPECT_EQ (processor.resets, resetsAfterPrepare + 1);
    EXPECT_FALSE (processor.isResetPending());

    processor.processBlock (buffer, midi);
    EXPECT_EQ (processor.resets, resetsAfterPrepare + 1);
}

TEST (ProcessorFrame, FirstChangeAfterCleanNotifiesOnceAndLaterChangesNobody)
{
    OrynAudioProcessor processor;
    processor.attachParameterListeners();
    Recorder first, second;
    auto& presets = processor.getPresetsManager();
    presets.addListener (&first);
    presets.addListener (&second);

    auto* feedback = processor.getParameterState().getParameter ("feedback");
    feedback->setValueNotifyingHost (0.7f);
    feedback->setValueNotifyingHost (0.8f);
    processor.getParameterState().getParameter ("size")->setValueNotifyingHost (0.1f);

    EXPECT_EQ (first.events, juce::StringArray ({ "dirty" }));
    EXPECT_EQ (second.events, juce::StringArray ({ "dirty" }));
    EXPECT_TRUE (presets.isDirty());

    presets.removeListener (&first);
    presets.removeListener (&second);
}

TEST (ProcessorFrame, EditorOpensAtTheDefaultOrTheRememberedSize)
{
    OrynAudioProcessor processor;
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
        ASSERT_NE (editor, nullptr);
        EXPECT_EQ (editor->getWidth(), 1050);
        EXPECT_EQ (editor->getHeight(), 900);
        processor.editorBeingDeleted (editor.get());
    }

    processor.setEditorSize (1200, 1000);
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    EXPECT_EQ (editor->getWidth(), 1200);
    EXPECT_EQ (editor->getHeight(), 1000);
    processor.editorBeingDeleted (editor.get());
}
