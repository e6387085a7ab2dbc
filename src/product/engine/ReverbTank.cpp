#include "ReverbTank.h"

namespace
{
constexpr float sizeToFactorScale = 0.99f;
constexpr float sizeToFactorOffset = 0.01f;
constexpr float shortestDelaySamples = 1.0f;
} // namespace

float ReverbTank::sizeFactorFor (float size) noexcept
{
    return size * sizeToFactorScale + sizeToFactorOffset;
}

void ReverbTank::prepare (double newSampleRate)
{
    // Rates outside what any host runs at are ignored rather than sizing absurd memories.
    if (! (newSampleRate > 0.0 && newSampleRate <= maximumSampleRate))
        return;

    feedbackState = {};

    sampleRate = (float) newSampleRate;
    scale = newSampleRate / referenceSampleRate;

    for (int side = 0; side < numSides; ++side)
    {
        const auto& lengths = side == leftSide ? leftLengths : rightLengths;

        for (int stage = 0; stage < numStages; ++stage)
            sections[(size_t) side][(size_t) stage].prepare ((int) std::ceil (scale * (double) lengths[(size_t) stage]));
    }

    updateDelays();
    updateCoefficients();

    const auto rampSteps = (int) (newSampleRate * rampSeconds);

    for (auto* smoother : { &feedbackSmoother, &sizeSmoother, &widthSmoother, &diffusionSmoother, &highCutSmoother, &lowCutSmoother })
        smoother->reset (rampSteps);

    designLowPasses (highCutSmoother.getTargetValue());
    designHighPasses (lowCutSmoother.getTargetValue());

    const auto newSizeFactor = sizeFactorFor (sizeSmoother.getTargetValue());

    if (newSizeFactor != sizeFactor)
    {
        sizeFactor = juce::jlimit (0.0f, 1.0f, newSizeFactor);
        updateDelays();
    }

    loopGain = feedbackSmoother.getTargetValue();

    reset();
}

void ReverbTank::reset() noexcept
{
    for (auto& side : sections)
        for (auto& section : side)
            section.reset();

    for (auto& filter : lowPasses)
        filter.reset();

    for (auto& filter : highPasses)
        filter.reset();

    feedbackState = {};
}

void ReverbTank::setFeedbackTarget (float feedback) noexcept
{
    feedbackSmoother.setTargetValue (feedback);
}

void ReverbTank::setSizeTarget (float size) noexcept
{
    sizeSmoother.setTargetValue (size);
}

void ReverbTank::setDiffusionTarget (float diffusion) noexcept
{
    diffusionSmoother.setTargetValue (diffusion);
}

void ReverbTank::setWidthTarget (float width) noexcept
{
    widthSmoother.setTargetValue (width);
}

void ReverbTank::setHighCutTarget (float frequencyHz) noexcept
{
    highCutSmoother.setTargetValue (frequencyHz);
}

void ReverbTank::setLowCutTarget (float frequencyHz) noexcept
{
    lowCutSmoother.setTargetValue (frequencyHz);
}

void ReverbTank::updateDelays() noexcept
{
    const auto lengthScale = (float) scale * sizeFactor;

    for (int side = 0; side < numSides; ++side)
    {
        const auto& lengths = side == leftSide ? leftLengths : rightLengths;

        for (int stage = 0; stage < numStages; ++stage)
        {
            auto& section = sections[(size_t) side][(size_t) stage];
            const auto delay = (float) lengths[(size_t) stage] * lengthScale;
            section.setDelay (juce::jlimit (shortestDelaySamples, (float) juce::jmax (1, section.getCapacity()), delay));
        }
    }
}

void ReverbTank::updateCoefficients() noexcept
{
    for (auto& side : sections)
    {
        side[0].setCoefficient (firstStageCoefficient);

        for (int stage = 1; stage < numStages; ++stage)
        {
            const auto magnitude = storedDiffusion * diffusionCoefficientScale;
            side[(size_t) stage].setCoefficient (juce::jlimit (-1.0f, 1.0f, stage % 2 == 0 ? magnitude : -magnitude));
        }
    }
}

void ReverbTank::updateDiffusionMix (float diffusion) noexcept
{
    lastMixDiffusion = diffusion;
    firstStageMixGain = 1.0f - diffusion;
    mixNormalisation = 1.0f / (2.0f - diffusion);
}

void ReverbTank::designLowPasses (float frequencyHz) noexcept
{
    const auto coefficients = Biquad::makeLowPass ((double) sampleRate, (double) frequencyHz, Biquad::butterworthInverseQ);

    for (auto& filter : lowPasses)
        filter.setCoefficients (coefficients);
}

void ReverbTank::designHighPasses (float frequencyHz) noexcept
{
    const auto coefficients = Biquad::makeHighPass ((double) sampleRate, (double) frequencyHz, Biquad::butterworthInverseQ);

    for (auto& filter : highPasses)
        filter.setCoefficients (coefficients);
}

void ReverbTank::processSample (float& left, float& right) noexcept
{
    if (highCutSmoother.isSmoothing())
        designLowPasses (highCutSmoother.getNextValue());

    if (lowCutSmoother.isSmoothing())
        designHighPasses (lowCutSmoother.getNextValue());

    if (feedbackSmoother.isSmoothing() || sizeSmoother.isSmoothing())
    {
        const auto newSizeFactor = sizeFactorFor (sizeSmoother.getNextValue());

        if (newSizeFactor != sizeFactor)
        {
            sizeFactor = juce::jlimit (0.0f, 1.0f, newSizeFactor);
            updateDelays();
        }

        loopGain = feedbackSmoother.getNextValue();
    }

    const auto diffusion = diffusionSmoother.getNextValue();

    if (diffusion != storedDiffusion)
    {
        storedDiffusion = juce::jlimit (0.0f, 1.0f, diffusion);
        updateCoefficients();
    }

    if (diffusion != lastMixDiffusion)
        updateDiffusionMix (diffusion);

    // The feedback crosses sides.
    const auto inLeft = left + loopGain * feedbackState[rightSide];
    const auto inRight = right + loopGain * feedbackState[leftSide];

    auto& leftChain = sections[leftSide];
    auto& rightChain = sections[rightSide];

    const auto firstLeft = leftChain[0].processSample (inLeft);
    const auto firstRight = rightChain[0].processSample (inRight);

    auto chainLeft = inLeft;
    auto chainRight = inRight;

    for (int stage = 1; stage < numStages; ++stage)
    {
        chainLeft = leftChain[(size_t) stage].processSample (chainLeft);
        chainRight = rightChain[(size_t) stage].processSample (chainRight);

        if (stage % 2 == 1)
        {
            chainLeft = -chainLeft;
            chainRight = -chainRight;
        }
    }

    const auto filteredLeft = lowPasses[leftSide].processSample (highPasses[leftSide].processSample (chainLeft));
    const auto filteredRight = lowPasses[rightSide].processSample (highPasses[rightSide].processSample (chainRight));

    feedbackState[leftSide] = filteredLeft;
    feedbackState[rightSide] = filteredRight;

    const auto mixedLeft = (firstLeft * firstStageMixGain + filteredLeft) * mixNormalisation;
    const auto mixedRight = (firstRight * firstStageMixGain + filteredRight) * mixNormalisation;

    const auto crossFeed = 1.0f - widthSmoother.getNextValue();
    left = mixedLeft + crossFeed * mixedRight;
    right = mixedRight + crossFeed * mixedLeft;
}

void ReverbTank::processBlock (float* left, float* right, int numSamples) noexcept
{
    for (int i = 0; i < numSamples; ++i)
        processSample (left[i], right[i]);
}
