#include "AllocationCounter.h"
#include "OneFreqShiftBranchProcessor.h"
#include "OnePitchBranchProcessor.h"
#include "SignalAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <ostream>
#include <vector>

namespace
{
constexpr double sampleRate = 44100.0;
constexpr double twoPi = juce::MathConstants<double>::twoPi;
constexpr int maxBlock = 4096;

enum class Kind
{
    pitch,
    freqShift
};

struct BranchCase
{
    const char* name;
    Kind kind;
    bool reverse;
    float amount;
};

std::unique_ptr<OneBranchProcessor> makeBranch (const BranchCase& c, float feedback, juce::int64 seed = 42)
{
    std::unique_ptr<OneBranchProcessor> branch;

    if (c.kind == Kind::pitch)
        branch = std::make_unique<OnePitchBranchProcessor>();
    else
        branch = std::make_unique<OneFreqShiftBranchProcessor>();

    branch->setJitterSeed (seed);
    branch->setShiftAmount (c.reverse, c.amount);
    branch->setLoopFeedback (feedback);
    branch->setWidth (1.0f);
    branch->prepare (maxBlock, sampleRate);
    return branch;
}

struct Stereo
{
    std::vector<float> left, right;
};

Stereo noise (int numSamples, float amplitude, int seed)
{
    juce::Random random (seed);
    Stereo s{ std::vector<float> ((size_t) numSamples), std::vector<float> ((size_t) numSamples) };

    for (int n = 0; n < numSamples; ++n)
    {
        s.left[(size_t) n] = amplitude * (random.nextFloat() * 2.0f - 1.0f);
        s.right[(size_t) n] = amplitude * (random.nextFloat() * 2.0f - 1.0f);
    }

    return s;
}

/** Processes the input in blocks whose sizes cycle through the list, re-sending the same
    settings every block as the engine does. */
Stereo run (OneBranchProcessor& branch, const BranchCase& c, float feedback, const Stereo& input, std::initializer_list<int> blockSizes)
{
    const auto total = (int) input.left.size();
    Stereo out{ input.left, input.right };
    juce::AudioBuffer<float> buffer (2, maxBlock);
    auto sizes = std::vector<int> (blockSizes);
    size_t next = 0;

    for (int start = 0; start < total;)
    {
        const auto n = std::min (sizes[next++ % sizes.size()], total - start);
        buffer.setSize (2, n, false, false, true);
        buffer.copyFrom (0, 0, input.left.data() + start, n);
        buffer.copyFrom (1, 0, input.right.data() + start, n);

        branch.setShiftAmount (c.reverse, c.amount);
        branch.setLoopFeedback (feedback);
        branch.setWidth (1.0f);
        branch.process (buffer);

        std::copy (buffer.getReadPointer (0), buffer.getReadPointer (0) + n, out.left.data() + start);
        std::copy (buffer.getReadPointer (1), buffer.getReadPointer (1) + n, out.right.data() + start);
        start += n;
    }

    return out;
}

double energy (const std::vector<float>& x, int first, int count)
{
    double sum = 0.0;

    for (int i = first; i < first + count; ++i)
        sum += (double) x[(size_t) i] * (double) x[(size_t) i];

    return sum;
}

void PrintTo (const BranchCase& c, std::ostream* os)
{
    *os << c.name;
}

const BranchCase octaveUp{ "OctaveUp", Kind::pitch, false, 12.0f };
const BranchCase octaveDown{ "OctaveDown", Kind::pitch, false, -12.0f };
const BranchCase reversedUnison{ "ReversedUnison", Kind::pitch, true, 0.0f };
const BranchCase shiftUp{ "ShiftUp100Hz", Kind::freqShift, false, 100.0f };
const BranchCase shiftReversed{ "ShiftUp100HzReversed", Kind::freqShift, true, 100.0f };
} // namespace

class BranchLoop : public ::testing::TestWithParam<BranchCase>
{
};

INSTANTIATE_TEST_SUITE_P (Branches,
                          BranchLoop,
                          ::testing::Values (octaveUp, octaveDown, reversedUnison, shiftUp, shiftReversed),
                          [] (const auto& testInfo)
                          { return std::string (testInfo.param.name); });

TEST_P (BranchLoop, OutputWithAFixedSeedIsIndependentOfTheBlockSize)
{
    const auto& c = GetParam();
    constexpr float feedback = 0.8f;
    const auto input = noise ((int) (3.0 * sampleRate), 0.3f, 7);

    auto a = makeBranch (c, feedback);
    auto b = makeBranch (c, feedback);
    const auto outA = run (*a, c, feedback, input, { 64 });
    const auto outB = run (*b, c, feedback, input, { 1, 7, 500, 4096, 333 });

    EXPECT_EQ (outA.left, outB.left);
    EXPECT_EQ (outA.right, outB.right);
}

