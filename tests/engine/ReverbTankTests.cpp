#include "ReverbTank.h"
#include "SignalTools.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
constexpr double rate44k = 44100.0;
constexpr float fullSize = 0.9f; // size 100 %
constexpr float sizeFactorAtFullSize = 0.901f;

// Stage lengths at 44.1 kHz, summed over the six chained stages of each side.
constexpr double leftChainLength = 1217 + 2011 + 2531 + 3739 + 5279 + 5683;
constexpr double rightChainLength = 1471 + 1753 + 2741 + 3659 + 5113 + 7621;

struct TankSettings
{
    float feedback = 0.0f;
    float size = fullSize;
    float diffusion = 0.0f;
    float width = 1.0f;
    float lowCut = 20.0f;
    float highCut = 20000.0f;
};

/** A tank prepared with its settings in place (prepare jumps every smoother). */
struct Tank
{
    Tank (double sampleRate, const TankSettings& settings)
    {
        tank.setFeedbackTarget (settings.feedback);
        tank.setSizeTarget (settings.size);
        tank.setDiffusionTarget (settings.diffusion);
        tank.setWidthTarget (settings.width);
        tank.setLowCutTarget (settings.lowCut);
        tank.setHighCutTarget (settings.highCut);
        tank.prepare (sampleRate);
    }

    void run (std::vector<float>& left, std::vector<float>& right)
    {
        tank.processBlock (left.data(), right.data(), (int) left.size());
    }

    ReverbTank tank;
};

TEST (ReverbTank, DelaysInSecondsDoNotDependOnTheSampleRate)
{
    constexpr double toleranceSeconds = 1.0e-4;

    for (const auto sampleRate : { 44100.0, 96000.0 })
    {
        for (const auto side : { 0, 1 })
        {
            Tank t (sampleRate, {});
            const auto length = (std::size_t) (0.6 * sampleRate);
            auto left = side == 0 ? measure::impulse (length) : std::vector<float> (length, 0.0f);
            auto right = side == 1 ? measure::impulse (length) : std::vector<float> (length, 0.0f);
            t.run (left, right);

            const auto& response = side == 0 ? left : right;
            const auto chainLength = side == 0 ? leftChainLength : rightChainLength;
            const auto expectedSeconds = (double) sizeFactorAtFullSize * chainLength / rate44k;
            const auto peak = measure::peakIndex (response, (std::size_t) (0.2 * sampleRate), length);

            EXPECT_NEAR ((double) peak / sampleRate, expectedSeconds, toleranceSeconds) << sampleRate << " Hz, side " << side;
        }
    }
}

TEST (ReverbTank, ZeroDiffusionTurnsTheChainIntoPlainDelays)
{
    TankSettings settings;
    settings.lowCut = 1.0f; // keeps the loop high-pass from eating the delayed impulse
    const auto length = (std::size_t) (0.5 * rate44k);
    const auto chainDelay = (std::size_t) std::lround ((double) sizeFactorAtFullSize * leftChainLength);

    Tank plain (rate44k, settings);
    auto left = measure::impulse (length);
    std::vector<float> right (length, 0.0f);
    plain.run (left, right);

    // The first section answers at once with its coefficient; the mix halves it.
    EXPECT_FLOAT_EQ (left[0], -0.35f);

    // Between the first section's decay and the chain's arrival there is nothing.
    EXPECT_LT (measure::peakMagnitude (left, 1500, chainDelay - 20), 1.0e-9);

    // The chain passes the whole impulse, negated three times, into (a + f) / 2.
    EXPECT_NEAR (measure::sum (left, chainDelay - 10, chainDelay + 10), -0.5, 0.01);

    settings.diffusion = 1.0f;
    Tank diffuse (rate44k, settings);
    auto diffuseLeft = measure::impulse (length);
    std::vector<float> diffuseRight (length, 0.0f);
    diffuse.run (diffuseLeft, diffuseRight);
    EXPECT_GT (measure::energy (diffuseLeft, 1500, chainDelay - 20), 1.0e-3) << "diffusion spreads the impulse";
}

class TankLoopGain : public ::testing::TestWithParam<float>
{
};

