#pragma once

#include "FrequencyShifterUnit.h"
#include "GrainShifter.h"
#include "OneBranchProcessor.h"

/** The frequency-shift branch: the branch loop around a grain player (forwards, or
    backwards in reverse) followed by a single-sideband shifter per side, so that the
    shift accumulates on every pass and the tail climbs or falls. */
class OneFreqShiftBranchProcessor final : public OneBranchProcessor
{
public:
    OneFreqShiftBranchProcessor() = default;

    void prepare (int maximumBlockSize, double sampleRate) override;
    void reset() override;
    void setWidth (float width) override;

    /** Shift in hertz, unsmoothed; reverse plays 0.375 s grains backwards before the shift. */
    void setShiftAmount (bool reverse, float hertz) override;

    void processSample (float& left, float& right) override
    {
        shifter.processSample (left, right, spread, random);
        left = leftUnit.processSample (left);
        right = rightUnit.processSample (right);
    }

    void setJitterSeed (juce::int64 seed) override { random.setSeed (seed); }

    const GrainShifter& getShifter() const noexcept { return shifter; }
    const FrequencyShifterUnit& getUnit (int side) const noexcept { return side == 0 ? leftUnit : rightUnit; }

private:
    GrainShifter shifter;
    juce::Random random;
    float spread = 1.0f;
    FrequencyShifterUnit leftUnit, rightUnit;
};
