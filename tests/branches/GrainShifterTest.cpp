#include "GrainShifter.h"
#include "SignalAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
constexpr double sampleRate = 44100.0;
constexpr double twoPi = juce::MathConstants<double>::twoPi;
constexpr juce::int64 fixedSeed = 1234;

float semitonesToRatio (float semitones, bool reverse)
{
    const auto r = std::exp2 (semitones / 12.0f);
    return reverse ? -r : r;
}

struct ShifterRun
{
    std::vector<float> left, right;
};

/** Runs a mono signal (both inputs equal) through a freshly prepared shifter. */
template <typename Signal>
ShifterRun runShifter (float ratio, int numSamples, float spread, Signal signal)
{
    GrainShifter shifter;
    shifter.prepare (sampleRate);
    shifter.setRatio (ratio);
    juce::Random random (fixedSeed);
    ShifterRun run{ std::vector<float> ((size_t) numSamples), std::vector<float> ((size_t) numSamples) };

    for (int n = 0; n < numSamples; ++n)
    {
        auto l = signal (n);
        auto r = l;
        shifter.processSample (l, r, spread, random);
        run.left[(size_t) n] = l;
        run.right[(size_t) n] = r;
    }

    return run;
}
} // namespace

//==============================================================================
namespace
{
struct HopCase
{
    float semitones;
    bool reverse;
    int expectedHop;
};

void PrintTo (const HopCase& c, std::ostream* os)
{
    *os << c.semitones << " semitones" << (c.reverse ? " reversed" : "");
}

} // namespace

class GrainShifterHop : public ::testing::TestWithParam<HopCase>
{
};

TEST_P (GrainShifterHop, HopAt44k1FollowsTheRatio)
{
    const auto& c = GetParam();
    GrainShifter shifter;
    shifter.prepare (sampleRate);
    shifter.setRatio (semitonesToRatio (c.semitones, c.reverse));

    EXPECT_EQ (shifter.getGrainLength(), 66150);
    EXPECT_EQ (shifter.getHop(), c.expectedHop);
}

// Up to unison (forwards or reversed) a grain is a quarter of 1.5 s; above, 1.5 s / |ratio|.
INSTANTIATE_TEST_SUITE_P (Intervals,
                          GrainShifterHop,
                          ::testing::Values (HopCase{ 12.0f, false, 33075 },
                                             HopCase{ -12.0f, false, 16537 },
                                             HopCase{ 0.0f, false, 16537 },
                                             HopCase{ 0.0f, true, 16537 },
                                             HopCase{ 12.0f, true, 33075 },
                                             HopCase{ 24.0f, false, 16538 }));

TEST (GrainShifter, MemoryHoldsFiveSecondsAndPrepareKeepsTheHopOfTheRatio)
{
    GrainShifter shifter;
    shifter.setRatio (2.0f);
    shifter.prepare (48000.0);
    EXPECT_EQ (shifter.getMemoryLength(), 240000);
    EXPECT_EQ (shifter.getHop(), 36000);
}

