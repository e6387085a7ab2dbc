#include "BranchCompressor.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float twoPi = 6.2831853f;
constexpr float msToSeconds = 0.001f;
constexpr float dbToExponent = 0.05f;

float timeCoefficient (float sampleRate, float milliseconds) noexcept
{
    return std::exp (-twoPi / sampleRate / (milliseconds * msToSeconds));
}
} // namespace

BranchCompressor::BranchCompressor()
    : thresholdGain (std::pow (10.0f, thresholdDb * dbToExponent))
{
}

void BranchCompressor::prepare (double newSampleRate) noexcept
{
    const auto rate = (float) newSampleRate;

    if (rate != sampleRate && rate > 0.0f)
    {
        sampleRate = rate;
        attackCoefficient = timeCoefficient (sampleRate, attackMs);
        releaseCoefficient = timeCoefficient (sampleRate, releaseMs);
    }

    reset();
}

void BranchCompressor::reset() noexcept
{
    envelopes.fill (0.0f);
}

float BranchCompressor::computeGain (float envelope) const noexcept
{
    if (envelope <= thresholdGain)
        return 1.0f;

    return std::pow (envelope / thresholdGain, 1.0f / ratio - 1.0f);
}
