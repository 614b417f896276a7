#pragma once

#include <QStringView>

#include <cmath>
#include <limits>
#include <optional>

// How the number fields of the data files are read: the platform's rule for turning
// a text into a number, and the rounding that makes an integer of it.
namespace kivo {

// Leading blanks are skipped and reading stops at the first character that cannot
// continue a number; a text without a number gives 0. Decimal numbers may carry a
// sign, a fraction and an exponent (E or D); "&H" and "&O" start hexadecimal and
// octal numbers, which read as 16-bit values up to FFFF and as 32-bit values above.
// A hexadecimal or octal number beyond 32 bits gives infinity, which fits no integer.
double numericValue(QStringView text);

// Rounds to the nearest integer, halves to the even neighbour; no value when the
// result does not fit the type.
template <typename Integer>
std::optional<Integer> roundToInteger(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<Integer>::min())
          && rounded <= static_cast<double>(std::numeric_limits<Integer>::max())))
        return std::nullopt;
    return static_cast<Integer>(rounded);
}

} // namespace kivo
