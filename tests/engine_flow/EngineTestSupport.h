#pragma once

#include "OrynEngine.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>
#include <memory>

namespace engineTest
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 256;
constexpr juce::int64 jitterSeed = 20261211;

/** A transport that plays from zero at a steady tempo; tests move it as they please. */
class TestPlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setBpm (bpm);
        info.setTimeSignature (TimeSignature{ numerator, denominator });
        info.setTimeInSamples (position);
        info.setIsPlaying (playing);
        info.setIsLooping (looping);
        return info;
    }

    double bpm = 120.0;
    int numerator = 4, denominator = 4;
    juce::int64 position = 0;
    bool playing = true;
    bool looping = false;
};

inline juce::AudioBuffer<float> noise (int numSamples, juce::int64 seed, float level = 0.5f)
{
    juce::Random random (seed);
    juce::AudioBuffer<float> buffer (2, numSamples);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < numSamples; ++i)
            buffer.setSample (channel, i, level * (2.0f * random.nextFloat() - 1.0f));

    return buffer;
}

inline juce::AudioBuffer<float> silence (int numSamples)
{
    juce::AudioBuffer<float> buffer (2, numSamples);
    buffer.clear();
    return buffer;
}

/** An engine with a fixed jitter seed, fed block by block; the play head (if any) advances
    with every block. */
struct EngineRig
{
    explicit EngineRig (EngineParameters p = {}, double rate = sampleRate, int maxBlock = blockSize, TestPlayHead* head = nullptr)
        : parameters (p), playHead (head), prepared (maxBlock)
    {
        engine->setJitterSeed (jitterSeed);
        engine->prepare (maxBlock, rate, parameters, playHead);
    }

    /** Processes the input in blocks of the given size and returns the output. */
    juce::AudioBuffer<float> render (const juce::AudioBuffer<float>& input, int blockLength = -1, int inputChannels = 2)
    {
        const auto length = blockLength > 0 ? blockLength : prepared;
        juce::AudioBuffer<float> output (input);

        for (int start = 0; start < output.getNumSamples(); start += length)
        {
            const auto n = juce::jmin (length, output.getNumSamples() - start);
            juce::AudioBuffer<float> block (output.getArrayOfWritePointers(), 2, start, n);
            engine->process (block, inputChannels, 2, parameters, playHead);

            if (playHead != nullptr)
                playHead->position += n;
        }

        return output;
    }

    std::unique_ptr<OrynEngine> engine = std::make_unique<OrynEngine>();
    EngineParameters parameters;
    TestPlayHead* playHead;
    int prepared;
};

inline double rms (const juce::AudioBuffer<float>& buffer, int start, int numSamples)
{
    double sum = 0.0;

    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = start; i < start + numSamples; ++i)
            sum += (double) buffer.getSample (channel, i) * (double) buffer.getSample (channel, i);

    return std::sqrt (sum / (double) (numSamples * buffer.getNumChannels()));
}

inline bool allFinite (const juce::AudioBuffer<float>& buffer)
{
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            if (! std::isfinite (buffer.getSample (channel, i)))
                return false;

    return true;
}

/** Parameters with every branch silent: the output is the dry path alone. */
inline EngineParameters withoutBranches (EngineParameters p = {})
{
    p.pitchShift1Gain = 0.0f;
    p.pitchShift2Gain = 0.0f;
    p.freqShiftGain = 0.0f;
    return p;
}

/** Dry at 0 dB, wet off: the output is the input times the output gain. */
inline EngineParameters dryOnly (EngineParameters p = {})
{
    p.dry = 0.0f;
    p.wetEnabled = 0.0f;
    return p;
}

/** Wet alone. */
inline EngineParameters wetOnly (EngineParameters p = {})
{
    p.dryEnabled = 0.0f;
    p.dry = -60.0f; // silent from the first sample on
    return p;
}
} // namespace engineTest
