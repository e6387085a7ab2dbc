#pragma once

#include "GrainShifter.h"
#include "OneBranchProcessor.h"

/** A pitch-shift branch: the branch loop around a granular pitch shifter, so that every
    pass through the loop moves the pitch by the interval again. */
class OnePitchBranchProcessor final : public OneBranchProcessor
{
public:
    OnePitchBranchProcessor() = default;

    void prepare (int maximumBlockSize, double sampleRate) override;
    void reset() override;
    void setWidth (float width) override;

    /** Interval in semitones; reverse plays the grains backwards. Acts only when the
        resulting ratio changes; grains already playing keep their speed. */
    void setShiftAmount (bool reverse, float semitones) override;

    void processSample (float& left, float& right) override
    {
        shifter.processSample (left, right, spread, random);
    }

    void setJitterSeed (juce::int64 seed) override { random.setSeed (seed); }

    const GrainShifter& getShifter() const noexcept { return shifter; }

private:
    GrainShifter shifter;
    juce::Random random;
    float spread = 1.0f;
};
