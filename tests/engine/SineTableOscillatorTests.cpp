#include "SignalTools.h"
#include "SineTableOscillator.h"

#include <gtest/gtest.h>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr float tableTolerance = 1.0e-6f;
constexpr double referenceTolerance = 2.0e-5;

TEST (SineTableOscillator, TableHoldsOneCycleAndAGuard)
{
    const auto& table = SineTableOscillator::getTable();
    ASSERT_EQ (table.size(), 32769u);
    EXPECT_EQ (table[0], 0.0f);
    EXPECT_NEAR (table[8192], 1.0f, tableTolerance);
    EXPECT_NEAR (table[16384], 0.0f, tableTolerance);
    EXPECT_NEAR (table[24576], -1.0f, tableTolerance);
    EXPECT_EQ (table[32768], table[0]);
}

TEST (SineTableOscillator, ZeroFrequencyHoldsTheInitialPhaseValue)
{
    struct Case
    {
        double phase;
        float value;
    };

    for (const auto& c : { Case{ 0.0, 0.0f }, Case{ 0.25, 1.0f }, Case{ 0.75, -1.0f }, Case{ 1.25, 1.0f } })
    {
        SineTableOscillator oscillator (c.phase);
        oscillator.prepare (sampleRate);

        for (int n = 0; n < 1000; ++n)
            ASSERT_NEAR (oscillator.getNextValue(), c.value, tableTolerance) << c.phase;
    }
}

TEST (SineTableOscillator, FollowsTheReferenceSineForwardsAndBackwards)
{
    for (const auto frequency : { 440.0, -440.0, 5.0, -1234.5 })
    {
        SineTableOscillator oscillator (0.0);
        oscillator.prepare (sampleRate);
        oscillator.setFrequency (frequency);

        double worst = 0.0;

        for (int n = 0; n < (int) sampleRate; ++n)
        {
            const auto expected = std::sin (measure::twoPi * frequency * (double) n / sampleRate);
            worst = std::max (worst, std::abs ((double) oscillator.getNextValue() - expected));

            const auto phase = oscillator.getPhase();
            ASSERT_TRUE (phase >= 0.0 && phase < 32768.0) << phase;
        }

        EXPECT_LT (worst, referenceTolerance) << frequency;
    }
}

TEST (SineTableOscillator, MeasuredFrequencyOf440Hz)
{
    SineTableOscillator oscillator (0.0);
    oscillator.prepare (sampleRate);
    oscillator.setFrequency (440.0);

    int upwardCrossings = 0;
    float previous = oscillator.getNextValue();

    for (int n = 1; n < 10 * (int) sampleRate; ++n)
    {
        const auto value = oscillator.getNextValue();

        if (previous < 0.0f && value >= 0.0f)
            ++upwardCrossings;

        previous = value;
    }

    EXPECT_NEAR (upwardCrossings, 4400, 1);
}

TEST (SineTableOscillator, RateAndFrequencyChangesRecomputeTheIncrement)
{
    SineTableOscillator oscillator (0.0);
    oscillator.setFrequency (100.0);
    EXPECT_EQ (oscillator.getIncrement(), 0.0) << "no sample rate yet";

    oscillator.setSampleRate (32768.0);
    EXPECT_DOUBLE_EQ (oscillator.getIncrement(), 100.0);

    oscillator.setSampleRate (65536.0);
    EXPECT_DOUBLE_EQ (oscillator.getIncrement(), 50.0);

    oscillator.setFrequency (std::numeric_limits<double>::quiet_NaN());
    EXPECT_DOUBLE_EQ (oscillator.getFrequency(), 100.0);
}

TEST (SineTableOscillator, ResetRestartsAtTheInitialPhase)
{
    SineTableOscillator oscillator (0.25);
    oscillator.prepare (sampleRate);
    oscillator.setFrequency (1000.0);

    for (int n = 0; n < 777; ++n)
        oscillator.getNextValue();

    oscillator.reset();
    EXPECT_DOUBLE_EQ (oscillator.getPhase(), 8192.0);
    EXPECT_NEAR (oscillator.getNextValue(), 1.0f, tableTolerance);
}

TEST (SineTableOscillator, TinyBackwardStepFromZeroWrapsInsideTheTable)
{
    // 0 minus a tiny increment plus one table length rounds to the table length itself.
    SineTableOscillator oscillator (0.0);
    oscillator.prepare (sampleRate);
    oscillator.setFrequency (-1.0e-12);

    for (int n = 0; n < 3; ++n)
    {
        EXPECT_NEAR (oscillator.getNextValue(), 0.0f, tableTolerance);
        ASSERT_TRUE (oscillator.getPhase() >= 0.0 && oscillator.getPhase() < 32768.0) << oscillator.getPhase();
    }
}

TEST (SineTableOscillator, VeryHighAndNegativeStartingPhasesStayInTheTable)
{
    SineTableOscillator negativeStart (-0.25);
    negativeStart.prepare (sampleRate);
    EXPECT_NEAR (negativeStart.getNextValue(), -1.0f, tableTolerance);

    SineTableOscillator fast (0.0);
    fast.prepare (sampleRate);
    fast.setFrequency (1.0e9);

    for (int n = 0; n < 100; ++n)
    {
        fast.getNextValue();
        ASSERT_TRUE (fast.getPhase() >= 0.0 && fast.getPhase() < 32768.0);
    }
}
} // namespace
