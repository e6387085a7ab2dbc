#pragma once

#include "NoteTable.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** The pre-delay time: either a free time in milliseconds or a note value at the host's
    tempo, with the time signature's denominator as the beat. */
class TempoSyncedTime
{
public:
    static constexpr double minimumTempoBpm = 10.0;
    static constexpr double secondsPerMinute = 60.0;
    static constexpr float secondsPerMillisecond = 0.001f;

    /** Takes the host's tempo and time signature, when the position carries them. */
    void setHostTiming (const juce::AudioPlayHead::PositionInfo& position) noexcept;

    /** Recomputes the time from this block's settings and the host position (if any) and
        returns it in seconds. */
    float update (bool shouldBeSynced,
                  float noteParameter,
                  float freeTimeMs,
                  const juce::Optional<juce::AudioPlayHead::PositionInfo>& position) noexcept;

    float getSeconds() const noexcept { return seconds; }
    bool isSynced() const noexcept { return synced; }
    double getTempo() const noexcept { return tempo; }
    int getTimeSignatureNumerator() const noexcept { return timeSigNumerator; }
    int getTimeSignatureDenominator() const noexcept { return timeSigDenominator; }
    NoteTable::Fraction getNote() const noexcept { return note; }

    /** Length of a note at a tempo, with the time signature's denominator as the beat. */
    static float syncedSeconds (NoteTable::Fraction note, int timeSigDenominator, double tempoBpm) noexcept;

private:
    /** Stores what the position carries; true when the tempo or time signature changed. */
    bool takeTiming (const juce::AudioPlayHead::PositionInfo& position) noexcept;
    void recompute() noexcept { seconds = syncedSeconds (note, timeSigDenominator, tempo); }

    bool synced = false;
    NoteTable::Fraction note{ 1, 1 };
    double tempo = minimumTempoBpm;
    int timeSigNumerator = 1;
    int timeSigDenominator = 1;
    float seconds = 0.0f;
};
