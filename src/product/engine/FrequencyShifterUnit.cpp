#include "FrequencyShifterUnit.h"

#include <cmath>

namespace
{
// Pole values of the two phase-splitting paths; path 2 leads path 1 by 90° across the band.
constexpr FirstOrderAllPassPath::Poles path1Poles{ 0.3609, 2.7412, 11.1573, 44.7581, 179.6242, 798.4578 };
constexpr FirstOrderAllPassPath::Poles path2Poles{ 1.2524, 5.5671, 22.3423, 89.6271, 364.7914, 2770.1114 };

constexpr double sinePhaseCycles = 0.0;
constexpr double cosinePhaseCycles = 0.25;

// At very low rates the low-pass corner would fall to or below 0 Hz; keep it in the band.
constexpr float minLowPassShareOfRate = 0.45f;
} // namespace

FrequencyShifterUnit::FrequencyShifterUnit() noexcept
    : sine (sinePhaseCycles), cosine (cosinePhaseCycles)
{
}

void FrequencyShifterUnit::prepare (double newSampleRate) noexcept
{
    const auto rate = (float) newSampleRate;
    path1.reset();
    path2.reset();

    if (rate != designSampleRate && rate > 0.0f)
    {
        designSampleRate = rate;
        path1.design (path1Poles, (double) designSampleRate);
        path2.design (path2Poles, (double) designSampleRate);
    }

    if (rate != sampleRate && rate > 0.0f)
    {
        sampleRate = rate;

        for (auto* oscillator : { &sine, &cosine })
        {
            oscillator->setSampleRate ((double) sampleRate);
            oscillator->reset();
            oscillator->setFrequency ((double) shiftFrequency);
        }

        designFilters();
    }

    reset();
}

void FrequencyShifterUnit::designFilters() noexcept
{
    const auto rate = (double) sampleRate;
    const auto lowPassHz = std::max (sampleRate * 0.5f - outputLowPassBelowNyquistHz, sampleRate * minLowPassShareOfRate);
    outputHighPass.setHighPass (rate, (double) outputHighPassHz, Biquad::butterworthInverseQ);
    outputLowPass.setLowPass (rate, (double) lowPassHz, Biquad::butterworthInverseQ);
}

void FrequencyShifterUnit::reset() noexcept
{
    path1.reset();
    path2.reset();
    outputHighPass.reset();
    outputLowPass.reset();
    sine.reset();
    cosine.reset();
}

void FrequencyShifterUnit::setShiftFrequency (float hertz) noexcept
{
    if (! std::isfinite (hertz) || hertz == shiftFrequency)
        return;

    shiftFrequency = hertz;
    sine.setFrequency ((double) hertz);
    cosine.setFrequency ((double) hertz);
}
