#include "OnePitchBranchProcessor.h"

#include <cmath>

namespace
{
constexpr float semitonesPerOctave = 12.0f;
}

void OnePitchBranchProcessor::prepare (int maximumBlockSize, double sampleRate)
{
    OneBranchProcessor::prepare (maximumBlockSize, sampleRate);
    shifter.prepare (sampleRate);
}

void OnePitchBranchProcessor::reset()
{
    OneBranchProcessor::reset();
    shifter.reset();
}

void OnePitchBranchProcessor::setWidth (float width)
{
    OneBranchProcessor::setWidth (width);
    spread = width;
}

void OnePitchBranchProcessor::setShiftAmount (bool reverse, float semitones)
{
    const auto speed = std::exp2 (semitones / semitonesPerOctave);
    const auto ratio = reverse ? -speed : speed;

    if (ratio != shifter.getRatio())
        shifter.setRatio (ratio);
}
