#include "AllocationCounter.h"
#include "OrynAudioProcessor.h"

#include <gtest/gtest.h>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 256;
constexpr float outputGain = 2.0f;

juce::AudioBuffer<float> noiseBlock (int numSamples, juce::int64 seed)
{
    juce::Random random (seed);
    juce::AudioBuffer<float> buffer (2, numSamples);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < numSamples; ++i)
            buffer.setSample (channel, i, random.nextFloat() - 0.5f);
    return buffer;
}

void setPlain (OrynAudioProcessor& processor, const char* id, float plainValue)
{
    auto* parameter = processor.getParameterState().getParameter (id);
    ASSERT_NE (parameter, nullptr) << id;
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (plainValue));
}

double rms (const juce::AudioBuffer<float>& buffer)
{
    return (double) (buffer.getRMSLevel (0, 0, buffer.getNumSamples()) + buffer.getRMSLevel (1, 0, buffer.getNumSamples())) * 0.5;
}

struct PreparedProcessor
{
    PreparedProcessor()
    {
        processor.setPlayConfigDetails (2, 2, sampleRate, blockSize);
        processor.getEngine().setJitterSeed (1);
        processor.prepareToPlay (sampleRate, blockSize);
    }

    juce::AudioBuffer<float> play (juce::AudioBuffer<float> block)
    {
        juce::MidiBuffer midi;
        processor.processBlock (block, midi);
        return block;
    }

    OrynAudioProcessor processor;
};
} // namespace

TEST (ProcessorEngine, ReadsEveryParameterIntoItsOwnField)
{
    // Each parameter gets a value of its own; each must arrive in the field of its name.
    const struct
    {
        const char* id;
        float EngineParameters::*field;
        float value;
    } cases[] = {
        { "predelaySyncOption", &EngineParameters::predelaySyncOption, 1.0f },
        { "predelayFreeTime", &EngineParameters::predelayFreeTime, 250.0f },
        { "predelayNoteTime", &EngineParameters::predelayNoteTime, 3.0f },
        { "feedback", &EngineParameters::feedback, 11.0f },
        { "size", &EngineParameters::size, 12.0f },
        { "diffusion", &EngineParameters::diffusion, 13.0f },
        { "freeze", &EngineParameters::freeze, 1.0f },
        { "lowCut", &EngineParameters::lowCut, 400.0f },
        { "hiCut", &EngineParameters::hiCut, 7000.0f },
        { "pitchNote1", &EngineParameters::pitchNote1, 4.0f },
        { "pitchShift1Gain", &EngineParameters::pitchShift1Gain, 14.0f },
        { "pitchShift1Reverse", &EngineParameters::pitchShift1Reverse, 1.0f },
        { "pitchNote2", &EngineParameters::pitchNote2, 5.0f },
        { "pitchShift2Gain", &EngineParameters::pitchShift2Gain, 15.0f },
        { "pitchShift2Reverse", &EngineParameters::pitchShift2Reverse, 1.0f },
        { "freqShiftFreq", &EngineParameters::freqShiftFreq, 600.0f },
        { "freqShiftReverse", &EngineParameters::freqShiftReverse, 1.0f },
        { "freqShiftGain", &EngineParameters::freqShiftGain, 16.0f },
        { "width", &EngineParameters::width, 17.0f },
        { "mod", &EngineParameters::mod, 18.0f },
        { "dry", &EngineParameters::dry, -20.0f },
        { "wet", &EngineParameters::wet, -30.0f },
        { "dryEnabled", &EngineParameters::dryEnabled, 0.0f },
        { "wetEnabled", &EngineParameters::wetEnabled, 0.0f },
    };

    OrynAudioProcessor processor;
    const EngineParameters defaults;
    const auto before = processor.readEngineParameters();
    for (const auto& c : cases)
        EXPECT_NEAR (before.*c.field, defaults.*c.field, 0.001f) << c.id << " default";

    for (const auto& c : cases)
        setPlain (processor, c.id, c.value);

    const auto after = processor.readEngineParameters();
    for (const auto& c : cases)
        EXPECT_NEAR (after.*c.field, c.value, 0.01f) << c.id;
}

TEST (ProcessorEngine, DryOnlyRendersTheInputTimesTwo)
{
    PreparedProcessor rig;
    setPlain (rig.processor, "dry", 0.0f);
    setPlain (rig.processor, "wetEnabled", 0.0f);
    rig.processor.prepareToPlay (sampleRate, blockSize); // dry jumps to 0 dB, wet fades out

    (void) rig.play (noiseBlock (blockSize, 1));
    (void) rig.play (noiseBlock (blockSize, 2));

    for (juce::int64 seed = 3; seed < 8; ++seed)
    {
        const auto input = noiseBlock (blockSize, seed);
        const auto output = rig.play (input);
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < blockSize; ++i)
                ASSERT_EQ (output.getSample (channel, i), input.getSample (channel, i) * outputGain);
    }
}

TEST (ProcessorEngine, ARestoredStateStartsFromASilentEngine)
{
    PreparedProcessor rig;
    setPlain (rig.processor, "dryEnabled", 0.0f);

    for (int i = 0; i < 100; ++i)
        (void) rig.play (noiseBlock (blockSize, i));

    juce::AudioBuffer<float> quiet (2, blockSize);
    quiet.clear();
    EXPECT_GT (rms (rig.play (quiet)), 1.0e-3) << "the tail rings before the restore";

    juce::MemoryBlock state;
    rig.processor.getStateInformation (state);
    rig.processor.setStateInformation (state.getData(), (int) state.getSize());

    quiet.clear();
    EXPECT_EQ (rms (rig.play (quiet)), 0.0);
}

TEST (ProcessorEngine, ProcessBlockAllocatesNothingWhileParametersMove)
{
    PreparedProcessor rig;
    juce::Random random (9);
    int allocations = 0;

    for (int step = 0; step < 200; ++step)
    {
        // Host automation: every parameter to a new place before the block.
        for (auto* parameter : rig.processor.getParameters())
            parameter->setValueNotifyingHost (random.nextFloat());

        // The longest synced pre-delay at the slowest tempo would grow the lines: stay free.
        setPlain (rig.processor, "predelaySyncOption", 0.0f);

        auto block = noiseBlock (1 + random.nextInt (blockSize), step);
        juce::MidiBuffer midi;
        {
            const ScopedAllocationCounter counter;
            rig.processor.processBlock (block, midi);
            allocations += counter.getCount();
        }
    }

    EXPECT_EQ (allocations, 0);
}

TEST (ProcessorEngine, MonoInputReachesBothSides)
{
    OrynAudioProcessor processor;
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::mono());
    layout.outputBuses.add (juce::AudioChannelSet::stereo());
    ASSERT_TRUE (processor.setBusesLayout (layout));
    setPlain (processor, "dry", 0.0f);
    setPlain (processor, "wetEnabled", 0.0f);
    processor.prepareToPlay (sampleRate, blockSize);

    juce::MidiBuffer midi;
    juce::AudioBuffer<float> warmUp (2, blockSize * 4);
    warmUp.clear();
    processor.processBlock (warmUp, midi);

    auto block = noiseBlock (blockSize, 10);
    const auto input = block;
    processor.processBlock (block, midi);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < blockSize; ++i)
            ASSERT_EQ (block.getSample (channel, i), input.getSample (0, i) * outputGain);
}
