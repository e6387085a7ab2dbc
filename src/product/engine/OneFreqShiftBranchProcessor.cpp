#include "OneFreqShiftBranchProcessor.h"

namespace
{
constexpr float forwards = 1.0f;
constexpr float backwards = -1.0f;
} // namespace

void OneFreqShiftBranchProcessor::prepare (int maximumBlockSize, double sampleRate)
{
    OneBranchProcessor::prepare (maximumBlockSize, sampleRate);
    shifter.prepare (sampleRate);
    leftUnit.prepare (sampleRate);
    rightUnit.prepare (sampleRate);
}

void OneFreqShiftBranchProcessor::reset()
{
    OneBranchProcessor::reset();
    shifter.reset();
    leftUnit.reset();
    rightUnit.reset();
}

void OneFreqShiftBranchProcessor::setWidth (float width)
{
    OneBranchProcessor::setWidth (width);
    spread = width;
}

void OneFreqShiftBranchProcessor::setShiftAmount (bool reverse, float hertz)
{
    const auto ratio = reverse ? backwards : forwards;

    if (ratio != shifter.getRatio())
        shifter.setRatio (ratio);

    leftUnit.setShiftFrequency (hertz);
    rightUnit.setShiftFrequency (hertz);
}
