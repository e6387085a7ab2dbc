#include "TempoSyncedTime.h"

#include "FloatComparison.h"

float TempoSyncedTime::syncedSeconds (NoteTable::Fraction noteValue, int denominator, double tempoBpm) noexcept
{
    const auto beats = (float) (denominator * noteValue.numerator) / (float) juce::jmax (noteValue.denominator, 1);
    return beats * ((float) secondsPerMinute / (float) juce::jmax (tempoBpm, 1.0));
}

bool TempoSyncedTime::takeTiming (const juce::AudioPlayHead::PositionInfo& position) noexcept
{
    bool changed = false;

    if (const auto signature = position.getTimeSignature())
    {
        const auto numerator = juce::jmax (1, signature->numerator);
        const auto denominator = juce::jmax (1, signature->denominator);

        if (numerator != timeSigNumerator || denominator != timeSigDenominator)
        {
            timeSigNumerator = numerator;
            timeSigDenominator = denominator;
            changed = true;
        }
    }

    if (const auto bpm = position.getBpm())
    {
        // A host tempo that is not a number is no tempo at all.
        if (std::isfinite (*bpm))
        {
            const auto newTempo = juce::jmax (minimumTempoBpm, *bpm);

            if (! isApproximatelyEqual (newTempo, tempo))
            {
                tempo = newTempo;
                changed = true;
            }
        }
    }

    return changed;
}

void TempoSyncedTime::setHostTiming (const juce::AudioPlayHead::PositionInfo& position) noexcept
{
    // A synced time follows the new timing at once: the next block would see no change.
    if (takeTiming (position) && synced)
        recompute();
}

float TempoSyncedTime::update (bool shouldBeSynced,
                               float noteParameter,
                               float freeTimeMs,
                               const juce::Optional<juce::AudioPlayHead::PositionInfo>& position) noexcept
{
    bool needsRecompute = false;

    if (shouldBeSynced != synced)
    {
        synced = shouldBeSynced;
        // Entering sync always takes the note time, even when the note is unchanged.
        needsRecompute = synced;
    }

    const auto newNote = NoteTable::fractionFor (noteParameter);

    if (synced && newNote != note)
    {
        note = newNote;
        needsRecompute = true;
    }

    if (! synced)
    {
        const auto freeSeconds = (std::isfinite (freeTimeMs) ? juce::jmax (0.0f, freeTimeMs) : 0.0f) * secondsPerMillisecond;

        if (! isApproximatelyEqual (freeSeconds, seconds))
            seconds = freeSeconds;
    }
    else if (position.hasValue() && takeTiming (*position))
    {
        needsRecompute = true;
    }

    if (needsRecompute)
        recompute();

    return seconds;
}
