#pragma once

/** The note values of the synced pre-delay: parameter index → fraction of a whole note.
    The fractions are kept as written (2/24 is not reduced); only their ratio matters. */
struct NoteTable
{
    struct Fraction
    {
        int numerator = 1;
        int denominator = 4;

        bool operator== (const Fraction& other) const noexcept
        {
            return numerator == other.numerator && denominator == other.denominator;
        }

        bool operator!= (const Fraction& other) const noexcept { return ! operator== (other); }
    };

    static constexpr int firstIndex = -1;
    static constexpr int lastIndex = 31;

    /** The fraction for a parameter value, rounded to the nearest index; an index outside
        the table gives a quarter note. */
    static Fraction fractionFor (float parameterValue) noexcept;
};
