#include "ModulationStage.h"
#include "SignalTools.h"

#include <gtest/gtest.h>

namespace
{
constexpr double baseDelayMs = 0.33333334;
constexpr double depthScaleMs = 9.666667;
constexpr double shelfGainAtNyquist = 0.75;
constexpr float leakTolerance = 1.0e-6f;

struct StereoResponse
{
    std::vector<float> left, right;
};

/** A stage prepared with its settings already in place (prepare jumps the smoothers). */
struct Stage
{
    Stage (double sampleRate, float rateControl, float depth, float width)
    {
        stage.setRateControlTarget (rateControl);
        stage.setDepthTarget (depth);
        stage.setWidthTarget (width);
        stage.prepare (512, sampleRate);
    }

    StereoResponse run (const std::vector<float>& inLeft, const std::vector<float>& inRight)
    {
        StereoResponse out{ inLeft, inRight };
        stage.processBlock (out.left.data(), out.right.data(), (int) out.left.size());
        return out;
    }

    ModulationStage stage;
};

TEST (ModulationStage, NoModulationFullWidthDelaysEachSideByTheBaseDelay)
{
    // At 48 and 96 kHz the base delay is a whole number of samples: 16 and 32.
    for (const auto sampleRate : { 48000.0, 96000.0 })
    {
        const auto delaySamples = (std::size_t) std::lround (baseDelayMs * sampleRate / 1000.0);
        const auto length = (std::size_t) 4000;
        const std::vector<float> silence (length, 0.0f);

        for (const auto side : { 0, 1 })
        {
            Stage s (sampleRate, 0.01f, 0.0f, 1.0f);
            const auto out = side == 0 ? s.run (measure::impulse (length), silence) : s.run (silence, measure::impulse (length));
            const auto& same = side == 0 ? out.left : out.right;
            const auto& other = side == 0 ? out.right : out.left;

            for (std::size_t n = 0; n < delaySamples; ++n)
                ASSERT_EQ (same[n], 0.0f) << n;

            // Three plain taps and one through the shelf, each at 1/4: the shelf's own first
            // coefficient is the only part that is not 3/4.
            EXPECT_GT (same[delaySamples], 0.75f) << sampleRate;
            EXPECT_NEAR (measure::sum (same, 0, length), 1.0, 1.0e-4) << "DC gain, " << sampleRate;
            EXPECT_LT (measure::peakMagnitude (other, 0, length), leakTolerance) << "stays on its side";
        }
    }
}

TEST (ModulationStage, OneTapPerSideGoesThroughTheHighShelf)
{
    constexpr double sampleRate = 48000.0;
    const auto length = (std::size_t) 20000;
    std::vector<float> alternating (length);

    for (std::size_t n = 0; n < length; ++n)
        alternating[n] = n % 2 == 0 ? 1.0f : -1.0f;

    Stage s (sampleRate, 0.01f, 0.0f, 1.0f);
    const auto out = s.run (alternating, alternating);

    // At Nyquist: (0.75 + 3) / 4 on both sides.
    const auto expected = (shelfGainAtNyquist + 3.0) / 4.0;
    EXPECT_NEAR (std::abs (out.left.back()), expected, 1.0e-3);
    EXPECT_NEAR (std::abs (out.right.back()), expected, 1.0e-3);
}

TEST (ModulationStage, ZeroWidthSendsBothGroupsEquallyToBothSides)
{
    constexpr double sampleRate = 48000.0;
    const auto length = (std::size_t) 2000;
    const std::vector<float> silence (length, 0.0f);

    Stage wide (sampleRate, 0.01f, 0.0f, 1.0f);
    const auto reference = wide.run (measure::impulse (length), silence).left;

    Stage fromLeft (sampleRate, 0.01f, 0.0f, 0.0f);
    Stage fromRight (sampleRate, 0.01f, 0.0f, 0.0f);
    const auto leftIn = fromLeft.run (measure::impulse (length), silence);
    const auto rightIn = fromRight.run (silence, measure::impulse (length));

    for (std::size_t n = 0; n < length; ++n)
    {
        const auto expected = reference[n] * (float) M_SQRT1_2;
        ASSERT_NEAR (leftIn.left[n], expected, leakTolerance) << n;
        ASSERT_NEAR (leftIn.right[n], expected, leakTolerance) << n;
        ASSERT_NEAR (rightIn.left[n], expected, leakTolerance) << n;
        ASSERT_NEAR (rightIn.right[n], expected, leakTolerance) << n;
    }
}

TEST (ModulationStage, FullDepthPlacesTheTapsWhereTheLfosStart)
{
    // At the slowest rate the LFOs barely move during the response, so each tap sits at
    // base +/- scale x sin (initial phase): left taps later, right taps earlier.
    constexpr double sampleRate = 48000.0;
    constexpr double windowMs = 0.2;
    constexpr double shelfWindowMs = 2.0;
    const std::array<double, 4> phases{ 0.0, 0.11, 0.25, 0.3 };
    const auto length = (std::size_t) (0.03 * sampleRate);
    const auto centreMs = depthScaleMs + baseDelayMs;
    const auto samplesPerMs = sampleRate / 1000.0;

    Stage s (sampleRate, 0.0f, 1.0f, 1.0f);
    const auto out = s.run (measure::impulse (length), measure::impulse (length));

    for (std::size_t k = 0; k < phases.size(); ++k)
    {
        const auto excursion = depthScaleMs * std::sin (measure::twoPi * phases[k]);

        for (const auto side : { 0, 1 })
        {
            const auto& response = side == 0 ? out.left : out.right;
            const auto delayMs = side == 0 ? centreMs + excursion : centreMs - excursion;

            // The shelved tap (0 on the left, 1 on the right) rings on for a while.
            const auto shelved = (side == 0 && k == 0) || (side == 1 && k == 1);
            const auto begin = (std::size_t) ((delayMs - windowMs) * samplesPerMs);
            const auto end = (std::size_t) ((delayMs + (shelved ? shelfWindowMs : windowMs)) * samplesPerMs);

            // Full depth doubles the output gain: each tap carries 1/2.
            EXPECT_NEAR (measure::sum (response, begin, end), 0.5, 0.01) << "side " << side << ", tap " << k << " at " << delayMs << " ms";
        }
    }

    // Nothing arrives before the shortest delay or after the longest one.
    const auto shortest = (std::size_t) ((baseDelayMs - windowMs) * samplesPerMs);
    const auto longest = (std::size_t) ((2.0 * depthScaleMs + baseDelayMs + windowMs) * samplesPerMs);
    EXPECT_EQ (measure::peakMagnitude (out.right, 0, shortest), 0.0);
    EXPECT_LT (measure::peakMagnitude (out.left, longest + 200, length), 1.0e-3);
}

TEST (ModulationStage, OutputGainRisesWithDepthUpToOneHalf)
{
    // A constant input reads 1 from every tap wherever it sits.
    constexpr double sampleRate = 44100.0;
    const auto length = (std::size_t) 4000;
    const std::vector<float> ones (length, 1.0f);

    struct Case
    {
        float depth;
        float perSideGain;
    };

    for (const auto& c : { Case{ 0.0f, 1.0f }, Case{ 0.25f, 1.5f }, Case{ 0.5f, 2.0f }, Case{ 1.0f, 2.0f } })
    {
        Stage s (sampleRate, 0.5f, c.depth, 1.0f);
        const auto out = s.run (ones, ones);
        EXPECT_NEAR (out.left.back(), c.perSideGain, 1.0e-3f) << c.depth;
        EXPECT_NEAR (out.right.back(), c.perSideGain, 1.0e-3f) << c.depth;
    }
}

TEST (ModulationStage, RateControlMapsOntoTheSkewedRangeAndTheLfoMultipliers)
{
    // Control 0.5 lands on the 0.5 Hz centre; the four LFOs run at 1, 1.25, 1.5 and 1.0625x.
    const std::array<double, 4> multipliers{ 1.0, 1.25, 1.5, 1.0625 };

    struct Case
    {
        float control;
        double rateHz;
    };

    for (const auto& c : { Case{ 0.5f, 0.5 }, Case{ 0.0f, 0.01 }, Case{ 1.0f, 2.5 }, Case{ 0.31f, 0.01 + 2.49 * std::pow (0.31, 1.0 / 0.42638612) } })
    {
        Stage s (48000.0, c.control, 0.5f, 1.0f);
        float left = 0.0f, right = 0.0f;
        s.stage.processSample (left, right);

        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR (s.stage.getLfo (k).getFrequency(), c.rateHz * multipliers[(std::size_t) k], 1.0e-5) << c.control << ", LFO " << k;
    }
}

TEST (ModulationStage, ResetSilencesButKeepsTheLfosRunning)
{
    Stage s (48000.0, 1.0f, 1.0f, 0.5f);

    for (int n = 0; n < 5000; ++n)
    {
        float left = std::sin ((float) n), right = 1.0f;
        s.stage.processSample (left, right);
    }

    const auto phaseBefore = s.stage.getLfo (0).getPhase();
    s.stage.reset();
    EXPECT_EQ (s.stage.getLfo (0).getPhase(), phaseBefore);

    for (int n = 0; n < 2000; ++n)
    {
        float left = 0.0f, right = 0.0f;
        s.stage.processSample (left, right);
        ASSERT_EQ (left, 0.0f);
        ASSERT_EQ (right, 0.0f);
    }
}
} // namespace
