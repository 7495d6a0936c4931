// Words and numbers read from text in memory the way the C library's
// formatted input reads them from a stream.
//
// A word ("%s") is a run of bytes other than white space (the C locale's:
// blank, \t, \n, \v, \f, \r); a NUL byte is an ordinary byte. A number
// ("%f", "%i") skips white space, newlines included, then takes the longest
// prefix that strtof (or strtol with base 0) would take, with exactly their
// value; it stops inside a word as they do, so "12abc" gives 12 and leaves
// "abc". When no number can be read only the white space is consumed.
//
// Plain decimal numbers, nearly all of a model file, are read by the C++
// library's from_chars, which gives strtof's and strtol's value for them;
// every other form (a '+' sign, octal and hexadecimal, infinities, NaN,
// numbers out of range) goes to strtof or strtol on a copy.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <version>

// Where the C++ library has no floating-point from_chars (the browser
// build's), strtof and strtol read every number.
// TIDEMOOR_NUMBERS_WITHOUT_FROM_CHARS forces that build, for its tests.
#if defined(__cpp_lib_to_chars) && !defined(TIDEMOOR_NUMBERS_WITHOUT_FROM_CHARS)
#define TIDEMOOR_NUMBERS_FROM_CHARS 1
#include <charconv>
#else
#define TIDEMOOR_NUMBERS_FROM_CHARS 0
#endif

struct TextScanner {
    const char* cursor = nullptr;
    const char* end = nullptr;
};

inline TextScanner scanText(std::string_view text) {
    return {text.data(), text.data() + text.size()};
}

inline bool isWhiteSpace(char c) {
    return c == ' ' || static_cast<unsigned char>(c - '\t') <= '\r' - '\t';
}

inline bool isDecimalDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

inline void skipWhiteSpace(TextScanner& text) {
    while (text.cursor != text.end && isWhiteSpace(*text.cursor)) {
        ++text.cursor;
    }
}

// "%s": the next word, or an empty view at the end of the text.
inline std::string_view readWord(TextScanner& text) {
    skipWhiteSpace(text);
    const char* start = text.cursor;
    while (text.cursor != text.end && !isWhiteSpace(*text.cursor)) {
        ++text.cursor;
    }
    return {start, static_cast<size_t>(text.cursor - start)};
}

// Consumes the rest of the current line and its newline, however long.
void skipLine(TextScanner& text);

// "%f" and "%i" read by strtof and strtol alone, on a terminated copy of
// the bytes a number could take. These give every form its exact meaning;
// readFloat and readInt use them for every number but plain decimals, and
// for every number where the C++ library has no floating-point from_chars.
bool readFloatWithCLibrary(TextScanner& text, float& value);
bool readIntWithCLibrary(TextScanner& text, int32_t& value);

#if TIDEMOOR_NUMBERS_FROM_CHARS
// from_chars on a decimal at the cursor (after the white space), out of line
// so that the common paths of readFloat and readInt stay small enough to
// inline. readDecimalWithFromChars reads nothing and returns false for a
// value out of range; readIntWithFromChars clamps it as strtol does.
bool readDecimalWithFromChars(TextScanner& text, float& value);
bool readIntWithFromChars(TextScanner& text, int32_t& value);
#endif

