#include "FactoryPresetTable.h"

#include "OrynParamIDs.h"

namespace
{
namespace id = OrynParamIDs;

// Interval indices of the pitch branches.
constexpr float octaveDown = 0.0f;
constexpr float tenCentsDown = 12.0f;
constexpr float unison = 13.0f;
constexpr float tenCentsUp = 14.0f;
constexpr float fifthUp = 21.0f;
constexpr float octaveUp = 26.0f;
constexpr float twoOctavesUp = 28.0f;

// Note indices of the synced pre-delay.
constexpr float eighthNote = 9.0f;

constexpr float on = 1.0f;
constexpr float off = 0.0f;
} // namespace

const std::vector<FactoryPresetTable::Preset>& FactoryPresetTable::getPresets()
{
    // The pitch branches are on by default; the plain rooms switch them off.
    static const std::vector<Preset> presets{
        { "Halls", "Concert Hall", { { id::predelayFreeTime, 25.0f }, { id::feedback, 55.0f }, { id::size, 75.0f }, { id::diffusion, 90.0f }, { id::lowCut, 80.0f }, { id::hiCut, 9000.0f }, { id::pitchShift1Gain, 0.0f }, { id::pitchShift2Gain, 0.0f }, { id::mod, 30.0f }, { id::dry, 0.0f }, { id::wet, -10.0f } } },
        { "Halls", "Cathedral", { { id::predelayFreeTime, 45.0f }, { id::feedback, 78.0f }, { id::size, 100.0f }, { id::lowCut, 60.0f }, { id::hiCut, 7000.0f }, { id::pitchShift1Gain, 0.0f }, { id::pitchShift2Gain, 0.0f }, { id::mod, 40.0f }, { id::dry, -2.0f }, { id::wet, -8.0f } } },
        { "Halls", "Small Chamber", { { id::predelayFreeTime, 8.0f }, { id::feedback, 35.0f }, { id::size, 40.0f }, { id::diffusion, 80.0f }, { id::lowCut, 120.0f }, { id::hiCut, 12000.0f }, { id::pitchShift1Gain, 0.0f }, { id::pitchShift2Gain, 0.0f }, { id::width, 80.0f }, { id::mod, 20.0f }, { id::dry, 0.0f }, { id::wet, -12.0f } } },
        { "Halls", "Dark Vault", { { id::predelayFreeTime, 60.0f }, { id::feedback, 70.0f }, { id::size, 90.0f }, { id::lowCut, 40.0f }, { id::hiCut, 3000.0f }, { id::pitchShift1Gain, 0.0f }, { id::pitchShift2Gain, 0.0f }, { id::mod, 55.0f }, { id::dry, -3.0f }, { id::wet, -8.0f } } },
        { "Halls", "Synced Plate 1-8", { { id::predelaySyncOption, on }, { id::predelayNoteTime, eighthNote }, { id::feedback, 45.0f }, { id::size, 55.0f }, { id::lowCut, 150.0f }, { id::hiCut, 14000.0f }, { id::pitchShift1Gain, 0.0f }, { id::pitchShift2Gain, 0.0f }, { id::mod, 25.0f }, { id::dry, 0.0f }, { id::wet, -10.0f } } },

        { "Shimmer", "Classic Shimmer", { { id::feedback, 70.0f }, { id::size, 90.0f }, { id::pitchNote1, octaveUp }, { id::pitchShift1Gain, 80.0f }, { id::pitchShift2Gain, 0.0f }, { id::lowCut, 200.0f }, { id::hiCut, 12000.0f }, { id::dry, -3.0f }, { id::wet, -6.0f } } },
        { "Shimmer", "Octave Cascade", { { id::feedback, 75.0f }, { id::size, 95.0f }, { id::pitchNote1, octaveUp }, { id::pitchShift1Gain, 85.0f }, { id::pitchNote2, twoOctavesUp }, { id::pitchShift2Gain, 60.0f }, { id::lowCut, 250.0f }, { id::hiCut, 14000.0f }, { id::mod, 60.0f } } },
        { "Shimmer", "Fifth Heaven", { { id::feedback, 68.0f }, { id::size, 85.0f }, { id::pitchNote1, fifthUp }, { id::pitchShift1Gain, 70.0f }, { id::pitchNote2, octaveUp }, { id::pitchShift2Gain, 50.0f }, { id::lowCut, 180.0f }, { id::hiCut, 11000.0f } } },
        { "Shimmer", "Sub Shimmer", { { id::feedback, 65.0f }, { id::size, 85.0f }, { id::pitchNote1, octaveDown }, { id::pitchShift1Gain, 70.0f }, { id::pitchNote2, octaveUp }, { id::pitchShift2Gain, 40.0f }, { id::lowCut, 40.0f }, { id::hiCut, 8000.0f } } },
        { "Shimmer", "Reverse Bloom", { { id::predelayFreeTime, 30.0f }, { id::feedback, 60.0f }, { id::pitchNote1, octaveUp }, { id::pitchShift1Gain, 80.0f }, { id::pitchShift1Reverse, on }, { id::pitchNote2, fifthUp }, { id::pitchShift2Gain, 50.0f }, { id::pitchShift2Reverse, on }, { id::lowCut, 150.0f } } },

        { "Frozen", "Frozen Pad", { { id::freeze, on }, { id::feedback, 90.0f }, { id::size, 100.0f }, { id::pitchShift1Gain, 30.0f }, { id::pitchShift2Gain, 0.0f }, { id::lowCut, 100.0f }, { id::hiCut, 10000.0f }, { id::mod, 40.0f }, { id::dry, 0.0f } } },
        { "Frozen", "Ice Field", { { id::freeze, on }, { id::size, 100.0f }, { id::pitchNote1, octaveUp }, { id::pitchShift1Gain, 40.0f }, { id::pitchShift2Gain, 20.0f }, { id::lowCut, 150.0f }, { id::hiCut, 8000.0f }, { id::mod, 70.0f } } },
        { "Frozen", "Infinite Drone", { { id::freeze, on }, { id::feedback, 100.0f }, { id::size, 100.0f }, { id::pitchShift1Gain, 0.0f }, { id::pitchShift2Gain, 0.0f }, { id::lowCut, 60.0f }, { id::hiCut, 5000.0f }, { id::mod, 20.0f }, { id::wet, -4.0f } } },
        { "Frozen", "Frozen Wash Wet Only", { { id::freeze, on }, { id::size, 100.0f }, { id::pitchShift1Gain, 20.0f }, { id::pitchShift2Gain, 10.0f }, { id::hiCut, 9000.0f }, { id::dryEnabled, off }, { id::wet, -3.0f } } },

        { "Textures", "Barber Pole", { { id::feedback, 75.0f }, { id::size, 85.0f }, { id::pitchShift1Gain, 0.0f }, { id::pitchShift2Gain, 0.0f }, { id::freqShiftFreq, 7.0f }, { id::freqShiftGain, 60.0f }, { id::mod, 30.0f } } },
        { "Textures", "Metallic Drift", { { id::feedback, 55.0f }, { id::size, 60.0f }, { id::diffusion, 60.0f }, { id::hiCut, 12000.0f }, { id::pitchShift1Gain, 0.0f }, { id::pitchShift2Gain, 0.0f }, { id::freqShiftFreq, 150.0f }, { id::freqShiftGain, 45.0f } } },
        { "Textures", "Down Spiral", { { id::feedback, 72.0f }, { id::size, 90.0f }, { id::hiCut, 6000.0f }, { id::pitchNote1, octaveDown }, { id::pitchShift1Gain, 30.0f }, { id::pitchShift2Gain, 0.0f }, { id::freqShiftFreq, -12.0f }, { id::freqShiftGain, 55.0f } } },
        { "Textures", "Narrow Haze", { { id::feedback, 60.0f }, { id::size, 70.0f }, { id::diffusion, 70.0f }, { id::lowCut, 300.0f }, { id::hiCut, 7000.0f }, { id::pitchShift1Gain, 0.0f }, { id::pitchShift2Gain, 0.0f }, { id::width, 25.0f }, { id::mod, 80.0f } } },
        { "Textures", "Reverse Swell", { { id::predelayFreeTime, 80.0f }, { id::feedback, 50.0f }, { id::size, 70.0f }, { id::pitchNote1, unison }, { id::pitchShift1Gain, 70.0f }, { id::pitchShift1Reverse, on }, { id::pitchNote2, octaveUp }, { id::pitchShift2Gain, 30.0f }, { id::pitchShift2Reverse, on } } },
        { "Textures", "Detuned Chorus Space", { { id::feedback, 45.0f }, { id::size, 65.0f }, { id::pitchNote1, tenCentsUp }, { id::pitchShift1Gain, 60.0f }, { id::pitchNote2, tenCentsDown }, { id::pitchShift2Gain, 60.0f }, { id::mod, 70.0f } } },
    };

    return presets;
}
