#pragma once

#include "EngineParameters.h"
#include "LinearSmoother.h"
#include "ModulationStage.h"
#include "OneFreqShiftBranchProcessor.h"
#include "OnePitchBranchProcessor.h"
#include "PreDelayLine.h"
#include "ReverbTank.h"
#include "TempoSyncedTime.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>

/** The reverb from the input block to the output block: pre-delay, freeze, the modulated
    reverb network, three feedback branches summed as the wet signal, dry/wet and the fixed
    output gain. Parameters arrive once per block; everything they drive is ramped per sample.

    After prepare, process neither allocates nor locks, for any block size (longer blocks are
    processed in pieces of the prepared size) and for pre-delays within the prepared capacity.
*/
class OrynEngine
{
public:
    static constexpr int numChannels = 2;
    static constexpr int numBranches = 3;

    /** Every channel leaves multiplied by this (+6 dB). */
    static constexpr float outputGain = 2.0f;

    /** Pre-delay memory prepared for this long; longer pre-delays grow the lines. */
    static constexpr double preparedPreDelaySeconds = 4.0;

    /** Gains at or below this level are silence. */
    static constexpr float silenceDb = -60.0f;

    OrynEngine();

    /** Sizes everything for the sample rate and the largest block, then clears the audio.
        Safe to call repeatedly; allocates. The dry and wet gains start at their dB values. */
    void prepare (int maximumBlockSize, double sampleRate, const EngineParameters& parameters, juce::AudioPlayHead* playHead);

    /** Processes one host block in place. Channel 0 is left, 1 right; with one input channel
        the left one is duplicated first. */
    void process (juce::AudioBuffer<float>& buffer,
                  int numInputChannels,
                  int numOutputChannels,
                  const EngineParameters& parameters,
                  juce::AudioPlayHead* playHead) noexcept;

    /** Clears every audio memory: reverb, branches, pre-delay and work buffers. Ramps, the
        pre-delay time and the freeze state stay. */
    void reset() noexcept;

    /** Live changes tempo with a jump of its own: there a jump only clears at a steady tempo. */
    void setHostIsAbletonLive (bool isLive) noexcept { hostIsAbletonLive = isLive; }

    /** Fixes the branches' grain jitter so that runs repeat exactly. */
    void setJitterSeed (juce::int64 seed);

    float getPreDelaySeconds() const noexcept { return preDelayTime.getSeconds(); }
    float getPreDelayTargetSamples() const noexcept { return preDelayLines[0].getTargetDelay(); }
    int getPreDelayCapacity() const noexcept { return preDelayLines[0].getCapacity(); }
    bool isFrozen() const noexcept { return frozen; }
    const OnePitchBranchProcessor& getPitchBranch (int index) const noexcept { return index == 0 ? pitchBranch1 : pitchBranch2; }
    const OneFreqShiftBranchProcessor& getFreqShiftBranch() const noexcept { return freqShiftBranch; }
    const ReverbTank& getTank() const noexcept { return tank; }

    /** Gain of a dB value: 0 at or below silenceDb. */
    static float gainForDb (float db) noexcept;

private:
    void completeMono (juce::AudioBuffer<float>& buffer, int numInputChannels, int numOutputChannels) noexcept;
    static void replaceNonFiniteInput (juce::AudioBuffer<float>& buffer, int numSamples) noexcept;
    void checkTransport (const juce::Optional<juce::AudioPlayHead::PositionInfo>& position) noexcept;
    void applyParameters (const EngineParameters& p, const juce::Optional<juce::AudioPlayHead::PositionInfo>& position) noexcept;
    void processPiece (juce::AudioBuffer<float>& buffer, int start, int numSamples) noexcept;
    void addBranches (float* const* block, int numSamples) noexcept;

    double sampleRate = 0.0;
    int workBlockSize = 0;

    std::array<PreDelayLine, numChannels> preDelayLines;
    TempoSyncedTime preDelayTime;

    ModulationStage modulation;
    ReverbTank tank;

    OnePitchBranchProcessor pitchBranch1, pitchBranch2;
    OneFreqShiftBranchProcessor freqShiftBranch;
    std::array<OneBranchProcessor*, numBranches> branches{ &pitchBranch1, &pitchBranch2, &freqShiftBranch };

    std::array<LinearSmoother, numBranches> branchLevels{};
    LinearSmoother dryGain{ 0.0f }, wetGain{ 0.0f };

    bool frozen = false;
    float heldFeedback = 0.0f;

    juce::int64 previousTime = 0, currentTime = 0;
    double previousTempo = 0.0, currentTempo = 0.0;
    int largestBlockSeen = 0;
    bool hostIsAbletonLive = false;

    juce::AudioBuffer<float> dryBuffer, reverbOutput, branchWork;

    JUCE_DECLARE_NON_COPYABLE (OrynEngine)
};
