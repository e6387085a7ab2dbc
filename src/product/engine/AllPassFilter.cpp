#include "AllPassFilter.h"

namespace
{
constexpr float minimumDelay = 1.0f;
}

void AllPassFilter::prepare (int requiredCapacity)
{
    if (requiredCapacity > capacity)
    {
        memory.assign ((size_t) requiredCapacity + 1, 0.0f);
        capacity = requiredCapacity;
    }

    setDelay (delay);
    reset();
}

void AllPassFilter::reset() noexcept
{
    std::fill (memory.begin(), memory.end(), 0.0f);
    writePosition = 0;
}

void AllPassFilter::setDelay (float newDelay) noexcept
{
    // Reads stay inside the memory for any delay between one sample and the capacity (a value
    // that is not a number counts as the shortest delay).
    if (! (newDelay >= minimumDelay))
        newDelay = minimumDelay;

    delay = capacity > 0 ? juce::jmin ((float) capacity, newDelay) : newDelay;
}
