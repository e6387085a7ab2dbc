#pragma once

#include "Biquad.h"
#include "FirstOrderAllPassPath.h"
#include "SineTableOscillator.h"

/** A single-sideband frequency shifter for one channel.

    Two all-pass paths split the input into a pair of signals 90° apart; multiplied by a
    cosine and a sine at the shift frequency and summed, they give the input moved up (or,
    for a negative shift, down) by that many hertz, with the mirror image cancelled.
    Output filters take away what a recirculating shift pushes out of the audio band.
*/
class FrequencyShifterUnit
{
public:
    FrequencyShifterUnit() noexcept;

    /** Recomputes coefficients and filters when the rate changes; clears the states and
        restarts the oscillators in every case. */
    void prepare (double sampleRate) noexcept;

    /** Clears the states and restarts the oscillators. */
    void reset() noexcept;

    /** Sets the shift in hertz (negative shifts down); takes effect at once, with the
        oscillator phases running on. Non-finite values are ignored. */
    void setShiftFrequency (float hertz) noexcept;

    float getShiftFrequency() const noexcept { return shiftFrequency; }

    float processSample (float x) noexcept
    {
        const auto in = (double) x;
        const auto h1 = (float) path1.process (in);
        const auto h2 = (float) path2.process (in);
        const auto s = sine.getNextValue();
        const auto k = cosine.getNextValue();
        const auto y = k * h1 + s * h2;
        return outputLowPass.processSample (outputHighPass.processSample (y));
    }

    static constexpr float outputHighPassHz = 40.0f;
    static constexpr float outputLowPassBelowNyquistHz = 100.0f;

private:
    void designFilters() noexcept;
    void restartOscillators() noexcept;

    float sampleRate = 0.0f;
    float designSampleRate = 0.0f;
    float shiftFrequency = 0.0f;
    FirstOrderAllPassPath path1, path2;
    SineTableOscillator sine;
    SineTableOscillator cosine;
    Biquad outputHighPass, outputLowPass;
};
