#include "GrainShifter.h"

#include <algorithm>
#include <cmath>

namespace
{
// Voice slots: channel × 2 + set (set A starts on the hop, set B half a hop later).
constexpr int setA = 0;
constexpr int setB = 1;

// Grains of speeds up to unison last a quarter of the grain length.
constexpr int unisonHopDivisor = 4;

// The jitter reaches back at most a quarter of a hop.
constexpr int jitterDivisor = 4;
} // namespace

void GrainShifter::prepare (double newSampleRate)
{
    sampleRate = newSampleRate > 0.0 ? newSampleRate : 0.0;

    const auto newMemoryLength = (int) (memorySeconds * sampleRate);

    if (newMemoryLength != memoryLength)
    {
        for (auto& channel : memory)
            channel.assign ((size_t) newMemoryLength, 0.0f);

        memoryLength = newMemoryLength;
    }

    grainLength = (int) ((double) grainSeconds * sampleRate);
    triggerCounters.fill (1);
    updateHop();
    writePosition = 0;

    for (auto& channel : memory)
        std::fill (channel.begin(), channel.end(), 0.0f);

    restartVoices();
}

void GrainShifter::reset() noexcept
{
    writePosition = 0;

    for (auto& channel : memory)
        std::fill (channel.begin(), channel.end(), 0.0f);

    restartVoices();
    triggerCounters.fill (1);
}

void GrainShifter::setRatio (float newRatio) noexcept
{
    if (! std::isfinite (newRatio) || newRatio == ratio)
        return;

    ratio = juce::jlimit (-maxRatio, maxRatio, newRatio);
    updateHop();
}

void GrainShifter::updateHop() noexcept
{
    const auto speed = std::abs (ratio);

    if (speed <= 1.0f)
        hop = grainLength / unisonHopDivisor;
    else
        hop = (int) std::ceil ((float) grainLength / speed);
}

void GrainShifter::restartVoices() noexcept
{
    for (auto& voice : voices)
    {
        voice.length = 0;
        voice.counter = 0;
    }
}

bool GrainShifter::stepTrigger (int voiceIndex, int startValue) noexcept
{
    auto& counter = triggerCounters[(size_t) voiceIndex];
    const auto k = counter;
    counter = k < 2 ? hop : k - 1;
    return k == startValue;
}

void GrainShifter::startVoice (Voice& voice, int channel, int newestEnd, int jitter) noexcept
{
    auto start = 0;

    if (ratio < 0.0f)
    {
        start = newestEnd - 1 - jitter;
    }
    else if (ratio <= 1.0f)
    {
        start = newestEnd - 1;
    }
    else
    {
        // Start far enough back to catch up with the newest sample at the grain's end.
        const auto reach = (int) std::ceil (std::abs (ratio) * (float) hop);
        start = newestEnd + hop - reach - jitter;
    }

    while (start < 0)
        start += memoryLength;

    voice.counter = 0;
    voice.length = hop;
    voice.speed = (double) ratio;
    voice.sourceChannel = channel;
    voice.readPosition = (double) start;
}

float GrainShifter::playVoice (Voice& voice) noexcept
{
    if (voice.counter >= voice.length)
        return 0.0f;

    const auto length = (double) memoryLength;
    const auto* samples = memory[(size_t) voice.sourceChannel].data();

    auto i = (int) voice.readPosition;

    if (i >= memoryLength)
        i -= memoryLength;

    const auto j = i + 1 == memoryLength ? 0 : i + 1;
    // The fraction is taken in double precision: a float read position loses the
    // sub-sample part towards the end of a long memory.
    const auto frac = (float) (voice.readPosition - (double) i);
    const auto sample = samples[i] + (samples[j] - samples[i]) * frac;

    voice.readPosition += voice.speed;

    if (voice.readPosition >= length || voice.readPosition < 0.0)
    {
        voice.readPosition = std::fmod (voice.readPosition, length);

        if (voice.readPosition < 0.0)
            voice.readPosition += length;
    }

    const auto t = 2.0f * (float) voice.counter / (float) voice.length;
    const auto window = t <= 1.0f ? t : 2.0f - t;
    ++voice.counter;
    return window * sample;
}

void GrainShifter::processSample (float& left, float& right, float spread, juce::Random& random) noexcept
{
    if (memoryLength <= 0)
    {
        left = 0.0f;
        right = 0.0f;
        return;
    }

    memory[0][(size_t) writePosition] = left;
    memory[1][(size_t) writePosition] = right;

    if (++writePosition >= memoryLength)
        writePosition = 0;

    const auto newestEnd = writePosition;
    left = 0.0f;
    right = 0.0f;

    const auto jitterRange = hop / jitterDivisor;
    const auto jitter = jitterRange > 0 ? random.nextInt (jitterRange) : 0;
    const auto halfWidth = spread * 0.5f;
    const auto setBStart = hop / 2 + 1;

    for (int channel = 0; channel < numChannels; ++channel)
    {
        const auto nearGain = 0.5f + halfWidth;
        const auto farGain = 0.5f - halfWidth;
        const auto leftGain = channel == 0 ? nearGain : farGain;
        const auto rightGain = channel == 0 ? farGain : nearGain;

        const auto indexA = channel * voicesPerChannel + setA;
        auto& voiceA = voices[(size_t) indexA];

        if (stepTrigger (indexA, 1))
            startVoice (voiceA, channel, newestEnd, channel == 1 ? jitter : 0);

        const auto a = playVoice (voiceA);
        left += leftGain * a;
        right += rightGain * a;

        const auto indexB = channel * voicesPerChannel + setB;
        auto& voiceB = voices[(size_t) indexB];

        if (stepTrigger (indexB, setBStart))
            startVoice (voiceB, channel, newestEnd, channel == 0 ? jitter : 0);

        const auto b = playVoice (voiceB);
        left += leftGain * b;
        right += rightGain * b;
    }
}
