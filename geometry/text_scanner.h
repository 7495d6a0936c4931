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
// Plain decimal numbers, nearly all of a model file, are converted here
// without the C library; anything else (hexadecimal floats, infinities, NaN,
// very long or extreme numbers) goes to strtof on a copy.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

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

// The run of decimal digits at p: returns its end, and gives its length
// and, for at most 19 digits, its value. Eight digits at a time where the
// text has eight more bytes: plain indices and coordinates are short runs,
// and a loop with a branch per digit mispredicts its end every time.
inline const char* scanDigits(const char* p, const char* end, uint64_t& value, int& count) {
    constexpr uint64_t zeros = 0x3030303030303030ull; // '0' in every byte
    value = 0;
    count = 0;
    while (end - p >= 8) {
        uint64_t bytes;
        memcpy(&bytes, p, sizeof bytes);
        // Digits become 0 to 9; every other byte gets its top bit set
        // below, without a carry between bytes.
        const uint64_t digits = bytes ^ zeros;
        const uint64_t others =
            (((digits & 0x7F7F7F7F7F7F7F7Full) + 0x7676767676767676ull) | digits) &
            0x8080808080808080ull;
        const int n = others != 0 ? std::countr_zero(others) / 8 : 8;
        if (n > 0) {
            // The first digit is the lowest byte; shifting the n digits to
            // the top gives 8 - n leading zeros. Then pairs, quads, eights.
            uint64_t v = digits << (8 * (8 - n));
            v = v * 10 + (v >> 8);
            v = ((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32)) +
                 ((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32))) >>
                32;
            static constexpr uint64_t scale[9] = {1,      10,      100,      1000,     10000,
                                                  100000, 1000000, 10000000, 100000000};
            value = value * scale[n] + v;
            count += n;
            p += n;
        }
        if (n < 8) {
            return p;
        }
    }
    while (p != end && isDecimalDigit(*p)) {
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        ++count;
        ++p;
    }
    return p;
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

// strtof's reading of a number that is not a short plain decimal; start is
// the first byte after the white space.
bool readFloatSlowly(TextScanner& text, float& value);

// "%f": false when no number starts here.
inline bool readFloat(TextScanner& text, float& value) {
    // Exact powers of ten in double: every product or quotient below is then
    // correctly rounded (at most 2^53 times or over 10^22).
    static constexpr double powersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr int maxDigits = 19; // a uint64_t holds any 19 decimal digits
    static constexpr uint64_t powersOfTenInteger[maxDigits + 1] = {1ull,
                                                                   10ull,
                                                                   100ull,
                                                                   1000ull,
                                                                   10000ull,
                                                                   100000ull,
                                                                   1000000ull,
                                                                   10000000ull,
                                                                   100000000ull,
                                                                   1000000000ull,
                                                                   10000000000ull,
                                                                   100000000000ull,
                                                                   1000000000000ull,
                                                                   10000000000000ull,
                                                                   100000000000000ull,
                                                                   1000000000000000ull,
                                                                   10000000000000000ull,
                                                                   100000000000000000ull,
                                                                   1000000000000000000ull,
                                                                   10000000000000000000ull};

    skipWhiteSpace(text);
    const char* p = text.cursor;
    const char* const end = text.end;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // At most 19 digits in all keep the mantissa exact in 64 bits; longer
    // numbers go to strtof.
    uint64_t mantissa = 0;
    int integerCount = 0;
    const char* const integerStart = p;
    p = scanDigits(p, end, mantissa, integerCount);
    const bool integerDigits = integerCount > 0;
    if (integerCount == 1 && *integerStart == '0' && p != end && (*p == 'x' || *p == 'X')) {
        return readFloatSlowly(text, value); // hexadecimal
    }
    int exponent = 0;
    bool exact = integerCount <= maxDigits;
    bool fractionDigits = false;
    if (p != end && *p == '.') {
        ++p;
        uint64_t fraction = 0;
        int fractionCount = 0;
        p = scanDigits(p, end, fraction, fractionCount);
        fractionDigits = fractionCount > 0;
        if (integerCount + fractionCount <= maxDigits) {
            mantissa = mantissa * powersOfTenInteger[fractionCount] + fraction;
            exponent = -fractionCount;
        } else {
            exact = false;
        }
    }
    if (!integerDigits && !fractionDigits) {
        const char c = integerStart != end ? static_cast<char>(*integerStart | 0x20) : '\0';
        if (c == 'i' || c == 'n') {
            return readFloatSlowly(text, value); // inf, infinity, nan, nan(...)
        }
        return false;
    }
    if (p != end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool negativeExponent = false;
        if (q != end && (*q == '+' || *q == '-')) {
            negativeExponent = *q == '-';
            ++q;
        }
        if (q != end && isDecimalDigit(*q)) {
            int written = 0;
            while (q != end && isDecimalDigit(*q)) {
                if (written < 100000) {
                    written = written * 10 + (*q - '0');
                }
                ++q;
            }
            exponent += negativeExponent ? -written : written;
            p = q;
        }
    }
    if (exact && mantissa == 0) {
        value = negative ? -0.0f : 0.0f;
        text.cursor = p;
        return true;
    }
    if (exact && mantissa <= (uint64_t{1} << 53) && exponent >= -22 && exponent <= 22) {
        double d = static_cast<double>(mantissa);
        d = exponent < 0 ? d / powersOfTen[-exponent] : d * powersOfTen[exponent];
        // d is the correctly rounded double, on the same side of every float
        // rounding boundary as the exact value, or on it; only then can the
        // float conversion round differently from strtof.
        constexpr uint64_t belowFloat = (uint64_t{1} << 29) - 1;
        if ((std::bit_cast<uint64_t>(d) & belowFloat) != uint64_t{1} << 28) {
            const auto f = static_cast<float>(d);
            value = negative ? -f : f;
            text.cursor = p;
            return true;
        }
    }
    return readFloatSlowly(text, value);
}

