#include "LinearSmoother.h"

void LinearSmoother::reset (double sampleRate, double rampLengthSeconds) noexcept
{
    const auto steps = std::floor (rampLengthSeconds * sampleRate);

    // A missing sample rate or a nonsensical time gives no ramp at all.
    if (! (steps > 0.0))
        reset (0);
    else
        reset (steps >= (double) std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                                 : (int) steps);
}

void LinearSmoother::reset (int numSteps) noexcept
{
    rampLengthInSteps = numSteps;
    Base::reset (numSteps);
}

void LinearSmoother::applyGain (juce::AudioBuffer<float>& buffer, int numSamples) noexcept
{
    numSamples = juce::jmax (0, numSamples);
    const auto numChannels = buffer.getNumChannels();
    const auto samplesInBuffer = juce::jmin (numSamples, buffer.getNumSamples());

    if (! isSmoothing())
    {
        const auto gain = getCurrentValue();

        if (buffer.hasBeenCleared() || isApproximatelyEqual (gain, 1.0f))
            return;

        const auto silence = isApproximatelyEqual (gain, 0.0f);

        for (int channel = 0; channel < numChannels; ++channel)
        {
            auto* samples = buffer.getWritePointer (channel);

            if (silence)
                juce::FloatVectorOperations::clear (samples, samplesInBuffer);
            else
                juce::FloatVectorOperations::multiply (samples, gain, samplesInBuffer);
        }

        return;
    }

    auto* const* channels = buffer.getArrayOfWritePointers();

    for (int i = 0; i < numSamples; ++i)
    {
        const auto gain = getNextValue();

        if (i < samplesInBuffer)
            for (int channel = 0; channel < numChannels; ++channel)
                channels[channel][i] *= gain;
    }
}
