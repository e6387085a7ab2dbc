#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <vector>

/** A granular pitch shifter with two half-overlapping triangular grains per channel.

    Each channel's input is written into a circular memory; two voices per channel replay
    grains of one hop length at the playback ratio, so that their windows always sum to one.
    A negative ratio plays the grains backwards. The jitter comes from the caller's random
    generator so that its owner decides how it is seeded.
*/
class GrainShifter
{
public:
    GrainShifter() = default;

    /** Sizes the memory for the sample rate and restarts all grains. Allocates. */
    void prepare (double sampleRate);

    /** Clears the memory and restarts all grains. */
    void reset() noexcept;

    /** Sets the playback speed of grains that start from now on (2^(semitones/12),
        negative for reverse) and recomputes the hop. Non-finite values are ignored,
        magnitudes above maxRatio are clamped. */
    void setRatio (float newRatio) noexcept;

    /** Shifts one stereo sample in place. The spread (0…1) places channel 0's grains to the
        left and channel 1's to the right; 0 sends every grain to both sides at half level. */
    void processSample (float& left, float& right, float spread, juce::Random& random) noexcept;

    float getRatio() const noexcept { return ratio; }
    int getHop() const noexcept { return hop; }
    int getGrainLength() const noexcept { return grainLength; }
    int getMemoryLength() const noexcept { return memoryLength; }

    /** Grain length of the longest grain, before the ratio shortens it. */
    static constexpr float grainSeconds = 1.5f;

    /** Memory length: holds the farthest reach back of any grain. */
    static constexpr double memorySeconds = 5.0;

    /** Largest playback speed accepted (four octaves). */
    static constexpr float maxRatio = 16.0f;

private:
    struct Voice
    {
        int length = 0;
        int counter = 0;
        double readPosition = 0.0;
        double speed = 1.0;
        int sourceChannel = 0;
    };

    static constexpr int numChannels = 2;
    static constexpr int voicesPerChannel = 2;
    static constexpr int numVoices = numChannels * voicesPerChannel;

    void updateHop() noexcept;
    void restartVoices() noexcept;
    bool stepTrigger (int voiceIndex, int startValue) noexcept;
    void startVoice (Voice& voice, int channel, int newestEnd, int jitter) noexcept;
    float playVoice (Voice& voice) noexcept;

    double sampleRate = 0.0;
    float ratio = 1.0f;
    int grainLength = 0;
    int hop = 0;
    int memoryLength = 0;
    int writePosition = 0;
    std::array<std::vector<float>, numChannels> memory;
    std::array<Voice, numVoices> voices{};
    std::array<int, numVoices> triggerCounters{};
};