TEST_P (BranchLoop, LoopDecaysAfterTheInputStopsForFeedbackBelowOne)
{
    const auto& c = GetParam();
    constexpr float feedback = 0.5f;
    const auto second = (int) sampleRate;
    auto input = noise (10 * second, 0.3f, 3);

    // Half a second of noise, then silence.
    std::fill (input.left.begin() + second / 2, input.left.end(), 0.0f);
    std::fill (input.right.begin() + second / 2, input.right.end(), 0.0f);

    auto branch = makeBranch (c, feedback);
    const auto out = run (*branch, c, feedback, input, { 512 });

    const auto first = energy (out.left, second, second) + energy (out.right, second, second);
    const auto last = energy (out.left, 9 * second, second) + energy (out.right, 9 * second, second);
    ASSERT_GT (first, 0.0);

    constexpr double minimumDecayDb = 60.0;
    EXPECT_GT (10.0 * std::log10 (first / std::max (last, 1.0e-30)), minimumDecayDb);
    EXPECT_LT (std::abs (branch->getLoopState (0)), 1.0e-3f);
    EXPECT_LT (std::abs (branch->getLoopState (1)), 1.0e-3f);
}

TEST_P (BranchLoop, LoopStaysBoundedForHugeInput)
{
    // The saturator holds its output within tanh's bound times 1 / threshold; the loop filters
    // after it can raise a peak by at most the sum of |impulse response| of the two.
    const auto& c = GetParam();
    constexpr float feedback = 1.0f;
    Biquad highPass, lowPass;
    highPass.setHighPass (sampleRate, OneBranchProcessor::loopHighPassHz, OneBranchProcessor::loopInverseQ);
    lowPass.setLowPass (sampleRate, OneBranchProcessor::loopLowPassHz, OneBranchProcessor::loopInverseQ);
    double filterGainBound = 0.0;

    for (int n = 0; n < (int) sampleRate; ++n)
        filterGainBound += std::abs (lowPass.processSample (highPass.processSample (n == 0 ? 1.0f : 0.0f)));

    constexpr double tanhBound = 1.0001;
    const auto loopBound = tanhBound / std::pow (10.0, -6.0 / 20.0) * filterGainBound;

    const auto input = noise ((int) (0.5 * sampleRate), 1.0e6f, 11);
    auto branch = makeBranch (c, feedback);
    juce::AudioBuffer<float> buffer (2, 1);
    auto largest = 0.0f;

    for (size_t n = 0; n < input.left.size(); ++n)
    {
        buffer.setSample (0, 0, input.left[n]);
        buffer.setSample (1, 0, input.right[n]);
        branch->process (buffer);
        largest = std::max ({ largest, std::abs (branch->getLoopState (0)), std::abs (branch->getLoopState (1)) });
        ASSERT_TRUE (std::isfinite (buffer.getSample (0, 0)) && std::isfinite (buffer.getSample (1, 0))) << n;
    }

    EXPECT_LE (largest, loopBound);
}

TEST_P (BranchLoop, ProcessingAndResetDoNotAllocateAfterPrepare)
{
    const auto& c = GetParam();
    auto branch = makeBranch (c, 0.7f);
    auto input = noise (maxBlock, 0.5f, 5);
    juce::AudioBuffer<float> buffer (2, maxBlock);
    int allocations = 0;

    {
        ScopedAllocationCounter counter;

        for (int block = 0; block < 40; ++block)
        {
            buffer.copyFrom (0, 0, input.left.data(), maxBlock);
            buffer.copyFrom (1, 0, input.right.data(), maxBlock);
            // Every setting changes on the way, as automation would change it.
            branch->setShiftAmount (block % 2 == 0, c.amount + (float) (block % 5));
            branch->setLoopFeedback ((float) (block % 3) * 0.5f);
            branch->setWidth ((float) (block % 4) * 0.25f);
            branch->setTankSize ((float) (block % 3) * 0.3f);
            branch->setTankDiffusion ((float) (block % 2));
            branch->setTankLowCut (20.0f + (float) block * 10.0f);
            branch->setTankHighCut (20000.0f - (float) block * 100.0f);
            branch->process (buffer);

            if (block == 20)
                branch->reset();
        }

        allocations = counter.getCount();
    }

    EXPECT_EQ (allocations, 0);
}

TEST (BranchLoop, JitterSeedDecidesTheReversedGrains)
{
    constexpr float feedback = 0.5f;
    const auto input = noise ((int) (2.0 * sampleRate), 0.3f, 9);
    auto a = makeBranch (reversedUnison, feedback, 1);
    auto b = makeBranch (reversedUnison, feedback, 2);
    const auto outA = run (*a, reversedUnison, feedback, input, { 256 });
    const auto outB = run (*b, reversedUnison, feedback, input, { 256 });
    EXPECT_NE (outA.left, outB.left);
}

//==============================================================================
namespace
{
struct CascadeCase
{
    BranchCase branch;
    double inputHz, firstPassHz, secondPassHz;
};

void PrintTo (const CascadeCase& c, std::ostream* os)
{
    *os << c.branch.name;
}

} // namespace

class BranchCascade : public ::testing::TestWithParam<CascadeCase>
{
};

