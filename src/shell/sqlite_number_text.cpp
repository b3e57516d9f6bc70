#include "shell/sqlite_number_text.h"

#include <charconv>
#include <cmath>

namespace zentrail {
namespace {

// The next digit of a value in [0, 10), and the value moved one place left. Past the 26
// digits SQLite trusts, zeros.
char NextDigit(long double& value, int& digitsLeft) {
    if (digitsLeft <= 0) return '0';
    --digitsLeft;
    const int digit = static_cast<int>(value);
    value = (value - static_cast<long double>(digit)) * 10.0;
    return static_cast<char>('0' + digit);
}

// The common case, without SQLite's digit loop: a value whose shortest exact text has at most
// 15 significant digits and needs no exponent. Rounding to 15 digits gives those very digits,
// since the value lies within half a unit of its last place of them, far inside SQLite's
// rounding margin. Empty when the value is not such a case.
std::string_view ShortRealText(double value, std::span<char, kNumberTextRoom> room) {
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4 && magnitude < 1e15)) return {};
    char* const begin = room.data();
    const auto [end, error] =
        std::to_chars(begin, begin + room.size() - 2, value, std::chars_format::fixed);
    if (error != std::errc()) return {};
    int significant = 0;
    bool leading = true;
    bool point = false;
    for (const char* p = begin; p != end; ++p) {
        if (*p == '.') {
            point = true;
        } else if (*p >= '0' && *p <= '9') {
            if (leading && *p == '0') continue;
            leading = false;
            ++significant;
        }
    }
    if (significant > 15) return {};
    char* p = end;
    if (!point) {
        *p++ = '.';
        *p++ = '0';
    }
    return {begin, static_cast<size_t>(p - begin)};
}

}  // namespace

std::string_view SqliteIntegerText(int64_t value, std::span<char, kNumberTextRoom> room) {
    const auto end = std::to_chars(room.data(), room.data() + room.size(), value).ptr;
    return {room.data(), static_cast<size_t>(end - room.data())};
}

std::string_view SqliteRealText(double value, std::span<char, kNumberTextRoom> room) {
    if (const std::string_view text = ShortRealText(value, room); !text.empty()) return text;
    char* out = room.data();
    if (std::isinf(value)) {
        const std::string_view text = value < 0 ? "-Inf" : "Inf";
        return {out, static_cast<size_t>(text.copy(out, text.size()))};
    }
    long double real = value;
    const bool negative = real < 0.0;  // -0.0 is written as 0.0
    if (negative) real = -real;
    int precision = 14;                        // digits after the first
    const double rounder = 5.0e-05 * 1.0e-10;  // half a unit of the 15th digit, as SQLite forms it
    int exponent = 0;
    if (real > 0.0) {  // scaled into [1, 10) the way SQLite scales it
        long double scale = 1.0;
        while (real >= 1e100 * scale && exponent <= 350) {
            scale *= 1e100;
            exponent += 100;
        }
        while (real >= 1e10 * scale && exponent <= 350) {
            scale *= 1e10;
            exponent += 10;
        }
        while (real >= 10.0 * scale && exponent <= 350) {
            scale *= 10.0;
            ++exponent;
        }
        real /= scale;
        while (real < 1e-8) {
            real *= 1e8;
            exponent -= 8;
        }
        while (real < 1.0) {
            real *= 10.0;
            --exponent;
        }
    }
    real += rounder;
    if (real >= 10.0) {
        real *= 0.1;
        ++exponent;
    }
    const bool scientific = exponent < -4 || exponent > precision;
    if (!scientific) precision -= exponent;
    int placesBeforePoint = scientific ? 0 : exponent;
    int digitsLeft = 26;
    char* p = out;
    if (negative) *p++ = '-';
    if (placesBeforePoint < 0) {
        *p++ = '0';
    } else {
        for (; placesBeforePoint >= 0; --placesBeforePoint) *p++ = NextDigit(real, digitsLeft);
    }
    *p++ = '.';
    for (++placesBeforePoint; placesBeforePoint < 0; --precision, ++placesBeforePoint) *p++ = '0';
    while (precision-- > 0) *p++ = NextDigit(real, digitsLeft);
    while (p[-1] == '0') --p;
    if (p[-1] == '.') *p++ = '0';
    if (scientific) {
        *p++ = 'e';
        if (exponent < 0) {
            *p++ = '-';
            exponent = -exponent;
        } else {
            *p++ = '+';
        }
        if (exponent >= 100) {
            *p++ = static_cast<char>('0' + exponent / 100);
            exponent %= 100;
        }
        *p++ = static_cast<char>('0' + exponent / 10);
        *p++ = static_cast<char>('0' + exponent % 10);
    }
    return {out, static_cast<size_t>(p - out)};
}

}  // namespace zentrail
