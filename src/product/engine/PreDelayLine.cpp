#include "PreDelayLine.h"

#include <new>

void PreDelayLine::prepare (double sampleRate, int minimumCapacity)
{
    const auto requested = juce::jlimit (0, maximumCapacity, minimumCapacity);

    if (capacity < requested)
        reallocate (requested);

    reset();
    delaySmoother.reset (sampleRate, delayRampSeconds);
}

void PreDelayLine::reset() noexcept
{
    if (memory != nullptr)
        std::fill (memory.get(), memory.get() + capacity + 1, 0.0f);

    writePosition = 0;
}

void PreDelayLine::setDelay (float delayInSamples)
{
    if (! std::isfinite (delayInSamples))
        return;

    if (delayInSamples > (float) capacity && capacity < maximumCapacity)
    {
        const auto grown = delayInSamples >= (float) (maximumCapacity - 1)
                               ? maximumCapacity
                               : (int) delayInSamples + 1;
        reallocate (grown);
        reset();
    }

    const auto longest = (float) juce::jmax (0, capacity - 1);
    delaySmoother.setTargetValue (juce::jlimit (0.0f, longest, delayInSamples));
}

void PreDelayLine::reallocate (int newCapacity)
{
    std::unique_ptr<float[]> replacement (new (std::nothrow) float[(size_t) newCapacity + 1]());

    if (replacement == nullptr)
        return;

    memory = std::move (replacement);
    capacity = newCapacity;
    writePosition = 0;
}
