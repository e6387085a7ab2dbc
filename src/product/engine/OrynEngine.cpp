#include "OrynEngine.h"

#include "IntervalTable.h"

namespace
{
constexpr double gainRampSeconds = 0.01;
constexpr double branchLevelRampSeconds = (double) 0.01f; // 440 steps at 44.1 kHz, 479 at 48 kHz
constexpr float percent = 0.01f;
constexpr float tankFeedbackScale = 0.9f;
constexpr float frozenFeedback = 1.0f;
constexpr float tankSizeScale = 0.9f;
constexpr float modRateScale = 0.003f;
constexpr float modRateOffset = 0.01f;
constexpr float dbToExponent = 0.05f;
constexpr int minimumWorkBlockSize = 256;
constexpr int transportJumpBlocks = 2;

/** A view of numSamples samples of the first two channels from start on; no allocation. */
juce::AudioBuffer<float> stereoView (float* const* channels, int start, int numSamples) noexcept
{
    return { channels, OrynEngine::numChannels, start, numSamples };
}
} // namespace

OrynEngine::OrynEngine() = default;

float OrynEngine::gainForDb (float db) noexcept
{
    return db > silenceDb ? std::pow (10.0f, db * dbToExponent) : 0.0f;
}

void OrynEngine::setJitterSeed (juce::int64 seed)
{
    for (auto* branch : branches)
        branch->setJitterSeed (seed);
}

void OrynEngine::prepare (int maximumBlockSize, double newSampleRate, const EngineParameters& parameters, juce::AudioPlayHead* playHead)
{
    // A rate no host runs at leaves the engine unprepared: it then outputs silence.
    if (! (newSampleRate > 0.0 && newSampleRate <= ReverbTank::maximumSampleRate))
    {
        workBlockSize = 0;
        return;
    }

    sampleRate = newSampleRate;
    workBlockSize = juce::jmax (minimumWorkBlockSize, maximumBlockSize);

    for (auto* work : { &dryBuffer, &reverbOutput, &branchWork })
        work->setSize (numChannels, workBlockSize, false, true, true);

    for (auto& line : preDelayLines)
        line.prepare (sampleRate, (int) (preparedPreDelaySeconds * sampleRate));

    for (auto& level : branchLevels)
        level.reset (sampleRate, branchLevelRampSeconds);

    modulation.prepare (workBlockSize, sampleRate);
    tank.prepare (sampleRate);

    for (auto* branch : branches)
        branch->prepare (workBlockSize, sampleRate);

    reset();
    largestBlockSeen = juce::jmax (0, maximumBlockSize);

    if (playHead != nullptr)
        if (const auto position = playHead->getPosition())
            preDelayTime.setHostTiming (*position);

    // The toggles are left to the first block, which ramps them in.
    dryGain.setCurrentAndTargetValue (gainForDb (parameters.dry));
    wetGain.setCurrentAndTargetValue (gainForDb (parameters.wet));
    dryGain.reset (sampleRate, gainRampSeconds);
    wetGain.reset (sampleRate, gainRampSeconds);
}

void OrynEngine::reset() noexcept
{
    modulation.reset();
    tank.reset();

    for (auto* branch : branches)
        branch->reset();

    for (auto& line : preDelayLines)
        line.reset();

    branchWork.clear();
    reverbOutput.clear();
}

void OrynEngine::process (juce::AudioBuffer<float>& buffer,
                          int numInputChannels,
                          int numOutputChannels,
                          const EngineParameters& parameters,
                          juce::AudioPlayHead* playHead) noexcept
{
    const juce::ScopedNoDenormals noDenormals;
    const auto numSamples = buffer.getNumSamples();

    if (numInputChannels <= 0 || numOutputChannels <= 0 || buffer.getNumChannels() < numChannels || workBlockSize <= 0)
    {
        buffer.clear();
        return;
    }

    completeMono (buffer, numInputChannels, numOutputChannels);
    replaceNonFiniteInput (buffer, numSamples);
    largestBlockSeen = juce::jmax (largestBlockSeen, numSamples);

    const auto position = playHead != nullptr ? playHead->getPosition() : juce::Optional<juce::AudioPlayHead::PositionInfo>();
    checkTransport (position);
    applyParameters (parameters, position);

    // Blocks longer than prepared run in pieces: the result is the same, the memory is not.
    for (int start = 0; start < numSamples; start += workBlockSize)
        processPiece (buffer, start, juce::jmin (workBlockSize, numSamples - start));
}

