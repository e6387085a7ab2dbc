#include "Biquad.h"
#include "SignalTools.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr double magnitudeTolerance = 2.0e-3;
constexpr std::size_t settleSamples = 24000;
constexpr std::size_t measureSamples = 24000;

/** Steady-state gain of a filter for a sine: output RMS over input RMS after settling. */
double measureGain (Biquad& filter, double frequency)
{
    filter.reset();
    const auto input = measure::sine (frequency, sampleRate, settleSamples + measureSamples);
    std::vector<float> output (input.size());

    for (std::size_t n = 0; n < input.size(); ++n)
        output[n] = filter.processSample (input[n]);

    return measure::rms (output, settleSamples, output.size()) / measure::rms (input, settleSamples, input.size());
}

/** Steady-state gain at Nyquist: the response to +1, -1, +1, ... */
double measureNyquistGain (Biquad& filter)
{
    filter.reset();
    float y = 0.0f;

    for (int n = 0; n < 20000; ++n)
        y = filter.processSample (n % 2 == 0 ? 1.0f : -1.0f);

    return std::abs ((double) y);
}

struct ButterworthCase
{
    double cutoff, frequency;
};

class BiquadLowPass : public ::testing::TestWithParam<ButterworthCase>
{
};

TEST_P (BiquadLowPass, MatchesTheButterworthMagnitude)
{
    const auto& c = GetParam();
    Biquad filter;
    filter.setLowPass (sampleRate, c.cutoff, Biquad::butterworthInverseQ);
    EXPECT_NEAR (measureGain (filter, c.frequency), measure::butterworthLowPassMagnitude (c.frequency, c.cutoff, sampleRate), magnitudeTolerance);
}

class BiquadHighPass : public ::testing::TestWithParam<ButterworthCase>
{
};

TEST_P (BiquadHighPass, MatchesTheButterworthMagnitude)
{
    const auto& c = GetParam();
    Biquad filter;
    filter.setHighPass (sampleRate, c.cutoff, Biquad::butterworthInverseQ);
    EXPECT_NEAR (measureGain (filter, c.frequency), measure::butterworthHighPassMagnitude (c.frequency, c.cutoff, sampleRate), magnitudeTolerance);
}

// The cutoff itself is -3 dB; the others check the slope on both sides.
const auto butterworthCases = ::testing::Values (ButterworthCase{ 1000.0, 1000.0 },
                                                 ButterworthCase{ 1000.0, 250.0 },
                                                 ButterworthCase{ 1000.0, 4000.0 },
                                                 ButterworthCase{ 15000.0, 15000.0 },
                                                 ButterworthCase{ 100.0, 100.0 },
                                                 ButterworthCase{ 100.0, 400.0 });

INSTANTIATE_TEST_SUITE_P (Frequencies, BiquadLowPass, butterworthCases);
INSTANTIATE_TEST_SUITE_P (Frequencies, BiquadHighPass, butterworthCases);

TEST (BiquadDesigns, CutoffIsMinusThreeDecibels)
{
    for (const auto cutoff : { 40.0, 1000.0, 10000.0 })
    {
        Biquad lowPass, highPass;
        lowPass.setLowPass (sampleRate, cutoff, Biquad::butterworthInverseQ);
        highPass.setHighPass (sampleRate, cutoff, Biquad::butterworthInverseQ);
        EXPECT_NEAR (measureGain (lowPass, cutoff), M_SQRT1_2, magnitudeTolerance) << cutoff;
        EXPECT_NEAR (measureGain (highPass, cutoff), M_SQRT1_2, magnitudeTolerance) << cutoff;
    }
}

TEST (BiquadDesigns, HighShelfKeepsDcAndScalesNyquistByTheGainFactor)
{
    constexpr double shelfFrequency = 1600.0;
    constexpr double shelfQ = 0.5;
    constexpr float gainFactor = 0.75f;

    Biquad shelf;
    shelf.setHighShelf (sampleRate, shelfFrequency, shelfQ, gainFactor);

    const auto c = shelf.getCoefficients();
    EXPECT_NEAR ((c.b0 + c.b1 + c.b2) / (1.0f + c.a1 + c.a2), 1.0f, 1.0e-5f) << "DC gain";

    float y = 0.0f;
    shelf.reset();

    for (int n = 0; n < 2000; ++n)
        y = shelf.processSample (1.0f);

    EXPECT_NEAR (y, 1.0f, 1.0e-4f) << "measured DC gain";
    EXPECT_NEAR (measureNyquistGain (shelf), gainFactor, 1.0e-4);
    EXPECT_NEAR (measureGain (shelf, 20000.0), gainFactor, 0.01);
    EXPECT_NEAR (measureGain (shelf, 50.0), 1.0, 0.01);
}