#if TIDEMOOR_NUMBERS_FROM_CHARS
// A decimal of at most 15 digits and 22 after the point, with no exponent,
// read from p (a '-' or the first digit or point) as strtof reads it: the
// digits and the power of ten are exact doubles, so their quotient is the
// value rounded once, and rounding that to a float is rounding once too
// unless it lies exactly halfway between two floats. False, with nothing
// read, for every other form; those go to from_chars. The models' numbers
// ("-19.873418") nearly all take this path, at a fraction of from_chars'
// cost.
inline bool readPlainDecimal(const char* p, const char* end, float& value, const char*& stop) {
    static constexpr double powersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const bool negative = *p == '-';
    const char* q = negative ? p + 1 : p;
    // Wraps harmlessly beyond 19 digits; such numbers are refused below.
    uint64_t mantissa = 0;
    size_t digits = 0;
    for (; q != end && isDecimalDigit(*q); ++q, ++digits) {
        mantissa = mantissa * 10 + static_cast<uint64_t>(*q - '0');
    }
    size_t fraction = 0;
    if (q != end && *q == '.') {
        for (++q; q != end && isDecimalDigit(*q); ++q, ++fraction) {
            mantissa = mantissa * 10 + static_cast<uint64_t>(*q - '0');
        }
    }
    digits += fraction;
    if (digits == 0 || digits > 15 || fraction > 22 || (q != end && (*q | 0x20) == 'e')) {
        return false;
    }
    const double quotient = static_cast<double>(mantissa) / powersOfTen[fraction];
    uint64_t bits;
    std::memcpy(&bits, &quotient, sizeof bits);
    // The 29 bits a float drops, at exactly one half of its last place.
    constexpr uint64_t dropped = (uint64_t{1} << 29) - 1;
    if ((bits & dropped) == uint64_t{1} << 28) {
        return false;
    }
    value = static_cast<float>(negative ? -quotient : quotient);
    stop = q;
    return true;
}
#endif

// "%f": false when no number starts here; value is then unchanged.
inline bool readFloat(TextScanner& text, float& value) {
    skipWhiteSpace(text);
    const char* p = text.cursor;
    const char* const end = text.end;
    // strtof reads nothing unless a digit, a point, or the i or n of an
    // infinity or NaN follows the sign.
    const char* const digits = p != end && (*p == '-' || *p == '+') ? p + 1 : p;
    if (digits == end) {
        return false;
    }
    const bool decimal = isDecimalDigit(*digits) || *digits == '.';
    if (!decimal && (*digits | 0x20) != 'i' && (*digits | 0x20) != 'n') {
        return false;
    }
#if TIDEMOOR_NUMBERS_FROM_CHARS
    // from_chars takes the decimal forms strtof takes, with the same value,
    // but no '+' sign, reads "0x1p3" as 0, and leaves results out of range
    // unset: those go to strtof.
    if (decimal && *p != '+' &&
        !(*digits == '0' && end - digits > 1 && (digits[1] | 0x20) == 'x')) {
        const char* plainStop = nullptr;
        if (readPlainDecimal(p, end, value, plainStop)) {
            text.cursor = plainStop;
            return true;
        }
        if (readDecimalWithFromChars(text, value)) {
            return true;
        }
    }
#endif
    return readFloatWithCLibrary(text, value);
}

// "%i": decimal, octal after a leading 0, hexadecimal after 0x, with an
// optional sign. A value outside the 32-bit range is clamped to it, as strtol
// clamps to its own range.
inline bool readInt(TextScanner& text, int32_t& value) {
    skipWhiteSpace(text);
    const char* p = text.cursor;
    const char* const end = text.end;
    // strtol reads nothing unless a digit follows the sign.
    const char* const digits = p != end && (*p == '-' || *p == '+') ? p + 1 : p;
    if (digits == end || !isDecimalDigit(*digits)) {
        return false;
    }
#if TIDEMOOR_NUMBERS_FROM_CHARS
    // from_chars reads decimals only, without a '+' sign; a leading 0 makes
    // octal or hexadecimal, and those go to strtol.
    if (*p != '+' && *digits != '0') {
        // Up to ten digits fit 64 bits and are read here, more by from_chars.
        const char* q = digits;
        uint64_t magnitude = 0;
        for (; q != end && isDecimalDigit(*q) && q - digits < 10; ++q) {
            magnitude = magnitude * 10 + static_cast<uint64_t>(*q - '0');
        }
        if (q == end || !isDecimalDigit(*q)) {
            const auto signedValue =
                *p == '-' ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
            value = static_cast<int32_t>(std::clamp<int64_t>(signedValue, INT32_MIN, INT32_MAX));
            text.cursor = q;
            return true;
        }
        return readIntWithFromChars(text, value);
    }
#endif
    return readIntWithCLibrary(text, value);
}

// "/%i": a slash right here, then an integer. When the integer is missing the
// slash stays consumed, as with formatted input.
inline bool readSlashInt(TextScanner& text, int32_t& value) {
    if (text.cursor == text.end || *text.cursor != '/') {
        return false;
    }
    ++text.cursor;
    return readInt(text, value);
}
