#include "NoteTable.h"

#include <array>
#include <cmath>

namespace
{
constexpr NoteTable::Fraction quarterNote{ 1, 4 };

constexpr std::array<NoteTable::Fraction, NoteTable::lastIndex - NoteTable::firstIndex + 1> fractions{ {
    { 1, 96 }, // -1
    { 1, 64 },
    { 3, 128 },
    { 1, 48 },
    { 1, 32 },
    { 3, 64 },
    { 2, 48 },
    { 1, 16 },
    { 3, 32 },
    { 2, 24 },
    { 1, 8 },
    { 3, 16 },
    { 2, 12 },
    { 1, 4 },
    { 3, 8 },
    { 1, 3 },
    { 1, 2 },
    { 3, 4 },
    { 2, 3 },
    { 1, 1 },
    { 3, 2 },
    { 4, 3 },
    { 2, 1 },
    { 3, 1 },
    { 8, 3 },
    { 4, 1 },
    { 6, 1 },
    { 16, 3 },
    { 8, 1 },
    { 12, 1 },
    { 32, 3 },
    { 16, 1 },
    { 24, 1 },
} };
} // namespace

NoteTable::Fraction NoteTable::fractionFor (float parameterValue) noexcept
{
    if (! std::isfinite (parameterValue))
        return quarterNote;

    const auto index = std::lround (parameterValue);

    if (index < firstIndex || index > lastIndex)
        return quarterNote;

    return fractions[(size_t) (index - firstIndex)];
}
