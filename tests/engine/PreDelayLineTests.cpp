#include "PreDelayLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int tenMsSteps = 480;

/** Runs n samples of x[k] = start + k through the line; a linear input makes the output
    reveal the delay exactly: delay = input - output.
*/
std::vector<float> measureDelays (PreDelayLine& line, int numSamples, float& counter)
{
    std::vector<float> delays;

    for (int n = 0; n < numSamples; ++n)
    {
        const auto y = line.processSample (counter);
        delays.push_back (counter - y);
        counter += 1.0f;
    }

    return delays;
}

/** Sets a delay without its ramp: preparing again jumps to the target. */
void jumpToDelay (PreDelayLine& line, float delay)
{
    line.setDelay (delay);
    line.prepare (sampleRate, line.getCapacity());
}

class PreDelay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        line.prepare (sampleRate, (int) (4.0 * sampleRate));
    }

    PreDelayLine line;
};

TEST_F (PreDelay, ZeroDelayPassesTheInputThrough)
{
    jumpToDelay (line, 0.0f);

    for (int n = 0; n < 100; ++n)
    {
        const auto x = std::sin ((float) n * 0.37f);
        ASSERT_EQ (line.processSample (x), x);
    }
}

TEST_F (PreDelay, HalfSampleDelayAveragesTheTwoLatestInputs)
{
    jumpToDelay (line, 0.5f);
    float previous = 0.0f;

    for (int n = 0; n < 100; ++n)
    {
        const auto x = std::sin ((float) n * 0.37f);
        ASSERT_NEAR (line.processSample (x), 0.5f * (x + previous), 1.0e-6f);
        previous = x;
    }
}

TEST_F (PreDelay, FiveHundredMillisecondsAtFortyEightKilohertzIs24000Samples)
{
    const auto delaySamples = (float) std::round (0.5 * sampleRate);
    jumpToDelay (line, delaySamples);

    std::vector<float> output;

    for (int n = 0; n < 30000; ++n)
        output.push_back (line.processSample (n == 0 ? 1.0f : 0.0f));

    EXPECT_EQ (output[24000], 1.0f);
    EXPECT_EQ (std::count_if (output.begin(), output.end(), [] (float y)
                              { return y != 0.0f; }),
               1);
    EXPECT_EQ (line.getLastOutput(), output.back());
}

TEST_F (PreDelay, DelayChangeRampsLinearlyOverTenMilliseconds)
{
    float counter = 1000.0f;
    line.setDelay (0.0f);
    measureDelays (line, 10, counter);

    constexpr float newDelay = 100.0f;
    line.setDelay (newDelay);
    const auto delays = measureDelays (line, tenMsSteps + 20, counter);

    for (int k = 0; k < tenMsSteps; ++k)
        ASSERT_NEAR (delays[(size_t) k], newDelay * (float) (k + 1) / (float) tenMsSteps, 2.0e-3f) << k;

    for (size_t k = tenMsSteps; k < delays.size(); ++k)
        ASSERT_EQ (delays[k], newDelay);
}

TEST (PreDelayGuard, FractionalReadsAcrossTheWrapPointAreExact)
{
    PreDelayLine line;
    line.prepare (sampleRate, 8);
    jumpToDelay (line, 2.5f);

    float counter = 0.0f;
    const auto delays = measureDelays (line, 64, counter);

    // The first samples read the cleared memory; after that every read is an exact
    // interpolation, including those between the last slot and slot 0.
    for (size_t k = 3; k < delays.size(); ++k)
        ASSERT_FLOAT_EQ (delays[k], 2.5f) << k;
}

TEST (PreDelayGuard, TinyDelayAtTheWrapPointStaysInsideTheMemory)
{
    // write - delay is a tiny negative number at slot 0; adding the capacity rounds it up to
    // the capacity itself in single precision.
    constexpr int capacity = 192001;
    PreDelayLine line;
    line.prepare (sampleRate, capacity);
    jumpToDelay (line, 1.0e-7f);

    for (int n = 0; n < 2 * capacity + 3; ++n)
    {
        const auto x = (float) (n % 100);
        ASSERT_NEAR (line.processSample (x), x, 1.0e-3f) << n;
    }
}

TEST (PreDelayGrowth, LongerDelayGrowsTheLineAndClearsIt)
{
    PreDelayLine line;
    line.prepare (sampleRate, 1000);
    ASSERT_EQ (line.getCapacity(), 1000);

    for (int n = 0; n < 500; ++n)
        line.processSample (1.0f);

    line.setDelay (5000.5f);
    EXPECT_EQ (line.getCapacity(), 5001);
    EXPECT_FLOAT_EQ (line.getTargetDelay(), 5000.0f);

    std::vector<float> output;

    for (int n = 0; n < 5010; ++n)
        output.push_back (line.processSample (n == 0 ? 1.0f : 0.0f));

    // The old contents are gone; the impulse comes back after the (clamped) target delay.
    EXPECT_EQ (output[0], 0.0f);
    EXPECT_EQ (std::distance (output.begin(), std::max_element (output.begin(), output.end())), 5000);
}

TEST (PreDelayGrowth, TargetIsClampedAndBadValuesAreIgnored)
{
    PreDelayLine line;
    line.prepare (sampleRate, 100);

    line.setDelay (-3.0f);
    EXPECT_EQ (line.getTargetDelay(), 0.0f);

    line.setDelay (100.0f); // the capacity itself: no growth, one sample short of it
    EXPECT_EQ (line.getCapacity(), 100);
    EXPECT_EQ (line.getTargetDelay(), 99.0f);

    line.setDelay (std::numeric_limits<float>::quiet_NaN());
    line.setDelay (std::numeric_limits<float>::infinity());
    EXPECT_EQ (line.getCapacity(), 100);
    EXPECT_EQ (line.getTargetDelay(), 99.0f);
}

TEST (PreDelayGrowth, PrepareNeverShrinksAndResetClears)
{
    PreDelayLine line;
    line.prepare (sampleRate, 2000);
    line.prepare (sampleRate, 10);
    EXPECT_EQ (line.getCapacity(), 2000);

    line.setDelay (3.0f);

    for (int n = 0; n < 10; ++n)
        line.processSample (1.0f);

    line.reset();

    for (int n = 0; n < 3; ++n)
        EXPECT_EQ (line.processSample (0.0f), 0.0f);
}

TEST (PreDelayGrowth, UnpreparedLineIsSilent)
{
    PreDelayLine line;
    EXPECT_EQ (line.processSample (1.0f), 0.0f);
}
} // namespace
