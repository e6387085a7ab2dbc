#pragma once

/** One block's parameter values as the engine reads them: plain values in the host
    parameters' own units, in the parameter layout's order. The initial values are the
    parameters' defaults. Toggles count as on from 0.5. */
struct EngineParameters
{
    float predelaySyncOption = 0.0f; // toggle
    float predelayFreeTime = 0.0f; // ms
    float predelayNoteTime = 6.0f; // note index
    float feedback = 50.0f; // %
    float size = 80.0f; // %
    float diffusion = 100.0f; // %
    float freeze = 0.0f; // toggle
    float lowCut = 10.0f; // Hz
    float hiCut = 20000.0f; // Hz
    float pitchNote1 = 26.0f; // interval index
    float pitchShift1Gain = 90.0f; // %
    float pitchShift1Reverse = 0.0f; // toggle
    float pitchNote2 = 28.0f; // interval index
    float pitchShift2Gain = 75.0f; // %
    float pitchShift2Reverse = 0.0f; // toggle
    float freqShiftFreq = 0.0f; // Hz
    float freqShiftReverse = 0.0f; // toggle
    float freqShiftGain = 0.0f; // %
    float width = 100.0f; // %
    float mod = 50.0f; // %
    float dry = -6.0f; // dB
    float wet = -6.0f; // dB
    float dryEnabled = 1.0f; // toggle
    float wetEnabled = 1.0f; // toggle

    static constexpr float toggleThreshold = 0.5f;

    static bool isOn (float toggle) noexcept { return toggle >= toggleThreshold; }
};