TEST (BiquadFlush, DecayEndsInExactZerosWithoutTinyValues)
{
    Biquad filter;
    filter.setLowPass (sampleRate, 1000.0, Biquad::butterworthInverseQ);

    std::vector<float> output;
    output.push_back (filter.processSample (1.0f));

    for (int n = 0; n < 48000; ++n)
        output.push_back (filter.processSample (0.0f));

    for (const auto y : output)
        ASSERT_FALSE (y != 0.0f && std::abs (y) <= Biquad::flushThreshold) << y;

    // Once the decay is over, nothing but exact zeros comes out.
    const auto lastNonZero = std::find_if (output.rbegin(), output.rend(), [] (float y)
                                           { return y != 0.0f; });
    ASSERT_NE (lastNonZero, output.rend());
    EXPECT_LT (std::distance (lastNonZero, output.rend()), 2000);
}

TEST (BiquadState, ResetClearsTheStateButKeepsTheCoefficients)
{
    Biquad filter;
    filter.setLowPass (sampleRate, 500.0, Biquad::butterworthInverseQ);
    const auto before = filter.getCoefficients();

    for (int n = 0; n < 100; ++n)
        filter.processSample (1.0f);

    filter.reset();
    EXPECT_EQ (filter.processSample (0.0f), 0.0f);
    EXPECT_EQ (filter.getCoefficients().b0, before.b0);
    EXPECT_TRUE (filter.hasBeenUpdated());
}

TEST (BiquadState, UnsetFilterIsSilentAndInvalidDesignsPassThrough)
{
    Biquad unset;
    EXPECT_FALSE (unset.hasBeenUpdated());
    EXPECT_EQ (unset.processSample (1.0f), 0.0f);

    Biquad noRate;
    noRate.setLowPass (0.0, 1000.0, Biquad::butterworthInverseQ);
    EXPECT_EQ (noRate.processSample (0.5f), 0.5f);
}

TEST (BiquadState, CutoffsOutsideTheBandStayStable)
{
    // A 20 kHz cutoff at 22.05 kHz lies above Nyquist; 0 Hz and NaN have no design at all.
    for (const auto cutoff : { 20000.0, 0.0, -5.0, std::numeric_limits<double>::quiet_NaN() })
    {
        Biquad lowPass, highPass;
        lowPass.setLowPass (22050.0, cutoff, Biquad::butterworthInverseQ);
        highPass.setHighPass (22050.0, cutoff, Biquad::butterworthInverseQ);

        float peak = 0.0f;

        for (int n = 0; n < 22050; ++n)
        {
            const auto x = n % 7 == 0 ? 1.0f : -0.1f;
            peak = std::max ({ peak, std::abs (lowPass.processSample (x)), std::abs (highPass.processSample (x)) });
        }

        EXPECT_TRUE (std::isfinite (peak)) << cutoff;
        EXPECT_LT (peak, 10.0f) << cutoff;
    }
}

TEST (BiquadLocking, CoefficientWritesAreNeverSeenHalfDone)
{
    Biquad filter;
    Biquad::Coefficients first, second;
    first.b0 = first.b1 = first.b2 = first.a1 = first.a2 = 1.0f;
    second.b0 = second.b1 = second.b2 = second.a1 = second.a2 = 2.0f;
    filter.setCoefficients (first);

    std::atomic<bool> done{ false };
    std::thread writer ([&]
                        {
                            for (int i = 0; i < 200000; ++i)
                                filter.setCoefficients (i % 2 == 0 ? second : first);

                            done = true; });

    int torn = 0;

    while (! done)
    {
        const auto c = filter.getCoefficients();

        if (! (c.b0 == c.b1 && c.b1 == c.b2 && c.b2 == c.a1 && c.a1 == c.a2))
            ++torn;
    }

    writer.join();
    EXPECT_EQ (torn, 0);
}
} // namespace
