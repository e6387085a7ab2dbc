#pragma once

/** The parameter IDs: the keys of host state and preset files, spelled exactly. */
namespace OrynParamIDs
{
inline constexpr const char* predelaySyncOption = "predelaySyncOption";
inline constexpr const char* predelayFreeTime = "predelayFreeTime";
inline constexpr const char* predelayNoteTime = "predelayNoteTime";
inline constexpr const char* feedback = "feedback";
inline constexpr const char* size = "size";
inline constexpr const char* diffusion = "diffusion";
inline constexpr const char* freeze = "freeze";
inline constexpr const char* lowCut = "lowCut";
inline constexpr const char* hiCut = "hiCut";
inline constexpr const char* pitchNote1 = "pitchNote1";
inline constexpr const char* pitchShift1Gain = "pitchShift1Gain";
inline constexpr const char* pitchShift1Reverse = "pitchShift1Reverse";
inline constexpr const char* pitchNote2 = "pitchNote2";
inline constexpr const char* pitchShift2Gain = "pitchShift2Gain";
inline constexpr const char* pitchShift2Reverse = "pitchShift2Reverse";
inline constexpr const char* freqShiftFreq = "freqShiftFreq";
inline constexpr const char* freqShiftReverse = "freqShiftReverse";
inline constexpr const char* freqShiftGain = "freqShiftGain";
inline constexpr const char* width = "width";
inline constexpr const char* mod = "mod";
inline constexpr const char* dry = "dry";
inline constexpr const char* wet = "wet";
inline constexpr const char* dryEnabled = "dryEnabled";
inline constexpr const char* wetEnabled = "wetEnabled";

inline constexpr int numParameters = 24;

/** All IDs in layout order. */
inline constexpr const char* all[numParameters] = {
    predelaySyncOption,
    predelayFreeTime,
    predelayNoteTime,
    feedback,
    size,
    diffusion,
    freeze,
    lowCut,
    hiCut,
    pitchNote1,
    pitchShift1Gain,
    pitchShift1Reverse,
    pitchNote2,
    pitchShift2Gain,
    pitchShift2Reverse,
    freqShiftFreq,
    freqShiftReverse,
    freqShiftGain,
    width,
    mod,
    dry,
    wet,
    dryEnabled,
    wetEnabled
};
} // namespace OrynParamIDs
