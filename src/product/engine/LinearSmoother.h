#pragma once

#include "FloatComparison.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** The linear smoother every engine gain and control ramps with.

    This is the framework's linear juce::SmoothedValue<float>, with two rules replaced where
    this JUCE version differs from what the engine relies on: a new target that is only
    approximately equal to the current one leaves a running ramp alone (the framework compares
    exactly), and the buffer gain treats gains approximately 1 or 0 as such.
*/
class LinearSmoother : private juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear>
{
    using Base = juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear>;

public:
    LinearSmoother() noexcept = default;
    explicit LinearSmoother (float initialValue) noexcept : Base (initialValue) {}

    using Base::getCurrentValue;
    using Base::getNextValue;
    using Base::getTargetValue;
    using Base::isSmoothing;
    using Base::setCurrentAndTargetValue;

    /** Ramp length = floor (seconds x sample rate) steps; the value jumps to the target. */
    void reset (double sampleRate, double rampLengthSeconds) noexcept;

    /** Ramp length in steps; the value jumps to the target. */
    void reset (int numSteps) noexcept;

    /** Starts a linear ramp towards the new value unless it approximately equals the current
        target; with a ramp length of 0 steps the value jumps. A value that is not finite is
        ignored, so a broken control can never poison what the smoother feeds.
    */
    void setTargetValue (float newValue) noexcept
    {
        if (! std::isfinite (newValue) || isApproximatelyEqual (newValue, getTargetValue()))
            return;

        Base::setTargetValue (newValue);
    }

    int getRampLengthInSteps() const noexcept { return rampLengthInSteps; }

    /** Applies the ramp to the first numSamples samples of every channel. A smoother that is
        not ramping scales by its current value (nothing for a gain approximately 1 or a clear
        buffer; a gain approximately 0 zeroes the samples). A ramping smoother advances by
        numSamples steps even when the buffer has no channels.
    */
    void applyGain (juce::AudioBuffer<float>& buffer, int numSamples) noexcept;

private:
    int rampLengthInSteps = 0;
};
