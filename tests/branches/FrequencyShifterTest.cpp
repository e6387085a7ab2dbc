#include "FrequencyShifterUnit.h"
#include "SignalAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <vector>

namespace
{
constexpr double twoPi = juce::MathConstants<double>::twoPi;

/** A sine through a freshly prepared unit; returns the steady part of the output. */
std::vector<float> shiftSine (double sampleRate, double inputHz, float shiftHz)
{
    FrequencyShifterUnit unit;
    unit.prepare (sampleRate);
    unit.setShiftFrequency (shiftHz);

    const auto settling = (int) (0.5 * sampleRate);
    const auto analysed = (int) sampleRate;
    std::vector<float> out ((size_t) analysed);

    for (int n = 0; n < settling + analysed; ++n)
    {
        const auto y = unit.processSample ((float) std::sin (twoPi * inputHz * n / sampleRate));

        if (n >= settling)
            out[(size_t) (n - settling)] = y;
    }

    return out;
}
} // namespace

namespace
{
struct ShiftCase
{
    double sampleRate;
    double inputHz;
    float shiftHz;
};

void PrintTo (const ShiftCase& c, std::ostream* os)
{
    *os << c.inputHz << " Hz " << (c.shiftHz >= 0 ? "+" : "") << c.shiftHz << " Hz at " << c.sampleRate;
}

} // namespace

class FrequencyShifterImage : public ::testing::TestWithParam<ShiftCase>
{
};

TEST_P (FrequencyShifterImage, ToneMovesByTheShiftAndTheImageStaysFiftyDecibelsDown)
{
    const auto& c = GetParam();
    const auto out = shiftSine (c.sampleRate, c.inputHz, c.shiftHz);
    const auto n = (int) out.size();

    const auto wanted = signalAnalysis::toneAmplitude (out.data(), n, c.inputHz + c.shiftHz, c.sampleRate);
    const auto image = signalAnalysis::toneAmplitude (out.data(), n, c.inputHz - c.shiftHz, c.sampleRate);
    const auto residue = signalAnalysis::toneAmplitude (out.data(), n, c.inputHz, c.sampleRate);

    constexpr double passBandToleranceDb = 0.5;
    constexpr double minimumRejectionDb = 50.0;
    EXPECT_NEAR (signalAnalysis::toDb (wanted), 0.0, passBandToleranceDb);
    EXPECT_GT (signalAnalysis::toDb (wanted / image), minimumRejectionDb);
    EXPECT_GT (signalAnalysis::toDb (wanted / residue), minimumRejectionDb);

    const auto peak = signalAnalysis::peakFrequency (out.data(), n, c.sampleRate, 20.0, 0.45 * c.sampleRate);
    constexpr double peakToleranceHz = 0.5;
    EXPECT_NEAR (peak, c.inputHz + c.shiftHz, peakToleranceHz);
}

static std::vector<ShiftCase> imageCases()
{
    std::vector<ShiftCase> cases;

    for (auto rate : { 44100.0, 48000.0, 96000.0 })
        for (auto hz : { 200.0, 1000.0, 4000.0, 10000.0 })
            for (auto shift : { 100.0f, -100.0f })
                cases.push_back ({ rate, hz, shift });

    return cases;
}

INSTANTIATE_TEST_SUITE_P (RatesAndTones, FrequencyShifterImage, ::testing::ValuesIn (imageCases()));

TEST (FrequencyShifterUnit, ZeroShiftKeepsTheToneAtUnitGain)
{
    constexpr double rate = 48000.0;
    const auto out = shiftSine (rate, 1000.0, 0.0f);
    const auto level = signalAnalysis::toneAmplitude (out.data(), (int) out.size(), 1000.0, rate);
    EXPECT_NEAR (signalAnalysis::toDb (level), 0.0, 0.1);
}

TEST (FrequencyShifterUnit, PrepareRestartsIdenticallyAndRedesignsOnARateChange)
{
    const auto render = [] (FrequencyShifterUnit& unit)
    {
        std::vector<float> out (4000);

        for (size_t n = 0; n < out.size(); ++n)
            out[n] = unit.processSample ((float) std::sin (0.05 * (double) n));

        return out;
    };

    FrequencyShifterUnit fresh;
    fresh.prepare (44100.0);
    fresh.setShiftFrequency (250.0f);
    const auto expected = render (fresh);

    // Same rate: states cleared and oscillators restarted.
    FrequencyShifterUnit same;
    same.prepare (44100.0);
    same.setShiftFrequency (250.0f);
    render (same);
    same.prepare (44100.0);
    EXPECT_EQ (render (same), expected);

    // Away and back: coefficients, filters and oscillator increments follow the rate.
    FrequencyShifterUnit moved;
    moved.setShiftFrequency (250.0f);
    moved.prepare (96000.0);
    render (moved);
    moved.prepare (44100.0);
    EXPECT_EQ (render (moved), expected);

    moved.reset();
    EXPECT_EQ (render (moved), expected);
}

TEST (FrequencyShifterUnit, NonFiniteShiftIsIgnored)
{
    FrequencyShifterUnit unit;
    unit.prepare (44100.0);
    unit.setShiftFrequency (50.0f);
    unit.setShiftFrequency (std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ (unit.getShiftFrequency(), 50.0f);
    EXPECT_TRUE (std::isfinite (unit.processSample (1.0f)));
}