TEST_P (TankLoopGain, EnergyChangesByTheLoopGainPerRoundTrip)
{
    // With diffusion 0 a round trip (left chain then right chain) is a plain delay with gain
    // g^2, so windows one round trip long lose g^4 of their energy each.
    const auto loopGain = GetParam();
    TankSettings settings;
    settings.feedback = loopGain;

    const auto roundTrip = (double) sizeFactorAtFullSize * (leftChainLength + rightChainLength);
    const auto window = (std::size_t) std::lround (roundTrip);
    const auto start = (std::size_t) (0.2 * rate44k);
    const auto length = start + 5 * window;

    // A short 200 Hz burst: low enough that the interpolating delays and loop filters leave
    // it alone.
    const auto burstLength = (std::size_t) (0.1 * rate44k);
    std::vector<float> left (length, 0.0f), right (length, 0.0f);

    for (std::size_t n = 0; n < burstLength; ++n)
        left[n] = (float) (std::sin (measure::twoPi * 200.0 * (double) n / rate44k)
                           * (0.5 - 0.5 * std::cos (measure::twoPi * (double) n / (double) burstLength)));

    Tank t (rate44k, settings);
    t.run (left, right);

    auto windowEnergy = [&] (int k)
    {
        const auto begin = start + (std::size_t) std::lround ((double) k * roundTrip);
        return measure::energy (left, begin, begin + window);
    };

    const auto first = windowEnergy (1);
    ASSERT_GT (first, 1.0e-3);

    for (int k = 2; k <= 4; ++k)
    {
        const auto expectedRatio = std::pow ((double) loopGain, 4.0 * (double) (k - 1));
        EXPECT_NEAR (windowEnergy (k) / first, expectedRatio, 0.02 * expectedRatio + 1.0e-6) << "round trip " << k;
    }

    EXPECT_LT (measure::peakMagnitude (left, start, length), 1.0) << "never grows";
}

INSTANTIATE_TEST_SUITE_P (Feedback, TankLoopGain, ::testing::Values (0.9f, 1.0f, 0.5f));

TEST (ReverbTank, FrozenLoopSustainsADiffuseTailWithinASmallBound)
{
    // A loop gain of 1 with open loop filters keeps a low-frequency tail at its level; only
    // the interpolating delays and the filters take a little, and nothing may build up.
    TankSettings settings;
    settings.feedback = 1.0f;
    settings.diffusion = 0.8f;

    const auto second = (std::size_t) rate44k;
    const auto burstLength = second / 4;
    std::vector<float> left (6 * second, 0.0f), right (6 * second, 0.0f);

    for (std::size_t n = 0; n < burstLength; ++n)
    {
        const auto t = (double) n / rate44k;
        const auto envelope = 0.5 - 0.5 * std::cos (measure::twoPi * (double) n / (double) burstLength);
        left[n] = (float) (0.25 * envelope * (std::sin (measure::twoPi * 110.0 * t) + std::sin (measure::twoPi * 290.0 * t)));
        right[n] = (float) (0.25 * envelope * (std::sin (measure::twoPi * 170.0 * t) + std::sin (measure::twoPi * 230.0 * t)));
    }

    Tank t (rate44k, settings);
    t.run (left, right);

    auto energyOfSecond = [&] (std::size_t s)
    {
        return measure::energy (left, s * second, (s + 1) * second) + measure::energy (right, s * second, (s + 1) * second);
    };

    const auto reference = energyOfSecond (1);
    ASSERT_GT (reference, 1.0);

    for (std::size_t s = 2; s < 6; ++s)
    {
        EXPECT_GT (energyOfSecond (s) / reference, 0.9) << "second " << s;
        EXPECT_LT (energyOfSecond (s) / reference, 1.1) << "second " << s;
    }
}

TEST (ReverbTank, ResetLeavesNothingBehind)
{
    TankSettings settings;
    settings.feedback = 0.9f;
    settings.diffusion = 0.7f;
    settings.width = 0.3f;
    Tank t (rate44k, settings);

    std::mt19937 random (3);
    std::uniform_real_distribution<float> noise (-1.0f, 1.0f);

    for (int n = 0; n < 44100; ++n)
    {
        float left = noise (random), right = noise (random);
        t.tank.processSample (left, right);
    }

    t.tank.reset();

    for (int n = 0; n < 2 * 44100; ++n)
    {
        float left = 0.0f, right = 0.0f;
        t.tank.processSample (left, right);
        ASSERT_EQ (left, 0.0f) << n;
        ASSERT_EQ (right, 0.0f) << n;
    }
}

TEST (ReverbTank, ZeroWidthGivesTheSameSumOnBothSides)
{
    TankSettings settings;
    settings.width = 0.0f;
    settings.diffusion = 0.6f;
    settings.feedback = 0.5f;
    Tank t (rate44k, settings);

    std::mt19937 random (11);
    std::uniform_real_distribution<float> noise (-1.0f, 1.0f);
    std::vector<float> left (20000), right (20000);

    for (auto& x : left)
        x = noise (random);

    t.run (left, right);
    EXPECT_EQ (left, right);
    EXPECT_GT (measure::energy (left, 0, left.size()), 1.0);
}

TEST (ReverbTank, SizeMapsOntoTheSectionDelays)
{
    struct Case
    {
        float size;
        int side, stage;
        float delay;
    };

    // Size 100 % scales by 0.901; size 0 by 0.01, and a delay never falls below one sample.
    for (const auto& c : { Case{ fullSize, 1, 6, 7621.0f * 0.901f },
                           Case{ fullSize, 0, 1, 1217.0f * 0.901f },
                           Case{ 0.0f, 0, 0, 1.0f },
                           Case{ 0.0f, 1, 6, 76.21f } })
    {
        TankSettings settings;
        settings.size = c.size;
        Tank t (rate44k, settings);
        EXPECT_NEAR (t.tank.getSection (c.side, c.stage).getDelay(), c.delay, 0.01f) << c.size << ", " << c.side << ", " << c.stage;
    }
}