void OrynEngine::completeMono (juce::AudioBuffer<float>& buffer, int numInputChannels, int numOutputChannels) noexcept
{
    const auto numSamples = buffer.getNumSamples();

    if (numSamples <= 0 || numOutputChannels <= numInputChannels || buffer.hasBeenCleared())
        return;

    const auto* source = buffer.getReadPointer (0);
    const auto lastChannel = juce::jmin (numOutputChannels, buffer.getNumChannels());

    for (int channel = numInputChannels; channel < lastChannel; ++channel)
        juce::FloatVectorOperations::copy (buffer.getWritePointer (channel), source, numSamples);
}

void OrynEngine::replaceNonFiniteInput (juce::AudioBuffer<float>& buffer, int numSamples) noexcept
{
    if (buffer.hasBeenCleared())
        return;

    for (int channel = 0; channel < numChannels; ++channel)
    {
        const auto* samples = buffer.getReadPointer (channel);

        // x - x is 0 for every finite sample and NaN otherwise: one cheap pass finds both.
        float probe = 0.0f;
        for (int i = 0; i < numSamples; ++i)
            probe += samples[i] - samples[i];

        if (probe == 0.0f)
            continue;

        auto* writable = buffer.getWritePointer (channel);
        for (int i = 0; i < numSamples; ++i)
            if (! std::isfinite (writable[i]))
                writable[i] = 0.0f;
    }
}

void OrynEngine::checkTransport (const juce::Optional<juce::AudioPlayHead::PositionInfo>& position) noexcept
{
    if (! position.hasValue())
        return;

    const auto time = position->getTimeInSamples();

    if (! time.hasValue() || ! position->getIsPlaying())
        return;

    previousTime = currentTime;
    currentTime = *time;

    if (const auto bpm = position->getBpm())
    {
        previousTempo = currentTempo;
        currentTempo = *bpm;
    }

    const auto jump = currentTime - previousTime;
    const auto limit = (juce::int64) transportJumpBlocks * largestBlockSeen;
    const auto jumped = jump > limit || (! position->getIsLooping() && jump < -limit);

    // Live jumps the transport when its tempo changes; that is no new place in the song.
    if (jumped && (! hostIsAbletonLive || isApproximatelyEqual (currentTempo, previousTempo)))
        reset();
}

void OrynEngine::applyParameters (const EngineParameters& p, const juce::Optional<juce::AudioPlayHead::PositionInfo>& position) noexcept
{
    const auto seconds = preDelayTime.update (EngineParameters::isOn (p.predelaySyncOption), p.predelayNoteTime, p.predelayFreeTime, position);
    const auto delaySamples = (float) std::round ((double) seconds * sampleRate);

    for (auto& line : preDelayLines)
        line.setDelay (delaySamples);

    if (! frozen)
    {
        const auto f = p.feedback * percent;
        heldFeedback = f * tankFeedbackScale;
        tank.setFeedbackTarget (heldFeedback);

        for (auto* branch : branches)
            branch->setLoopFeedback (f);
    }

    const auto diffusion = p.diffusion * percent;
    const auto size = (p.size * percent) * tankSizeScale;
    tank.setDiffusionTarget (diffusion);
    tank.setSizeTarget (size);
    tank.setLowCutTarget (p.lowCut);
    tank.setHighCutTarget (p.hiCut);

    for (auto* branch : branches)
    {
        branch->setTankDiffusion (diffusion);
        branch->setTankSize (size);
        branch->setTankLowCut (p.lowCut);
        branch->setTankHighCut (p.hiCut);
    }

    pitchBranch1.setShiftAmount (EngineParameters::isOn (p.pitchShift1Reverse), IntervalTable::semitonesFor (p.pitchNote1));
    pitchBranch2.setShiftAmount (EngineParameters::isOn (p.pitchShift2Reverse), IntervalTable::semitonesFor (p.pitchNote2));

    const auto shouldFreeze = EngineParameters::isOn (p.freeze);

    if (shouldFreeze != frozen)
    {
        frozen = shouldFreeze;
        tank.setFeedbackTarget (frozen ? frozenFeedback : heldFeedback);
    }

    branchLevels[0].setTargetValue (p.pitchShift1Gain * percent);
    branchLevels[1].setTargetValue (p.pitchShift2Gain * percent);
    branchLevels[2].setTargetValue (p.freqShiftGain * percent);

    freqShiftBranch.setShiftAmount (EngineParameters::isOn (p.freqShiftReverse), p.freqShiftFreq);

    modulation.setRateControlTarget (juce::jlimit (0.0f, 1.0f, p.mod * modRateScale + modRateOffset));
    modulation.setDepthTarget (p.mod * percent);

    const auto width = p.width * percent;
    modulation.setWidthTarget (width);
    tank.setWidthTarget (width);

    for (auto* branch : branches)
        branch->setWidth (width);

    dryGain.setTargetValue (EngineParameters::isOn (p.dryEnabled) ? gainForDb (p.dry) : 0.0f);
    wetGain.setTargetValue (EngineParameters::isOn (p.wetEnabled) ? gainForDb (p.wet) : 0.0f);
}

