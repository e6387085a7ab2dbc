#include "ModulationStage.h"

namespace
{
constexpr std::array<double, ModulationStage::tapsPerSide> lfoInitialPhases{ 0.0, 0.11, 0.25, 0.3 };
constexpr float halfPi = 1.5707964f;
constexpr float secondsPerMs = 0.001f;
constexpr float depthOutputGainLimit = 0.5f;
constexpr float outputGainDivisor = 0.25f; // the four taps of a group share one output

// The longest tap (19.666667 ms) must stay inside the memory at any sample rate.
constexpr float longestDelayMs = ModulationStage::baseDelayMs + ModulationStage::depthScaleMs * 2.0f;
constexpr float maximumSamplesPerMs = (float) (ModulationStage::delayLength - 2) / longestDelayMs;
} // namespace

ModulationStage::ModulationStage()
    : delayMemory ((size_t) numDelayChannels * (delayLength + 1), 0.0f),
      lfos{ SineTableOscillator (lfoInitialPhases[0]),
            SineTableOscillator (lfoInitialPhases[1]),
            SineTableOscillator (lfoInitialPhases[2]),
            SineTableOscillator (lfoInitialPhases[3]) },
      rateRange (rateStartHz, rateEndHz, 0.0f, rateSkew)
{
}

void ModulationStage::prepare (int maximumBlockSize, double newSampleRate)
{
    juce::ignoreUnused (maximumBlockSize);

    if (! (std::isfinite (newSampleRate) && newSampleRate > 0.0))
        return;

    sampleRate = (float) newSampleRate;
    samplesPerMs = juce::jmin (sampleRate * secondsPerMs, maximumSamplesPerMs);

    for (auto& filter : tapFilters)
        filter.prepare (Biquad::makeHighShelf ((double) sampleRate, tapShelfFrequencyHz, tapShelfQ, tapShelfGain));

    std::fill (delayMemory.begin(), delayMemory.end(), 0.0f);
    writePosition = 0;

    for (auto& lfo : lfos)
        lfo.setSampleRate (newSampleRate);

    rateControlSmoother.reset (newSampleRate, rateRampSeconds);
    depthSmoother.reset (newSampleRate, depthRampSeconds);
    widthSmoother.reset (newSampleRate, widthRampSeconds);
}

void ModulationStage::reset() noexcept
{
    std::fill (delayMemory.begin(), delayMemory.end(), 0.0f);
    writePosition = 0;

    for (auto& filter : tapFilters)
        filter.reset();
}

void ModulationStage::setRateControlTarget (float rateControl) noexcept
{
    rateControlSmoother.setTargetValue (juce::jlimit (0.0f, 1.0f, rateControl));
}

void ModulationStage::setDepthTarget (float depth) noexcept
{
    // Beyond 0 ... 1 the depth curve would send taps outside the delay memory.
    depthSmoother.setTargetValue (juce::jlimit (0.0f, 1.0f, depth));
}

void ModulationStage::setWidthTarget (float width) noexcept
{
    widthSmoother.setTargetValue (width);
}

void ModulationStage::updateRate (float rateControl) noexcept
{
    lastRateControl = rateControl;
    const auto rate = rateRange.convertFrom0to1 (rateControl);

    for (int k = tapsPerSide - 1; k >= 0; --k)
        lfos[(size_t) k].setFrequency ((double) (rate * lfoMultipliers[(size_t) k]));
}

void ModulationStage::updatePlacement (float width) noexcept
{
    lastWidth = width;
    const auto leftAngle = (width * -0.5f + 0.5f) * halfPi;
    const auto rightAngle = (width * 0.5f + 0.5f) * halfPi;
    leftGroupToLeft = std::cos (leftAngle);
    leftGroupToRight = std::sin (leftAngle);
    rightGroupToLeft = std::cos (rightAngle);
    rightGroupToRight = std::sin (rightAngle);
}

float ModulationStage::readTap (int channelIndex, float newestPosition, float delaySamples) noexcept
{
    const auto readPosition = newestPosition - delaySamples;
    auto index = (int) readPosition;

    if ((float) index > readPosition)
        --index;

    const auto fraction = readPosition - (float) index;

    if (index < 0)
        index += delayLength;
    else if (index >= delayLength)
        index -= delayLength;

    const auto* data = channel (channelIndex);
    return data[index] + fraction * (data[index + 1] - data[index]);
}

void ModulationStage::processSample (float& left, float& right) noexcept
{
    for (int c = 0; c < numDelayChannels; c += 2)
    {
        channel (c)[writePosition] = left;
        channel (c + 1)[writePosition] = right;
    }

    if (writePosition == 0)
        for (int c = 0; c < numDelayChannels; ++c)
            channel (c)[delayLength] = channel (c)[0];

    if (++writePosition >= delayLength)
        writePosition = 0;

    const auto rateControl = rateControlSmoother.getNextValue();
    const auto depth = depthSmoother.getNextValue();
    const auto width = widthSmoother.getNextValue();

    const auto depthCurve = (2.0f - depth) * depth * depth;

    if (rateControl != lastRateControl)
        updateRate (rateControl);

    if (width != lastWidth)
        updatePlacement (width);

    const auto baseMs = depthCurve * depthScaleMs + baseDelayMs;
    std::array<float, tapsPerSide> rightGroupDelays, leftGroupDelays;

    for (int k = tapsPerSide - 1; k >= 0; --k)
    {
        const auto excursion = (lfos[(size_t) k].getNextValue() * depthCurve) * depthScaleMs;
        rightGroupDelays[(size_t) k] = (baseMs - excursion) * samplesPerMs;
        leftGroupDelays[(size_t) k] = (baseMs + excursion) * samplesPerMs;
    }

    auto newest = (float) (writePosition - 1);

    if (newest < 0.0f)
        newest += (float) delayLength;

    float outLeft = 0.0f, outRight = 0.0f;

    for (int k = 0; k < tapsPerSide; ++k)
    {
        auto tap = readTap (2 * k, newest, leftGroupDelays[(size_t) k]);

        if (k == 0)
            tap = tapFilters[0].processSample (tap);

        outLeft += leftGroupToLeft * tap;
        outRight += leftGroupToRight * tap;
    }

    for (int k = 0; k < tapsPerSide; ++k)
    {
        auto tap = readTap (2 * k + 1, newest, rightGroupDelays[(size_t) k]);

        if (k == 1)
            tap = tapFilters[1].processSample (tap);

        outLeft += rightGroupToLeft * tap;
        outRight += rightGroupToRight * tap;
    }

    const auto outputGain = (juce::jmin (depth, depthOutputGainLimit) * 2.0f + 1.0f) * outputGainDivisor;
    left = outLeft * outputGain;
    right = outRight * outputGain;
}

void ModulationStage::processBlock (float* left, float* right, int numSamples) noexcept
{
    for (int i = 0; i < numSamples; ++i)
        processSample (left[i], right[i]);
}
