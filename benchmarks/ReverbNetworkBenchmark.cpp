#include "ModulationStage.h"
#include "ReverbTank.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 256;
constexpr int samplesPerRun = 48000; // one second of stereo audio

struct Network
{
    explicit Network (float highCutHz)
    {
        stage.setRateControlTarget (0.31f);
        stage.setDepthTarget (1.0f);
        stage.setWidthTarget (1.0f);
        stage.prepare (blockSize, sampleRate);

        tank.setFeedbackTarget (0.45f);
        tank.setSizeTarget (0.45f);
        tank.setDiffusionTarget (0.8f);
        tank.setWidthTarget (1.0f);
        tank.setLowCutTarget (20.0f);
        tank.setHighCutTarget (highCutHz);
        tank.prepare (sampleRate);
    }

    ModulationStage stage;
    ReverbTank tank;
};

std::vector<float> makeNoise (unsigned seed)
{
    std::mt19937 random (seed);
    std::uniform_real_distribution<float> noise (-0.5f, 0.5f);
    std::vector<float> result ((size_t) samplesPerRun);

    for (auto& x : result)
        x = noise (random);

    return result;
}

/** Counter giving the time per stereo sample (shown with its SI prefix, e.g. "130ns"). */
benchmark::Counter timePerStereoSample()
{
    return benchmark::Counter ((double) samplesPerRun,
                               benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void processOneSecond (Network& network, std::vector<float>& left, std::vector<float>& right)
{
    for (int start = 0; start < samplesPerRun; start += blockSize)
    {
        const auto n = std::min (blockSize, samplesPerRun - start);
        network.stage.processBlock (left.data() + start, right.data() + start, n);
        network.tank.processBlock (left.data() + start, right.data() + start, n);
    }
}

// The steady case: settings fixed, so no coefficient or delay is recomputed.
void modulationStageAndTank (benchmark::State& state)
{
    Network network (12000.0f);
    const auto noiseLeft = makeNoise (1), noiseRight = makeNoise (2);
    std::vector<float> left, right;

    for (auto _ : state)
    {
        left = noiseLeft;
        right = noiseRight;
        processOneSecond (network, left, right);
        benchmark::DoNotOptimize (left.data());
        benchmark::DoNotOptimize (right.data());
    }

    state.counters["per_stereo_sample"] = timePerStereoSample();
}

// The worst case: the high cut sweeps every block, so the loop low-passes are redesigned at
// every sample.
void modulationStageAndTankWithCutoffSweep (benchmark::State& state)
{
    Network network (12000.0f);
    const auto noiseLeft = makeNoise (3), noiseRight = makeNoise (4);
    std::vector<float> left, right;
    bool high = false;

    for (auto _ : state)
    {
        left = noiseLeft;
        right = noiseRight;

        for (int start = 0; start < samplesPerRun; start += blockSize)
        {
            const auto n = std::min (blockSize, samplesPerRun - start);
            network.tank.setHighCutTarget ((high = ! high) ? 15000.0f : 500.0f);
            network.stage.processBlock (left.data() + start, right.data() + start, n);
            network.tank.processBlock (left.data() + start, right.data() + start, n);
        }

        benchmark::DoNotOptimize (left.data());
        benchmark::DoNotOptimize (right.data());
    }

    state.counters["per_stereo_sample"] = timePerStereoSample();
}
} // namespace

BENCHMARK (modulationStageAndTank)->Unit (benchmark::kMillisecond);
BENCHMARK (modulationStageAndTankWithCutoffSweep)->Unit (benchmark::kMillisecond);

BENCHMARK_MAIN();
