#include "OrynEngine.h"

#include <benchmark/benchmark.h>

#include <random>

namespace
{
constexpr int engineBlockSize = 256;
constexpr double secondsPerRun = 1.0;

enum class Scenario
{
    defaults, // the factory settings
    allBranchesReversed, // every branch at 100 % with reverse on
    cutAndSizeSweep // "hiCut" and "size" move at every block
};

EngineParameters parametersFor (Scenario scenario)
{
    EngineParameters p;

    if (scenario == Scenario::allBranchesReversed)
    {
        p.pitchShift1Gain = p.pitchShift2Gain = p.freqShiftGain = 100.0f;
        p.pitchShift1Reverse = p.pitchShift2Reverse = p.freqShiftReverse = 1.0f;
        p.freqShiftFreq = 50.0f;
    }

    return p;
}

/** One second of stereo audio through the whole engine, in host blocks; reports the time per
    stereo sample and how many times faster than real time one core runs it. */
void wholeEngine (benchmark::State& state, Scenario scenario)
{
    const auto sampleRate = (double) state.range (0);
    const auto samplesPerRun = (int) (secondsPerRun * sampleRate);
    auto parameters = parametersFor (scenario);

    OrynEngine engine;
    engine.prepare (engineBlockSize, sampleRate, parameters, nullptr);

    std::mt19937 random (1);
    std::uniform_real_distribution<float> noise (-0.5f, 0.5f);
    juce::AudioBuffer<float> input (2, samplesPerRun);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < samplesPerRun; ++i)
            input.setSample (channel, i, noise (random));

    juce::AudioBuffer<float> audio (2, samplesPerRun);
    int blockCount = 0;

    for (auto _ : state)
    {
        audio.makeCopyOf (input, true);

        for (int start = 0; start < samplesPerRun; start += engineBlockSize)
        {
            const auto n = juce::jmin (engineBlockSize, samplesPerRun - start);

            if (scenario == Scenario::cutAndSizeSweep)
            {
                // A slow triangle over about a second, so both ramps run all the time.
                const auto phase = (float) (blockCount++ % 200) / 100.0f;
                const auto sweep = phase < 1.0f ? phase : 2.0f - phase;
                parameters.hiCut = 500.0f + sweep * 15000.0f;
                parameters.size = 20.0f + sweep * 70.0f;
            }

            juce::AudioBuffer<float> block (audio.getArrayOfWritePointers(), 2, start, n);
            engine.process (block, 2, 2, parameters, nullptr);
        }

        benchmark::DoNotOptimize (audio.getReadPointer (0));
        benchmark::ClobberMemory();
    }

    state.counters["per_stereo_sample"] = benchmark::Counter ((double) samplesPerRun,
                                                              benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["realtime_factor"] = benchmark::Counter (secondsPerRun, benchmark::Counter::kIsIterationInvariantRate);
}

void applyRates (benchmark::internal::Benchmark* benchmark)
{
    for (const auto rate : { 44100, 48000, 96000 })
        benchmark->Arg (rate);

    benchmark->ArgName ("rate")->Unit (benchmark::kMillisecond);
}
} // namespace

BENCHMARK_CAPTURE (wholeEngine, defaults, Scenario::defaults)->Apply (applyRates);
BENCHMARK_CAPTURE (wholeEngine, allBranchesReversed, Scenario::allBranchesReversed)->Apply (applyRates);
BENCHMARK_CAPTURE (wholeEngine, cutAndSizeSweep, Scenario::cutAndSizeSweep)->Apply (applyRates);
