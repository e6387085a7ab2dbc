#pragma once

#include <juce_core/juce_core.h>

#include <vector>

/** One section of the reverb's all-pass chains: a circular memory read at a fractional delay
    (linear interpolation, one guard sample mirroring slot 0), with the transfer function
    (c + z^-D) / (1 + c z^-D) for an integer delay D.
*/
class AllPassFilter
{
public:
    AllPassFilter() = default;
    virtual ~AllPassFilter() = default;

    AllPassFilter (const AllPassFilter&) = default;
    AllPassFilter& operator= (const AllPassFilter&) = default;
    AllPassFilter (AllPassFilter&&) noexcept = default;
    AllPassFilter& operator= (AllPassFilter&&) noexcept = default;

    /** Grows the memory to requiredCapacity samples if it is smaller (it never shrinks), then
        clears it.
    */
    void prepare (int requiredCapacity);

    /** Clears all capacity + 1 samples and rewinds the write position. */
    void reset() noexcept;

    /** Delay in samples, held within 1 ... capacity. */
    void setDelay (float newDelay) noexcept;

    /** Coefficient c, held within -1 ... 1. */
    void setCoefficient (float newCoefficient) noexcept { coefficient = juce::jlimit (-1.0f, 1.0f, newCoefficient); }

    float getDelay() const noexcept { return delay; }
    float getCoefficient() const noexcept { return coefficient; }
    int getCapacity() const noexcept { return capacity; }

    float processSample (float x) noexcept
    {
        if (capacity <= 0)
            return 0.0f;

        auto* data = memory.data();
        const auto readPosition = (float) writePosition - delay;
        auto index = (int) readPosition;

        if ((float) index > readPosition)
            --index;

        const auto fraction = readPosition - (float) index;

        if (index < 0)
            index += capacity;
        else if (index >= capacity)
            index -= capacity;

        const auto delayed = data[index] + fraction * (data[index + 1] - data[index]);
        const auto v = x - coefficient * delayed;
        data[writePosition] = v;

        if (writePosition == 0)
            data[capacity] = data[0];

        if (++writePosition >= capacity)
            writePosition = 0;

        return delayed + coefficient * v;
    }

private:
    float delay = 1.0f;
    int writePosition = 0;
    float coefficient = 0.0f;
    std::vector<float> memory;
    int capacity = 0;
};
