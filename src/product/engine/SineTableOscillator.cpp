#include "SineTableOscillator.h"

#include <cmath>

namespace
{
constexpr float radiansPerTableStep = 0.00019174760f; // 2 pi / 32768
constexpr double tableLength = (double) SineTableOscillator::tableSize;

SineTableOscillator::Table makeTable() noexcept
{
    SineTableOscillator::Table result{};

    for (int i = 0; i < SineTableOscillator::tableSize; ++i)
        result[(size_t) i] = std::sin ((float) i * radiansPerTableStep);

    result[(size_t) SineTableOscillator::tableSize] = result[0];
    return result;
}

double reduceToOneCycle (double cycles) noexcept
{
    if (! std::isfinite (cycles))
        return 0.0;

    auto reduced = (float) cycles;

    // Whole cycles are dropped; negative phases are brought up the same way so that the
    // table index is never negative.
    if (reduced >= 1.0f || reduced < 0.0f)
        reduced = reduced - std::floor (reduced);

    if (reduced >= 1.0f)
        reduced = 0.0f;

    return (double) reduced;
}
} // namespace

const SineTableOscillator::Table& SineTableOscillator::getTable() noexcept
{
    static const Table sharedTable = makeTable();
    return sharedTable;
}

SineTableOscillator::SineTableOscillator (double initialPhaseCycles) noexcept
    : table (getTable().data()),
      initialPhase (reduceToOneCycle (initialPhaseCycles))
{
    reset();
}

void SineTableOscillator::reset() noexcept
{
    phase = initialPhase * tableLength;
}

void SineTableOscillator::setSampleRate (double newSampleRate) noexcept
{
    if (! std::isfinite (newSampleRate) || newSampleRate == sampleRate)
        return;

    sampleRate = newSampleRate;

    if (sampleRate > 0.0)
        updateIncrement();
}

void SineTableOscillator::setFrequency (double newFrequency) noexcept
{
    if (! std::isfinite (newFrequency) || newFrequency == frequency)
        return;

    frequency = newFrequency;

    if (sampleRate > 0.0)
        updateIncrement();
}

void SineTableOscillator::updateIncrement() noexcept
{
    increment = frequency * tableLength / sampleRate;
}

double SineTableOscillator::wrapUpwardsOverflow (double p) noexcept
{
    p -= tableLength;
    return p >= tableLength ? std::fmod (p, tableLength) : p;
}

double SineTableOscillator::wrapNegative (double p) noexcept
{
    p += tableLength;

    if (p < 0.0)
        p = tableLength + std::fmod (p, tableLength);

    // A tiny negative phase may round up to a whole table length.
    return p >= tableLength ? 0.0 : p;
}
