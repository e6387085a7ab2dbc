#include "BranchCompressor.h"
#include "FastTanh.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr double sampleRate = 44100.0;
constexpr double twoPi = 6.283185307179586;

// -6 dB as a linear gain, derived in double precision.
const double thresholdGain = std::pow (10.0, -6.0 / 20.0);

/** Feeds a constant stereo pair long enough for the envelopes to settle; returns the output. */
std::pair<float, float> settle (BranchCompressor& compressor, float left, float right)
{
    auto l = 0.0f, r = 0.0f;

    for (int n = 0; n < (int) sampleRate * 3; ++n)
    {
        l = left;
        r = right;
        compressor.processSample (l, r);
    }

    return { l, r };
}
} // namespace

TEST (BranchCompressor, ThresholdAndTimeConstantsMatchTheirDefinitions)
{
    BranchCompressor compressor;
    compressor.prepare (sampleRate);

    EXPECT_NEAR (compressor.getThresholdGain(), thresholdGain, 1.0e-7);
    // One-pole coefficients whose time constant is the attack or release time over 2π.
    EXPECT_NEAR (compressor.getAttackCoefficient(), std::exp (-twoPi / (sampleRate * 0.010)), 1.0e-6);
    EXPECT_NEAR (compressor.getReleaseCoefficient(), std::exp (-twoPi / (sampleRate * 0.100)), 1.0e-6);
}

TEST (BranchCompressor, EnvelopeAttacksAndReleasesOverTheirTimes)
{
    BranchCompressor compressor;
    compressor.prepare (sampleRate);
    auto l = 0.0f, r = 0.0f;
    const auto attackSamples = (int) (sampleRate * 0.010);
    const auto releaseSamples = (int) (sampleRate * 0.100);

    for (int n = 0; n < attackSamples; ++n)
    {
        l = r = 1.0f;
        compressor.processSample (l, r);
    }

    // After one attack time the envelope has covered 1 - e^-2π of a unit step.
    EXPECT_NEAR (compressor.getEnvelope (0), 1.0 - std::exp (-twoPi), 1.0e-4);

    settle (compressor, 1.0f, 1.0f);

    for (int n = 0; n < releaseSamples; ++n)
    {
        l = r = 0.0f;
        compressor.processSample (l, r);
    }

    EXPECT_NEAR (compressor.getEnvelope (0), std::exp (-twoPi), 1.0e-4);
    EXPECT_EQ (compressor.getEnvelope (0), compressor.getEnvelope (1));
}

class BranchCompressorLevel : public ::testing::TestWithParam<float>
{
};

TEST_P (BranchCompressorLevel, SteadyGainFollowsTheTwoToOneCurve)
{
    const auto level = GetParam();
    BranchCompressor compressor;
    compressor.prepare (sampleRate);
    const auto [l, r] = settle (compressor, level, -level);

    // Below the threshold nothing changes; above it, output level = threshold × (in / threshold)^(1/2).
    const auto expected = level <= thresholdGain ? (double) level : thresholdGain * std::sqrt (level / thresholdGain);
    constexpr double relativeTolerance = 1.0e-4;
    EXPECT_NEAR (l, expected, expected * relativeTolerance) << level;
    EXPECT_NEAR (r, -expected, expected * relativeTolerance) << level;
}

INSTANTIATE_TEST_SUITE_P (Levels, BranchCompressorLevel, ::testing::Values (0.1f, 0.25f, 0.5f, 0.6f, 1.0f, 2.0f, 8.0f));

TEST (BranchCompressor, GainIsExactlyOneAtOrBelowTheThreshold)
{
    BranchCompressor compressor;
    compressor.prepare (sampleRate);
    EXPECT_EQ (compressor.computeGain (0.0f), 1.0f);
    EXPECT_EQ (compressor.computeGain (compressor.getThresholdGain()), 1.0f);
    EXPECT_LT (compressor.computeGain (std::nextafter (compressor.getThresholdGain(), 1.0f)), 1.0f);
}

TEST (BranchCompressor, DetectionIsStereoLinked)
{
    BranchCompressor compressor;
    compressor.prepare (sampleRate);
    const auto [l, r] = settle (compressor, 2.0f, 0.1f);
    const auto gain = std::pow (2.0 / thresholdGain, -0.5);
    EXPECT_NEAR (l, 2.0 * gain, 1.0e-4);
    EXPECT_NEAR (r, 0.1 * gain, 1.0e-5);
}

TEST (BranchCompressor, ResetAndPrepareClearTheEnvelopes)
{
    BranchCompressor compressor;
    compressor.prepare (sampleRate);
    settle (compressor, 1.0f, 1.0f);
    compressor.reset();
    EXPECT_EQ (compressor.getEnvelope (0), 0.0f);

    settle (compressor, 1.0f, 1.0f);
    compressor.prepare (48000.0);
    EXPECT_EQ (compressor.getEnvelope (1), 0.0f);
    EXPECT_NEAR (compressor.getAttackCoefficient(), std::exp (-twoPi / (48000.0 * 0.010)), 1.0e-6);
}

TEST (BranchCompressor, UnpreparedOrBadRateFollowsThePeakInstantly)
{
    BranchCompressor compressor;
    compressor.prepare (0.0);
    auto l = 2.0f, r = 2.0f;
    compressor.processSample (l, r);
    EXPECT_TRUE (std::isfinite (l));
    EXPECT_NEAR (compressor.getEnvelope (0), 2.0f, 1.0e-6f);
}

//==============================================================================
TEST (FastTanh, MatchesTanhInItsRangeAndStaysBoundedBeyond)
{
    for (auto x = -5.0f; x <= 5.0f; x += 0.01f)
        ASSERT_NEAR (FastTanh::process (x), std::tanh (x), 2.0e-4) << x;

    // The bare rational approximation rises past 1 outside ±5 (to about x / 28).
    constexpr float bound = 1.0001f;

    for (auto x = 5.0f; x < 1.0e30f; x *= 1.7f)
    {
        ASSERT_LE (std::abs (FastTanh::process (x)), bound) << x;
        ASSERT_LE (std::abs (FastTanh::process (-x)), bound) << x;
    }
}
