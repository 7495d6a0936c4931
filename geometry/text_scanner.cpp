// The rarely taken paths of the text scanner: skipping lines and handing
// numbers that are not short plain decimals to strtof.
#include "geometry/text_scanner.h"

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

} // namespace

void skipLine(TextScanner& text) {
    if (text.cursor == text.end) {
        return;
    }
    const auto* newline = static_cast<const char*>(
        memchr(text.cursor, '\n', static_cast<size_t>(text.end - text.cursor)));
    text.cursor = newline != nullptr ? newline + 1 : text.end;
}

bool readFloatSlowly(TextScanner& text, float& value) {
    const char* start = text.cursor;
    const size_t length = static_cast<size_t>(numberCandidateEnd(start, text.end) - start);
    // strtof needs a terminated copy; nearly every candidate fits the stack.
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
    const float result = strtof(copy, &stop);
    if (stop == copy) {
        return false;
    }
    value = result;
    text.cursor = start + (stop - copy);
    return true;
}
