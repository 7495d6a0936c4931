// The rarely taken paths of the text scanner: skipping lines and handing
// numbers that are not plain decimals to strtof and strtol.
#include "geometry/text_scanner.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool isLetterOrDigit(char c) {
    return isDecimalDigit(c) || static_cast<unsigned char>((c | 0x20) - 'a') < 26;
}

// End of the bytes strtof could possibly take from start (which follows the
// white space): a superset, so that strtof's own end pointer decides.
const char* numberCandidateEnd(const char* start, const char* end) {
    const char* p = start;
    if (p != end && (*p == '+' || *p == '-')) {
        ++p;
    }
    if (p == end) {
        return p;
    }
    const char first = static_cast<char>(*p | 0x20);
    if (first == 'i') {
        // "inf" or "infinity"; nothing longer can be taken.
        const char* limit = end - p > 8 ? p + 8 : end;
        while (p != limit && isLetterOrDigit(*p)) {
            ++p;
        }
        return p;
    }
    if (first == 'n') {
        // "nan", optionally followed by "(letters, digits, underscores)".
        const char* limit = end - p > 3 ? p + 3 : end;
        while (p != limit && isLetterOrDigit(*p)) {
            ++p;
        }
        if (p != end && *p == '(') {
            const char* q = p + 1;
            while (q != end && (isLetterOrDigit(*q) || *q == '_')) {
                ++q;
            }
            if (q != end && *q == ')') {
                p = q + 1;
            }
        }
        return p;
    }
    // Decimal or hexadecimal digits, point, exponent and its sign.
    while (p != end && (isLetterOrDigit(*p) || *p == '.' || *p == '+' || *p == '-')) {
        ++p;
    }
    return p;
}

// End of the bytes strtol could possibly take: a sign, then digits, letters
// (hexadecimal digits and the x of 0x).
const char* integerCandidateEnd(const char* start, const char* end) {
    const char* p = start;
    if (p != end && (*p == '+' || *p == '-')) {
        ++p;
    }
    while (p != end && isLetterOrDigit(*p)) {
        ++p;
    }
    return p;
}

// Calls read(copy, &stop) on a terminated copy of [start, candidateEnd) and
// moves the cursor as far as read took; false when it took nothing.
template <typename Read>
bool readTerminatedCopy(TextScanner& text, const char* candidateEnd, Read read) {
    const char* start = text.cursor;
    const size_t length = static_cast<size_t>(candidateEnd - start);
    // Nearly every candidate fits the stack.
    char small[64];
    std::string large;
    char* copy = small;
    if (length < sizeof small) {
        memcpy(small, start, length);
        small[length] = '\0';
    } else {
        large.assign(start, length);
        copy = large.data();
    }
    char* stop = copy;
    read(copy, &stop);
    if (stop == copy) {
        return false;
    }
    text.cursor = start + (stop - copy);
    return true;
}

} // namespace

#if TIDEMOOR_NUMBERS_FROM_CHARS
bool readDecimalWithFromChars(TextScanner& text, float& value) {
    const auto [stop, error] = std::from_chars(text.cursor, text.end, value);
    if (error != std::errc()) {
        return false;
    }
    text.cursor = stop;
    return true;
}

bool readIntWithFromChars(TextScanner& text, int32_t& value) {
    const auto [stop, error] = std::from_chars(text.cursor, text.end, value);
    if (error == std::errc::result_out_of_range) {
        value = *text.cursor == '-' ? INT32_MIN : INT32_MAX;
    }
    text.cursor = stop;
    return true;
}
#endif

void skipLine(TextScanner& text) {
    if (text.cursor == text.end) {
        return;
    }
    const auto* newline = static_cast<const char*>(
        memchr(text.cursor, '\n', static_cast<size_t>(text.end - text.cursor)));
    text.cursor = newline != nullptr ? newline + 1 : text.end;
}

bool readFloatWithCLibrary(TextScanner& text, float& value) {
    skipWhiteSpace(text);
    float result = 0.0f;
    if (!readTerminatedCopy(text, numberCandidateEnd(text.cursor, text.end),
                            [&](const char* copy, char** stop) { result = strtof(copy, stop); })) {
        return false;
    }
    value = result;
    return true;
}

bool readIntWithCLibrary(TextScanner& text, int32_t& value) {
    skipWhiteSpace(text);
    long result = 0;
    if (!readTerminatedCopy(
            text, integerCandidateEnd(text.cursor, text.end),
            [&](const char* copy, char** stop) { result = strtol(copy, stop, 0); })) {
        return false;
    }
    value = static_cast<int32_t>(std::clamp<long>(result, INT32_MIN, INT32_MAX));
    return true;
}