void OrynEngine::processPiece (juce::AudioBuffer<float>& buffer, int start, int numSamples) noexcept
{
    float* block[numChannels] = { buffer.getWritePointer (0, start), buffer.getWritePointer (1, start) };
    auto* const* dry = dryBuffer.getArrayOfWritePointers();

    for (int channel = 0; channel < numChannels; ++channel)
        juce::FloatVectorOperations::copy (dry[channel], block[channel], numSamples);

    for (int channel = 0; channel < numChannels; ++channel)
    {
        auto& line = preDelayLines[(size_t) channel];
        auto* samples = block[channel];

        for (int i = 0; i < numSamples; ++i)
            samples[i] = line.processSample (samples[i]);
    }

    // Frozen, nothing new enters: the tank recirculates what it holds.
    if (frozen)
        for (auto* samples : block)
            juce::FloatVectorOperations::clear (samples, numSamples);

    modulation.processBlock (block[0], block[1], numSamples);
    tank.processBlock (block[0], block[1], numSamples);

    addBranches (block, numSamples);

    auto dryView = stereoView (dry, 0, numSamples);
    auto blockView = stereoView (block, 0, numSamples);
    dryGain.applyGain (dryView, numSamples);
    wetGain.applyGain (blockView, numSamples);

    for (int channel = 0; channel < numChannels; ++channel)
    {
        juce::FloatVectorOperations::add (block[channel], dry[channel], numSamples);
        juce::FloatVectorOperations::multiply (block[channel], outputGain, numSamples);
    }
}

void OrynEngine::addBranches (float* const* block, int numSamples) noexcept
{
    auto* const* reverb = reverbOutput.getArrayOfWritePointers();
    auto* const* work = branchWork.getArrayOfWritePointers();

    for (int channel = 0; channel < numChannels; ++channel)
    {
        juce::FloatVectorOperations::copy (reverb[channel], block[channel], numSamples);
        juce::FloatVectorOperations::clear (block[channel], numSamples);
    }

    for (size_t k = 0; k < (size_t) numBranches; ++k)
    {
        // The last branch may work on the reverb copy itself: nobody reads it afterwards.
        auto* const* input = k + 1 < (size_t) numBranches ? work : reverb;

        if (input != reverb)
            for (int channel = 0; channel < numChannels; ++channel)
                juce::FloatVectorOperations::copy (input[channel], reverb[channel], numSamples);

        auto view = stereoView (input, 0, numSamples);
        branches[k]->process (view);

        // A silent branch still runs its loop, so that it carries the tail when turned up.
        auto& level = branchLevels[k];
        if (! level.isSmoothing() && isApproximatelyEqual (level.getCurrentValue(), 0.0f))
            continue;

        level.applyGain (view, numSamples);

        for (int channel = 0; channel < numChannels; ++channel)
            juce::FloatVectorOperations::add (block[channel], input[channel], numSamples);
    }
}
