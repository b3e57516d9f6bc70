#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace zentrail {

// Room for the longest text either function writes.
inline constexpr size_t kNumberTextRoom = 40;

// The text SQLite gives an integer value: plain decimal digits.
std::string_view SqliteIntegerText(int64_t value, std::span<char, kNumberTextRoom> room);

// The text SQLite 3.40 gives a real value ("%!.15g": 15 significant digits, trailing zeros
// dropped but one digit kept after the point, exponent form below 1e-4 and from 1e15).
// SQLite's digits are not always correctly rounded (it works in long double and rounds down
// some values just past a halfway point), so its own digit loop is followed step by step
// wherever the value's shortest text has more than 15 significant digits or an exponent.
std::string_view SqliteRealText(double value, std::span<char, kNumberTextRoom> room);

}  // namespace zentrail