TEST_P (BranchCascade, FeedbackShiftsAgainOnEveryPass)
{
    // With the default tank (diffusion 1, width 1) the output tank is an all-pass, so the
    // levels of the tones are the loop's own.
    const auto& c = GetParam();
    const auto measure = [&] (float feedback)
    {
        const auto numSamples = (int) (4.0 * sampleRate);
        Stereo input{ std::vector<float> ((size_t) numSamples), {} };

        for (int n = 0; n < numSamples; ++n)
            input.left[(size_t) n] = 0.25f * (float) std::sin (twoPi * c.inputHz * n / sampleRate);

        input.right = input.left;
        auto branch = makeBranch (c.branch, feedback);
        const auto out = run (*branch, c.branch, feedback, input, { 512 });
        constexpr int analysed = 65536;
        const auto* tail = out.left.data() + numSamples - analysed;
        // Grains of different passes add with shifting phases, which spreads each tone over
        // a few hertz: compare the levels of narrow bands around them.
        constexpr double bandHz = 25.0;
        const auto first = signalAnalysis::bandLevel (tail, analysed, sampleRate, c.firstPassHz - bandHz, c.firstPassHz + bandHz);
        const auto second = signalAnalysis::bandLevel (tail, analysed, sampleRate, c.secondPassHz - bandHz, c.secondPassHz + bandHz);
        return signalAnalysis::toDb (second / first);
    };

    constexpr double openLoopMaxDb = -30.0;
    constexpr double closedLoopMinDb = -20.0;
    EXPECT_LT (measure (0.0f), openLoopMaxDb);
    EXPECT_GT (measure (0.9f), closedLoopMinDb);
}

INSTANTIATE_TEST_SUITE_P (Branches,
                          BranchCascade,
                          ::testing::Values (CascadeCase{ octaveUp, 440.0, 880.0, 1760.0 },
                                             CascadeCase{ octaveDown, 1760.0, 880.0, 440.0 },
                                             CascadeCase{ shiftUp, 1000.0, 1100.0, 1200.0 }),
                          [] (const auto& testInfo)
                          { return std::string (testInfo.param.branch.name); });

TEST (BranchLoop, LowSampleRatesKeepTheLoopFiltersStable)
{
    // At 22.05 kHz the 15 kHz loop low-pass would sit above the Nyquist frequency.
    for (auto rate : { 22050.0, 32000.0 })
    {
        OnePitchBranchProcessor branch;
        branch.setJitterSeed (3);
        branch.setShiftAmount (false, 7.0f);
        branch.setLoopFeedback (1.0f);
        branch.prepare (maxBlock, rate);
        const auto input = noise ((int) rate * 2, 0.3f, 4);
        juce::AudioBuffer<float> buffer (2, 1);
        auto largest = 0.0f;

        for (size_t n = 0; n < input.left.size(); ++n)
        {
            buffer.setSample (0, 0, input.left[n]);
            buffer.setSample (1, 0, input.right[n]);
            branch.process (buffer);
            const auto loop = std::abs (branch.getLoopState (0));
            largest = std::isfinite (loop) ? std::max (largest, loop) : std::numeric_limits<float>::infinity();
        }

        constexpr float loopBound = 10.0f;
        EXPECT_LT (largest, loopBound) << rate;
    }
}

TEST (AllocationCounter, SeesAllocationsInItsScopeOnly)
{
    auto before = std::make_unique<int> (1);
    ScopedAllocationCounter counter;
    auto inside = std::make_unique<int> (2);
    std::vector<float> buffer (16);
    EXPECT_EQ (counter.getCount(), 2);
}

TEST (BranchLoop, ShiftSettingsReachTheShifters)
{
    OnePitchBranchProcessor pitch;
    pitch.prepare (maxBlock, sampleRate);

    struct Case
    {
        bool reverse;
        float semitones;
        double expectedRatio;
        int expectedHop;
    };

    // Ratios 2^(semitones / 12); hops from the 66150-sample grain at 44.1 kHz.
    for (auto c : { Case{ false, 12.0f, 2.0, 33075 },
                    Case{ false, -0.1f, 0.99424036, 16537 },
                    Case{ true, 7.0f, -1.49830708, 44150 },
                    Case{ false, 24.0f, 4.0, 16538 } })
    {
        pitch.setShiftAmount (c.reverse, c.semitones);
        EXPECT_NEAR (pitch.getShifter().getRatio(), c.expectedRatio, 1.0e-6) << c.semitones;
        EXPECT_EQ (pitch.getShifter().getHop(), c.expectedHop) << c.semitones;
    }

    OneFreqShiftBranchProcessor shift;
    shift.prepare (maxBlock, sampleRate);
    shift.setShiftAmount (true, -40.0f);
    EXPECT_EQ (shift.getShifter().getRatio(), -1.0f);
    EXPECT_EQ (shift.getShifter().getHop(), 16537);
    EXPECT_EQ (shift.getUnit (0).getShiftFrequency(), -40.0f);
    EXPECT_EQ (shift.getUnit (1).getShiftFrequency(), -40.0f);
    shift.setShiftAmount (false, 0.0f);
    EXPECT_EQ (shift.getShifter().getRatio(), 1.0f);
}