TEST (GrainShifter, BadRatiosAreIgnoredOrClamped)
{
    GrainShifter shifter;
    shifter.prepare (sampleRate);
    shifter.setRatio (std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ (shifter.getRatio(), 1.0f);
    shifter.setRatio (std::numeric_limits<float>::infinity());
    EXPECT_EQ (shifter.getRatio(), 1.0f);
    shifter.setRatio (1.0e9f);
    EXPECT_EQ (shifter.getRatio(), GrainShifter::maxRatio);
    EXPECT_GT (shifter.getHop(), 0);
}

TEST (GrainShifter, UnpreparedShifterOutputsSilence)
{
    GrainShifter shifter;
    juce::Random random (fixedSeed);
    auto l = 1.0f, r = -1.0f;
    shifter.processSample (l, r, 1.0f, random);
    EXPECT_EQ (l, 0.0f);
    EXPECT_EQ (r, 0.0f);
}

//==============================================================================
TEST (GrainShifter, TriangularWindowRampsUpOverHalfAHopThenVoicesSumToOne)
{
    // A constant input shows the window: voice A alone rises as 2n/h until voice B starts.
    const auto hop = 16537;
    const auto firstB = (hop + 1) / 2;
    const auto run = runShifter (1.0f, 2 * hop, 1.0f, [] (int)
                                 { return 1.0f; });
    constexpr float tolerance = 1.0e-4f;

    for (int n : { 0, 1, 100, 4000, firstB - 1 })
        EXPECT_NEAR (run.left[(size_t) n], 2.0f * (float) n / (float) hop, tolerance) << n;

    for (int n = firstB; n < 2 * hop; ++n)
        ASSERT_NEAR (run.left[(size_t) n], 1.0f, 2.0f / (float) hop) << n;
}

TEST (GrainShifter, UnisonReproducesTheInputWithoutDelayOnceBothVoicesRun)
{
    juce::Random noise (99);
    std::vector<float> input (70000);

    for (auto& x : input)
        x = noise.nextFloat() * 2.0f - 1.0f;

    const auto run = runShifter (1.0f, (int) input.size(), 1.0f, [&] (int n)
                                 { return input[(size_t) n]; });
    const auto firstB = (16537 + 1) / 2;
    constexpr float tolerance = 2.0e-4f;

    for (size_t n = (size_t) firstB; n < input.size(); ++n)
    {
        ASSERT_NEAR (run.left[n], input[n], tolerance) << n;
        ASSERT_NEAR (run.right[n], input[n], tolerance) << n;
    }
}

TEST (GrainShifter, SpreadPlacesChannelGrainsLeftRightOrCentre)
{
    struct Case
    {
        float spread, leftFromLeft, leftFromRight;
    };

    for (auto c : { Case{ 1.0f, 1.0f, 0.0f }, Case{ 0.0f, 0.5f, 0.5f }, Case{ 0.5f, 0.75f, 0.25f } })
    {
        GrainShifter shifter;
        shifter.prepare (sampleRate);
        juce::Random random (fixedSeed);
        auto lastLeft = 0.0f, lastRight = 0.0f;

        // Constant inputs of 1 left and 10 right, once both voices run.
        for (int n = 0; n < 20000; ++n)
        {
            lastLeft = 1.0f;
            lastRight = 10.0f;
            shifter.processSample (lastLeft, lastRight, c.spread, random);
        }

        constexpr float tolerance = 1.0e-3f;
        EXPECT_NEAR (lastLeft, c.leftFromLeft * 1.0f + c.leftFromRight * 10.0f, tolerance) << c.spread;
        EXPECT_NEAR (lastRight, c.leftFromRight * 1.0f + c.leftFromLeft * 10.0f, tolerance) << c.spread;
    }
}

//==============================================================================
namespace
{
struct PitchCase
{
    float semitones;
    double expectedHz;
};

void PrintTo (const PitchCase& c, std::ostream* os)
{
    *os << c.semitones << " semitones";
}

} // namespace

class GrainShifterPitch : public ::testing::TestWithParam<PitchCase>
{
};

TEST_P (GrainShifterPitch, SineComesOutAtTheShiftedFrequency)
{
    const auto& c = GetParam();
    constexpr double inputHz = 440.0;
    const auto ratio = semitonesToRatio (c.semitones, false);
    constexpr int analysed = 65536;
    const auto skip = 33075; // past the first grain at every tested ratio
    const auto run = runShifter (ratio, skip + analysed, 1.0f, [] (int n)
                                 { return (float) std::sin (twoPi * inputHz * n / sampleRate); });

    const auto measured = signalAnalysis::peakFrequency (run.left.data() + skip, analysed, sampleRate, 50.0, 5000.0);
    constexpr double toleranceHz = 2.0;
    EXPECT_NEAR (measured, c.expectedHz, toleranceHz);
}

INSTANTIATE_TEST_SUITE_P (Intervals,
                          GrainShifterPitch,
                          ::testing::Values (PitchCase{ 12.0f, 880.0 },
                                             PitchCase{ -12.0f, 220.0 },
                                             PitchCase{ 7.0f, 440.0 * 1.4983070768766815 },
                                             PitchCase{ 0.0f, 440.0 }));

//==============================================================================
TEST (GrainShifter, ReversePlaysARisingChirpFallingWithinAGrain)
{
    // Chirp rising at 1000 Hz/s from 300 Hz. Voice A of channel 0 starts without jitter at
    // the newest sample every hop, so in the middle of its grain, where its window dominates,
    // the output follows the chirp backwards in time.
    constexpr double startHz = 300.0, slope = 1000.0;
    const auto chirpHz = [&] (double t)
    { return startHz + slope * t; };
    const auto hop = 16537;
    const auto grainStart = 4 * hop;
    const auto run = runShifter (-1.0f, grainStart + hop, 1.0f, [&] (int n)
                                 {
                                     const auto t = n / sampleRate;
                                     return (float) std::sin (twoPi * (startHz * t + 0.5 * slope * t * t)); });

    constexpr int window = 2048;
    constexpr double toleranceHz = 30.0;
    auto previous = 1.0e9;

    for (double share : { 0.3, 0.5, 0.7 })
    {
        const auto centre = (int) (share * hop);
        const auto first = grainStart + centre - window / 2;
        const auto measured = signalAnalysis::peakFrequency (run.left.data() + first, window, sampleRate, 100.0, 5000.0);
        // The grain reads input sample (grainStart - n) at output sample grainStart + n.
        const auto expected = chirpHz ((grainStart - centre) / sampleRate);
        EXPECT_NEAR (measured, expected, toleranceHz) << share;
        EXPECT_LT (measured, previous) << share;
        previous = measured;
    }
}

TEST (GrainShifter, ResetSilencesMemoryAndRestartsGrains)
{
    GrainShifter shifter;
    shifter.prepare (sampleRate);
    juce::Random random (fixedSeed);

    for (int n = 0; n < 30000; ++n)
    {
        auto l = 0.7f, r = -0.3f;
        shifter.processSample (l, r, 1.0f, random);
    }

    shifter.reset();

    // After a reset a constant input ramps up again exactly as after prepare.
    auto l = 1.0f, r = 1.0f;
    shifter.processSample (l, r, 1.0f, random);
    EXPECT_EQ (l, 0.0f);

    for (int n = 1; n < 1000; ++n)
    {
        l = 1.0f;
        r = 1.0f;
        shifter.processSample (l, r, 1.0f, random);
    }

    EXPECT_NEAR (l, 2.0f * 999.0f / 16537.0f, 1.0e-5f);
}