// "%i": decimal, octal after a leading 0, hexadecimal after 0x, with an
// optional sign. A value outside the 32-bit range is clamped to it, as strtol
// clamps to its own range.
inline bool readInt(TextScanner& text, int32_t& value) {
    constexpr uint64_t limit = uint64_t{1} << 32; // beyond any int32_t magnitude
    skipWhiteSpace(text);
    const char* p = text.cursor;
    const char* const end = text.end;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end || !isDecimalDigit(*p)) {
        return false;
    }
    uint64_t magnitude = 0;
    if (*p != '0') {
        int count = 0;
        p = scanDigits(p, end, magnitude, count);
        // Ten digits or fewer cannot overflow; more are beyond 32 bits.
        magnitude = count <= 10 && magnitude < limit ? magnitude : limit;
    } else if (end - p > 2 && (p[1] == 'x' || p[1] == 'X') &&
               (isDecimalDigit(p[2]) || static_cast<unsigned char>((p[2] | 0x20) - 'a') < 6)) {
        p += 2;
        while (p != end) {
            const char c = *p;
            unsigned digit = 0;
            if (isDecimalDigit(c)) {
                digit = static_cast<unsigned>(c - '0');
            } else if (static_cast<unsigned char>((c | 0x20) - 'a') < 6) {
                digit = static_cast<unsigned>((c | 0x20) - 'a' + 10);
            } else {
                break;
            }
            magnitude = magnitude * 16 + digit;
            magnitude = magnitude < limit ? magnitude : limit;
            ++p;
        }
    } else {
        // The leading 0 is itself an octal digit; "08" reads as 0.
        while (p != end && static_cast<unsigned char>(*p - '0') < 8) {
            magnitude = magnitude * 8 + static_cast<uint64_t>(*p - '0');
            magnitude = magnitude < limit ? magnitude : limit;
            ++p;
        }
    }
    const int64_t signedValue =
        negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    value = signedValue < INT32_MIN   ? INT32_MIN
            : signedValue > INT32_MAX ? INT32_MAX
                                      : static_cast<int32_t>(signedValue);
    text.cursor = p;
    return true;
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
