#pragma once

#include <juce_dsp/juce_dsp.h>

#include <cmath>
#include <vector>

/** Measurements on test signals, independent of the code under test. */
namespace signalAnalysis
{
inline double hann (int i, int n)
{
    return 0.5 - 0.5 * std::cos (juce::MathConstants<double>::twoPi * (double) i / (double) n);
}

/** Amplitude of the component at a frequency (Hann window; a sine of amplitude a reads a). */
inline double toneAmplitude (const float* x, int n, double frequency, double sampleRate)
{
    double re = 0.0, im = 0.0, windowSum = 0.0;
    const auto w = juce::MathConstants<double>::twoPi * frequency / sampleRate;

    for (int i = 0; i < n; ++i)
    {
        const auto win = hann (i, n);
        re += win * (double) x[i] * std::cos (w * i);
        im -= win * (double) x[i] * std::sin (w * i);
        windowSum += win;
    }

    return 2.0 * std::sqrt (re * re + im * im) / windowSum;
}

/** Magnitudes of a Hann-windowed FFT of the first power-of-two samples (bins 0 .. size/2). */
inline std::vector<float> windowedMagnitudes (const float* x, int n, int& size)
{
    const auto order = (int) std::floor (std::log2 ((double) n));
    size = 1 << order;
    juce::dsp::FFT fft (order);
    std::vector<float> data ((size_t) (2 * size), 0.0f);

    for (int i = 0; i < size; ++i)
        data[(size_t) i] = (float) (hann (i, size) * (double) x[i]);

    fft.performFrequencyOnlyForwardTransform (data.data(), true);
    return data;
}

/** Frequency of the strongest component between lo and hi Hz, from a Hann-windowed FFT of
    the first power-of-two samples, refined by a parabola through the peak bin. */
inline double peakFrequency (const float* x, int n, double sampleRate, double lo, double hi)
{
    int size = 0;
    const auto data = windowedMagnitudes (x, n, size);

    const auto binHz = sampleRate / (double) size;
    const auto first = juce::jmax (1, (int) (lo / binHz));
    const auto last = juce::jmin (size / 2 - 1, (int) (hi / binHz) + 1);
    auto best = first;

    for (int k = first; k <= last; ++k)
        if (data[(size_t) k] > data[(size_t) best])
            best = k;

    const auto a = std::log (data[(size_t) best - 1] + 1.0e-20);
    const auto b = std::log (data[(size_t) best] + 1.0e-20);
    const auto c = std::log (data[(size_t) best + 1] + 1.0e-20);
    const auto offset = 0.5 * (a - c) / (a - 2.0 * b + c);
    return ((double) best + offset) * binHz;
}

/** Root of the summed power of the FFT bins between lo and hi Hz (Hann window, first
    power-of-two samples): the level of everything in that band, whatever its fine structure. */
inline double bandLevel (const float* x, int n, double sampleRate, double lo, double hi)
{
    int size = 0;
    const auto data = windowedMagnitudes (x, n, size);

    const auto binHz = sampleRate / (double) size;
    double power = 0.0;

    for (auto k = (int) std::ceil (lo / binHz); k <= (int) (hi / binHz) && k < size / 2; ++k)
        power += (double) data[(size_t) k] * (double) data[(size_t) k];

    return std::sqrt (power);
}

inline double toDb (double ratio) { return 20.0 * std::log10 (ratio); }
} // namespace signalAnalysis
