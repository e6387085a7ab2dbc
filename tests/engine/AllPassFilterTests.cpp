#include "AllPassFilter.h"
#include "SignalTools.h"

#include <gtest/gtest.h>

namespace
{
TEST (AllPassSection, ZeroCoefficientIsAPureFractionalDelayAcrossTheWrapPoint)
{
    AllPassFilter section;
    section.prepare (4);
    section.setCoefficient (0.0f);

    for (const auto delay : { 1.0f, 1.25f, 2.5f, 3.75f, 4.0f })
    {
        section.reset();
        section.setDelay (delay);

        for (int n = 0; n < 40; ++n)
        {
            const auto x = (float) n;
            const auto y = section.processSample (x);

            if ((float) n >= delay + 1.0f)
            {
                ASSERT_NEAR (x - y, delay, 1.0e-5f) << "delay " << delay << ", n " << n;
            }
        }
    }
}

TEST (AllPassSection, DelayEqualToTheCapacityReadsTheOldestSample)
{
    constexpr int capacity = 37;
    AllPassFilter section;
    section.prepare (capacity);
    section.setDelay ((float) capacity);

    std::vector<float> output;

    for (int n = 0; n < 3 * capacity; ++n)
        output.push_back (section.processSample (n == 0 ? 1.0f : 0.0f));

    EXPECT_EQ (output[capacity], 1.0f);
    EXPECT_EQ (measure::energy (output, 0, output.size()), 1.0);
}

struct AllPassCase
{
    float coefficient;
    float delay;
};

class AllPassMagnitude : public ::testing::TestWithParam<AllPassCase>
{
};

TEST_P (AllPassMagnitude, ImpulseResponseHasUnitEnergy)
{
    const auto& c = GetParam();
    AllPassFilter section;
    section.prepare (64);
    section.setCoefficient (c.coefficient);
    section.setDelay (c.delay);

    std::vector<float> output;

    for (int n = 0; n < 20000; ++n)
        output.push_back (section.processSample (n == 0 ? 1.0f : 0.0f));

    EXPECT_NEAR (output[0], c.coefficient, 1.0e-7f) << "instant part";
    EXPECT_NEAR (measure::energy (output, 0, output.size()), 1.0, 1.0e-5);
}

TEST_P (AllPassMagnitude, SinesPassWithUnitGain)
{
    const auto& c = GetParam();
    constexpr double sampleRate = 44100.0;

    for (const auto frequency : { 100.0, 3000.0, 15000.0 })
    {
        AllPassFilter section;
        section.prepare (64);
        section.setCoefficient (c.coefficient);
        section.setDelay (c.delay);

        const auto input = measure::sine (frequency, sampleRate, 20000);
        std::vector<float> output;

        for (const auto x : input)
            output.push_back (section.processSample (x));

        EXPECT_NEAR (measure::rms (output, 10000, 20000) / measure::rms (input, 10000, 20000), 1.0, 2.0e-3) << frequency;
    }
}

INSTANTIATE_TEST_SUITE_P (Coefficients,
                          AllPassMagnitude,
                          ::testing::Values (AllPassCase{ -0.7f, 7.0f },
                                             AllPassCase{ 0.7f, 13.0f },
                                             AllPassCase{ 0.3f, 1.0f },
                                             AllPassCase{ -0.95f, 64.0f },
                                             AllPassCase{ 0.0f, 20.0f }));

TEST (AllPassSection, DelayIsHeldWithinOneSampleAndTheCapacity)
{
    AllPassFilter section;
    section.prepare (16);

    section.setDelay (0.2f);
    EXPECT_EQ (section.getDelay(), 1.0f);
    section.setDelay (100.0f);
    EXPECT_EQ (section.getDelay(), 16.0f);
    section.setDelay (std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ (section.getDelay(), 1.0f);

    section.setCoefficient (3.0f);
    EXPECT_EQ (section.getCoefficient(), 1.0f);
}

TEST (AllPassSection, GrowsButNeverShrinksAndStartsSilent)
{
    AllPassFilter section;
    EXPECT_EQ (section.processSample (1.0f), 0.0f) << "no memory yet";

    section.prepare (100);
    section.prepare (10);
    EXPECT_EQ (section.getCapacity(), 100);

    section.setDelay (5.0f);
    section.setCoefficient (0.5f);

    for (int n = 0; n < 50; ++n)
        section.processSample (1.0f);

    section.reset();

    for (int n = 0; n < 200; ++n)
        ASSERT_EQ (section.processSample (0.0f), 0.0f);
}
} // namespace
