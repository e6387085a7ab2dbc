#include "LinearSmoother.h"

#include <gtest/gtest.h>

namespace
{
constexpr double sampleRate44k = 44100.0;
constexpr double tenMs = 0.01;
constexpr int tenMsSteps44k = 441;

struct ApproximateCase
{
    float a, b;
    bool expected;
};

class ApproximateEquality : public ::testing::TestWithParam<ApproximateCase>
{
};

TEST_P (ApproximateEquality, FollowsRelativeAndAbsoluteTolerance)
{
    const auto& c = GetParam();
    EXPECT_EQ (isApproximatelyEqual (c.a, c.b), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ (isApproximatelyEqual (c.b, c.a), c.expected) << "symmetry";
}

const auto epsilon = std::numeric_limits<float>::epsilon();
const auto infinity = std::numeric_limits<float>::infinity();
const auto notANumber = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P (Cases,
                          ApproximateEquality,
                          ::testing::Values (ApproximateCase{ 1.0f, 1.0f + epsilon, true },
                                             ApproximateCase{ 1.0f, 1.0f + 2.0f * epsilon, false },
                                             ApproximateCase{ 1000.0f, std::nextafter (1000.0f, 2000.0f), true },
                                             ApproximateCase{ 1000.0f, std::nextafter (std::nextafter (1000.0f, 2000.0f), 2000.0f), false },
                                             ApproximateCase{ -1.0f, -1.0f - epsilon, true },
                                             ApproximateCase{ 0.0f, 1.0e-39f, true },
                                             ApproximateCase{ 0.0f, 1.0e-37f, false },
                                             ApproximateCase{ 0.0f, -0.0f, true },
                                             ApproximateCase{ infinity, infinity, true },
                                             ApproximateCase{ infinity, std::numeric_limits<float>::max(), false },
                                             ApproximateCase{ notANumber, notANumber, false },
                                             ApproximateCase{ notANumber, 0.0f, false }));

TEST (LinearSmoother, RampOf441StepsReachesTargetExactlyOnThe441stValue)
{
    LinearSmoother smoother;
    smoother.reset (sampleRate44k, tenMs);
    ASSERT_EQ (smoother.getRampLengthInSteps(), tenMsSteps44k);

    const auto target = 0.7f;
    smoother.setTargetValue (target);

    for (int step = 1; step < tenMsSteps44k; ++step)
    {
        const auto value = smoother.getNextValue();
        EXPECT_NEAR (value, target * (float) step / (float) tenMsSteps44k, 1.0e-5f) << step;
        EXPECT_LT (value, target) << step;
        ASSERT_TRUE (smoother.isSmoothing()) << step;
    }

    EXPECT_EQ (smoother.getNextValue(), target);
    EXPECT_FALSE (smoother.isSmoothing());

    for (int step = 0; step < 10; ++step)
        EXPECT_EQ (smoother.getNextValue(), target);
}

TEST (LinearSmoother, RampLengthIsTheFloorOfSecondsTimesRate)
{
    // 0.01 s given in single precision is slightly less than 0.01.
    const auto singlePrecisionTenMs = (double) 0.01f;

    struct Case
    {
        double rate, seconds;
        int steps;
    };

    for (const auto& c : { Case{ 44100.0, singlePrecisionTenMs, 440 },
                           Case{ 48000.0, singlePrecisionTenMs, 479 },
                           Case{ 48000.0, tenMs, 480 },
                           Case{ 96000.0, 0.2, 19200 },
                           Case{ 0.0, tenMs, 0 },
                           Case{ 48000.0, -1.0, 0 } })
    {
        LinearSmoother smoother;
        smoother.reset (c.rate, c.seconds);
        EXPECT_EQ (smoother.getRampLengthInSteps(), c.steps) << c.rate << " Hz, " << c.seconds << " s";

        smoother.setTargetValue (1.0f);
        int count = 0;

        while (smoother.isSmoothing())
        {
            smoother.getNextValue();
            ++count;
        }

        EXPECT_EQ (count, c.steps);
        EXPECT_EQ (smoother.getCurrentValue(), 1.0f);
    }
}

TEST (LinearSmoother, TargetWithinToleranceDoesNotRestartTheRamp)
{
    LinearSmoother smoother;
    smoother.reset (tenMsSteps44k);
    smoother.setTargetValue (1.0f);

    for (int step = 0; step < 100; ++step)
        smoother.getNextValue();

    // One epsilon away: the framework would restart a 441-step ramp here.
    smoother.setTargetValue (1.0f + std::numeric_limits<float>::epsilon());

    int remaining = 0;

    while (smoother.isSmoothing())
    {
        smoother.getNextValue();
        ++remaining;
    }

    EXPECT_EQ (remaining, tenMsSteps44k - 100);
    EXPECT_EQ (smoother.getCurrentValue(), 1.0f);
}

TEST (LinearSmoother, NonFiniteTargetsAreIgnored)
{
    LinearSmoother smoother;
    smoother.reset (tenMsSteps44k);
    smoother.setCurrentAndTargetValue (0.25f);

    for (const auto bad : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity() })
    {
        smoother.setTargetValue (bad);
        EXPECT_FALSE (smoother.isSmoothing());
        EXPECT_EQ (smoother.getNextValue(), 0.25f);
    }
}

TEST (LinearSmoother, NewTargetRestartsFromTheCurrentValueAndZeroStepsJumps)
{
    LinearSmoother smoother;
    smoother.reset (10);
    smoother.setTargetValue (1.0f);

    for (int step = 0; step < 5; ++step)
        smoother.getNextValue();

    const auto halfway = smoother.getCurrentValue();
    EXPECT_FLOAT_EQ (halfway, 0.5f);

    smoother.setTargetValue (0.0f);
    EXPECT_FLOAT_EQ (smoother.getNextValue(), 0.45f);

    LinearSmoother immediate (0.25f);
    immediate.reset (0);
    immediate.setTargetValue (0.75f);
    EXPECT_FALSE (immediate.isSmoothing());
    EXPECT_EQ (immediate.getCurrentValue(), 0.75f);
    EXPECT_EQ (immediate.getNextValue(), 0.75f);
}

TEST (LinearSmoother, ResetJumpsToTheTarget)
{
    LinearSmoother smoother;
    smoother.reset (100);
    smoother.setTargetValue (2.0f);
    smoother.getNextValue();

    smoother.reset (sampleRate44k, tenMs);
    EXPECT_FALSE (smoother.isSmoothing());
    EXPECT_EQ (smoother.getCurrentValue(), 2.0f);
}

// The gain ramp over a buffer.
class GainRamp : public ::testing::Test
{
protected:
    static constexpr int numChannels = 2;
    static constexpr int numSamples = 64;
    static constexpr float signalValue = 0.5f;

