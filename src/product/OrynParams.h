#pragma once

#include "OrynParamIDs.h"

#include <juce_audio_processors/juce_audio_processors.h>

/** The product's 24 host parameters and their texts. */
struct OrynParams
{
    static juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();

    /** The 29 interval names of the two pitch parameters, index = parameter value. */
    static const juce::StringArray& getIntervalNames();

    /** The 19 note names of the synced pre-delay, index = parameter value. */
    static const juce::StringArray& getNoteNames();

    /** Frequency-shift value text: whole hertz from 10 Hz, one decimal from 1 Hz, else two. */
    static juce::String frequencyShiftText (float hertz);

    static constexpr int numIntervals = 29;
    static constexpr int numNotes = 19;
};
