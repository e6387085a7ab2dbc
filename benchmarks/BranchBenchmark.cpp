#include "OneFreqShiftBranchProcessor.h"
#include "OnePitchBranchProcessor.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace
{
constexpr double branchSampleRate = 48000.0;
constexpr int branchBlockSize = 256;
constexpr int branchSamplesPerRun = 48000; // one second of stereo audio
constexpr float branchFeedback = 0.7f;

// Input levels that keep the loop below the compressor's threshold or drive it above.
constexpr float quietLevel = 0.05f;
constexpr float loudLevel = 2.0f;

enum BranchKind
{
    pitchBranch = 0,
    freqShiftBranch = 1
};

std::unique_ptr<OneBranchProcessor> makeBenchmarkBranch (int kind)
{
    std::unique_ptr<OneBranchProcessor> branch;

    if (kind == pitchBranch)
    {
        branch = std::make_unique<OnePitchBranchProcessor>();
        branch->setShiftAmount (false, 12.0f);
    }
    else
    {
        branch = std::make_unique<OneFreqShiftBranchProcessor>();
        branch->setShiftAmount (false, 100.0f);
    }

    branch->setLoopFeedback (branchFeedback);
    branch->setWidth (1.0f);
    branch->prepare (branchBlockSize, branchSampleRate);
    return branch;
}

juce::AudioBuffer<float> makeBranchNoise (float level)
{
    std::mt19937 random (5);
    std::uniform_real_distribution<float> noise (-level, level);
    juce::AudioBuffer<float> result (2, branchSamplesPerRun);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < branchSamplesPerRun; ++i)
            result.setSample (channel, i, noise (random));

    return result;
}

/** Branch loop over one second in blocks; arguments: branch kind (0 pitch, 1 frequency
    shift) and 1 for an input loud enough to keep the compressor working. */
void branchLoop (benchmark::State& state)
{
    auto branch = makeBenchmarkBranch ((int) state.range (0));
    const auto input = makeBranchNoise (state.range (1) != 0 ? loudLevel : quietLevel);
    juce::AudioBuffer<float> block (2, branchBlockSize);

    for (auto _ : state)
    {
        for (int start = 0; start < branchSamplesPerRun; start += branchBlockSize)
        {
            const auto n = std::min (branchBlockSize, branchSamplesPerRun - start);
            block.setSize (2, n, false, false, true);
            block.copyFrom (0, 0, input, 0, start, n);
            block.copyFrom (1, 0, input, 1, start, n);
            branch->process (block);
            benchmark::DoNotOptimize (block.getReadPointer (0));
        }
    }

    state.counters["per_stereo_sample"] = benchmark::Counter ((double) branchSamplesPerRun,
                                                              benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
} // namespace

BENCHMARK (branchLoop)->ArgNames ({ "kind", "loud" })->Args ({ pitchBranch, 0 })->Args ({ pitchBranch, 1 })->Args ({ freqShiftBranch, 0 })->Args ({ freqShiftBranch, 1 })->Unit (benchmark::kMillisecond);
