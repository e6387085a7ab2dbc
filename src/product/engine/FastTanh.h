#pragma once

#include <juce_dsp/juce_dsp.h>

/** The loop saturator's tanh: the framework's rational approximation.

    The approximation is only close to tanh within ±5; beyond that it rises again
    without bound, so the argument is held there and the saturator stays bounded.
*/
struct FastTanh
{
    static constexpr float validRange = 5.0f;

    static float process (float x) noexcept
    {
        return juce::dsp::FastMathApproximations::tanh (juce::jlimit (-validRange, validRange, x));
    }
};
