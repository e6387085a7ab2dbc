#pragma once

#include "LinearSmoother.h"

#include <memory>

/** A circular delay line with a linearly interpolated, smoothly ramped delay time. One guard
    sample past the end mirrors slot 0 so that the interpolation never needs a wrap test.
*/
class PreDelayLine
{
public:
    static constexpr double delayRampSeconds = 0.01;

    /** Longest line the delay may grow to (about 11.6 minutes at 192 kHz); longer requests are
        held at the longest delay this allows.
    */
    static constexpr int maximumCapacity = 1 << 27;

    PreDelayLine() = default;

    /** Makes the capacity at least minimumCapacity samples (never shrinking), clears the
        memory, sets the delay ramp to 10 ms and jumps to the target delay.
    */
    void prepare (double sampleRate, int minimumCapacity);

    /** Clears all capacity + 1 samples; the delay ramp is left alone. */
    void reset() noexcept;

    /** New target delay in samples. A delay beyond the capacity grows the line (this allocates
        and clears it); the target is kept within 0 ... capacity - 1.
    */
    void setDelay (float delayInSamples);

    float processSample (float x) noexcept
    {
        if (capacity <= 0)
            return 0.0f;

        auto* data = memory.get();
        data[writePosition] = x * inputGain;
        data[capacity] = data[0];

        const auto delay = delaySmoother.getNextValue();
        float y;

        if (delay <= 0.0f)
        {
            y = data[writePosition];
        }
        else
        {
            auto readPosition = (float) writePosition - delay;

            // Two separate tests: adding the capacity to a tiny negative position may round up
            // to the capacity itself.
            if (readPosition < 0.0f)
                readPosition += (float) capacity;

            if (readPosition >= (float) capacity)
                readPosition -= (float) capacity;

            const auto index = (int) readPosition;
            const auto fraction = readPosition - (float) index;
            y = data[index] + fraction * (data[index + 1] - data[index]);
        }

        lastOutput = y;

        if (++writePosition >= capacity)
            writePosition = 0;

        return y;
    }

    int getCapacity() const noexcept { return capacity; }
    float getLastOutput() const noexcept { return lastOutput; }
    float getTargetDelay() const noexcept { return delaySmoother.getTargetValue(); }
    float getCurrentDelay() const noexcept { return delaySmoother.getCurrentValue(); }
    bool isDelayRamping() const noexcept { return delaySmoother.isSmoothing(); }

private:
    /** Replaces the memory by a cleared one of newCapacity + 1 samples; keeps the old one if
        the allocation fails.
    */
    void reallocate (int newCapacity);

    std::unique_ptr<float[]> memory;
    int writePosition = 0;
    float inputGain = 1.0f;
    int capacity = 0;
    float lastOutput = 0.0f;
    LinearSmoother delaySmoother;

    JUCE_DECLARE_NON_COPYABLE (PreDelayLine)
};