    void SetUp() override
    {
        buffer.setSize (numChannels, numSamples);

        for (int channel = 0; channel < numChannels; ++channel)
            for (int i = 0; i < numSamples; ++i)
                buffer.setSample (channel, i, signalValue);
    }

    juce::AudioBuffer<float> buffer;
};

TEST_F (GainRamp, SteadyGainScalesEverySample)
{
    LinearSmoother gain (0.25f);
    gain.applyGain (buffer, numSamples);

    for (int channel = 0; channel < numChannels; ++channel)
        for (int i = 0; i < numSamples; ++i)
            ASSERT_EQ (buffer.getSample (channel, i), signalValue * 0.25f);
}

TEST_F (GainRamp, GainApproximatelyOneLeavesTheSignalUntouched)
{
    LinearSmoother gain (1.0f - std::numeric_limits<float>::epsilon() / 2.0f);
    gain.applyGain (buffer, numSamples);

    for (int i = 0; i < numSamples; ++i)
        ASSERT_EQ (buffer.getSample (1, i), signalValue);
}

TEST_F (GainRamp, GainApproximatelyZeroSilencesWithoutMarkingClear)
{
    LinearSmoother gain (1.0e-39f);
    gain.applyGain (buffer, numSamples);

    EXPECT_FALSE (buffer.hasBeenCleared());

    for (int channel = 0; channel < numChannels; ++channel)
        for (int i = 0; i < numSamples; ++i)
            ASSERT_EQ (buffer.getSample (channel, i), 0.0f);
}

TEST_F (GainRamp, RampMultipliesEachSampleByTheNextValue)
{
    LinearSmoother gain (0.0f);
    gain.reset (numSamples / 2);
    gain.setTargetValue (1.0f);
    gain.applyGain (buffer, numSamples);

    for (int i = 0; i < numSamples; ++i)
    {
        const auto expectedGain = i < numSamples / 2 ? (float) (i + 1) / (float) (numSamples / 2) : 1.0f;

        for (int channel = 0; channel < numChannels; ++channel)
            ASSERT_NEAR (buffer.getSample (channel, i), signalValue * expectedGain, 1.0e-6f) << i;
    }

    EXPECT_FALSE (gain.isSmoothing());
}

TEST_F (GainRamp, ClearBufferStaysClearWhenSteadyAndIsMarkedNotClearWhenRamping)
{
    buffer.clear();
    LinearSmoother steady (0.5f);
    steady.applyGain (buffer, numSamples);
    EXPECT_TRUE (buffer.hasBeenCleared());

    LinearSmoother ramping (0.0f);
    ramping.reset (numSamples);
    ramping.setTargetValue (1.0f);
    ramping.applyGain (buffer, numSamples);
    EXPECT_FALSE (buffer.hasBeenCleared());
    EXPECT_EQ (buffer.getMagnitude (0, numSamples), 0.0f);
}

TEST (GainRampWithoutChannels, StillAdvancesTheSmoother)
{
    juce::AudioBuffer<float> empty;
    LinearSmoother gain (0.0f);
    gain.reset (100);
    gain.setTargetValue (1.0f);
    gain.applyGain (empty, 40);

    EXPECT_FLOAT_EQ (gain.getCurrentValue(), 0.4f);
    EXPECT_TRUE (gain.isSmoothing());
}
} // namespace
