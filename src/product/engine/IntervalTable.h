#pragma once

/** The intervals of the two pitch branches: parameter index → semitones. */
struct IntervalTable
{
    static constexpr int numEntries = 30;

    /** Semitones for a parameter value, rounded to the nearest index; an index outside the
        table gives unison. */
    static float semitonesFor (float parameterValue) noexcept;
};