TEST (ReverbTank, HighCutChangeRampsTheLoopLowPassOverTenMilliseconds)
{
    // 4900 Hz has a period of exactly 9 samples at 44.1 kHz, so the RMS over whole periods
    // gives the amplitude without sampling error.
    constexpr double toneHz = 4900.0;
    constexpr std::size_t period = 9;
    constexpr float fromHz = 20000.0f, toHz = 100.0f;
    constexpr double rampMs = 10.0;
    // The filter lags its moving cutoff a little where the gain falls fastest.
    constexpr double quasiStaticTolerance = 0.04;

    TankSettings settings;
    settings.size = 0.0f;
    settings.diffusion = 1.0f; // the output is the filtered chain alone
    Tank t (rate44k, settings);

    const auto settle = (std::size_t) (0.5 * rate44k);
    const auto after = (std::size_t) (0.03 * rate44k);
    auto left = measure::sine (toneHz, rate44k, settle + after);
    auto right = left;

    t.tank.processBlock (left.data(), right.data(), (int) settle);
    t.tank.setHighCutTarget (toHz);
    t.tank.processBlock (left.data() + settle, right.data() + settle, (int) after);

    // The chain's interpolating delays shade the tone a little: levels are relative to the one
    // just before the change.
    const auto before = measure::rms (left, settle - 4 * period, settle) * M_SQRT2;
    const auto lowPassBefore = measure::butterworthLowPassMagnitude (toneHz, (double) fromHz, rate44k);

    for (const auto atMs : { 1.0, 4.0, 6.0, 7.0, 8.0, 9.0, 15.0, 25.0 })
    {
        const auto cutoff = (double) fromHz + ((double) toHz - (double) fromHz) * std::min (atMs / rampMs, 1.0);
        const auto expected = measure::butterworthLowPassMagnitude (toneHz, cutoff, rate44k) / lowPassBefore;
        const auto centre = settle + (std::size_t) (atMs * rate44k / 1000.0);
        const auto measured = measure::rms (left, centre - period, centre + period) * M_SQRT2 / before;

        EXPECT_NEAR (measured, expected, quasiStaticTolerance) << atMs << " ms, cutoff " << cutoff;

        if (atMs > rampMs + 2.0)
        {
            EXPECT_LT (measured, 0.005) << atMs << " ms: settled at the new cutoff";
        }
    }

    EXPECT_FLOAT_EQ (t.tank.getCurrentHighCut(), toHz);
}

TEST (ReverbTank, SizeAndFeedbackChangesRampOverTenMilliseconds)
{
    constexpr int rampSteps = 441;
    Tank t (rate44k, {});
    t.tank.setSizeTarget (0.0f);
    t.tank.setFeedbackTarget (0.9f);

    for (int n = 1; n <= rampSteps; ++n)
    {
        float left = 0.0f, right = 0.0f;
        t.tank.processSample (left, right);

        const auto progress = (float) n / (float) rampSteps;
        ASSERT_NEAR (t.tank.getSizeFactor(), sizeFactorAtFullSize + (0.01f - sizeFactorAtFullSize) * progress, 1.0e-5f) << n;
        ASSERT_NEAR (t.tank.getLoopGain(), 0.9f * progress, 1.0e-5f) << n;
    }

    EXPECT_FLOAT_EQ (t.tank.getSizeFactor(), 0.01f);
    EXPECT_FLOAT_EQ (t.tank.getSection (1, 6).getDelay(), 7621.0f * 0.01f);
    EXPECT_EQ (t.tank.getLoopGain(), 0.9f);
}

TEST (ReverbTank, NoMemoryBeforePrepareAndBadTargetsAreIgnored)
{
    ReverbTank unprepared;
    float left = 1.0f, right = 1.0f;
    unprepared.processSample (left, right);
    EXPECT_EQ (left, 0.0f);
    EXPECT_EQ (right, 0.0f);

    Tank t (rate44k, {});
    t.tank.setSizeTarget (std::numeric_limits<float>::quiet_NaN());
    t.tank.setHighCutTarget (std::numeric_limits<float>::infinity());

    for (int n = 0; n < 1000; ++n)
    {
        float l = n == 0 ? 1.0f : 0.0f, r = 0.0f;
        t.tank.processSample (l, r);
        ASSERT_TRUE (std::isfinite (l) && std::isfinite (r));
    }

    EXPECT_FLOAT_EQ (t.tank.getSizeFactor(), sizeFactorAtFullSize);
}
} // namespace
