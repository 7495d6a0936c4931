// Words and numbers read as formatted input reads them: every number form
// gives strtof's or strtol's value and stops where they stop, and words split
// on any white space. The same tests run again in a build that reads numbers
// with the C library alone (see tests/CMakeLists.txt).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/text_scanner.h"

namespace {

// What a reader made of a text: the value (a float's bits) and the bytes
// taken after the leading white space.
struct Reading {
    bool read = false;
    int64_t value = 0;
    size_t consumed = 0;
    bool operator==(const Reading&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Reading& r) {
    return r.read ? out << r.value << " taking " << r.consumed : out << "nothing";
}

int64_t valueOf(float f) {
    uint32_t bits;
    memcpy(&bits, &f, sizeof bits);
    return bits;
}

int64_t valueOf(int32_t i) {
    return i;
}

size_t whiteSpaceLength(std::string_view text) {
    size_t n = 0;
    while (n < text.size() && isWhiteSpace(text[n])) {
        ++n;
    }
    return n;
}

// The scanner reads text from a buffer whose next byte is a digit, so
// reading past the end of the text would show.
template <typename Number>
Reading scanned(std::string_view text, bool (*read)(TextScanner&, Number&)) {
    const std::string buffer = std::string(text) + "7";
    TextScanner scanner = scanText(std::string_view(buffer).substr(0, text.size()));
    Number value{};
    Reading result;
    result.read = read(scanner, value);
    result.value = result.read ? valueOf(value) : 0;
    result.consumed = static_cast<size_t>(scanner.cursor - buffer.data()) - whiteSpaceLength(text);
    return result;
}

// The oracle: strtof, or strtol with base 0 clamped to 32 bits, on the same
// bytes (they hold no NUL here).
template <typename Convert>
Reading converted(std::string_view view, Convert convert) {
    const std::string text(view);
    char* stop = nullptr;
    const auto value = convert(text.c_str(), &stop);
    Reading result;
    result.read = stop != text.c_str();
    if (result.read) {
        result.value = valueOf(value);
        result.consumed = static_cast<size_t>(stop - text.c_str()) - whiteSpaceLength(text);
    }
    return result;
}

testing::AssertionResult readsLikeTheCLibrary(std::string_view text) {
    const Reading f = scanned(text, readFloat);
    Reading fReference =
        converted(text, [](const char* s, char** stop) { return strtof(s, stop); });
#if defined(_WIN32)
    // MinGW-w64's strtof stops after "nan" at an unclosed "nan(" but still
    // reads a payload from what follows; the bytes it took alone give the
    // plain NaN the C standard asks for.
    const std::string taken(text.substr(whiteSpaceLength(text), fReference.consumed));
    if (fReference.read && std::isnan(strtof(taken.c_str(), nullptr)) && taken.back() != ')') {
        fReference.value = valueOf(strtof(taken.c_str(), nullptr));
    }
#endif
    const Reading i = scanned(text, readInt);
    const Reading iReference = converted(text, [](const char* s, char** stop) {
        return static_cast<int32_t>(std::clamp<long>(strtol(s, stop, 0), INT32_MIN, INT32_MAX));
    });
    if (f == fReference && i == iReference) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << '"' << text << "\": readFloat " << f << ", strtof " << fReference << "; readInt " << i
           << ", strtol " << iReference;
}

TEST(TextScannerTest, NumberFormsMatchStrtofAndStrtol) {
    const char* forms[] = {
        // plain decimals, signs, points, leading zeros (octal for %i)
        "0", "-0", "+0", "7", "-7", "+7", "1.", ".5", "-.5", "+.5", "0.000001", "123.456",
        "-12.345678", "000123", "010", "08", "0777", "3.14159265358979323846", " \t\r\n\v\f7",
        // exponents, complete and cut short
        "1e5", "1E-5", "1e+5", "1e", "1e+", "1e-x", "2.5e3x", ".5e1", "1.e2",
        "1e0000000000000000003",
        // extremes: overflow, underflow, subnormals, the largest float, int32
        "1e39", "-1e400", "1e-39", "1e-45", "1e-46", "1.17549435e-38", "3.4028235e38",
        "3.4028236e38", "340282356779733661637539395458142568448", "1e-400",
        "0.00000000000000000000000000000000000000000001401298464324817", "2147483647", "2147483648",
        "-2147483648", "-2147483649", "99999999999999999999999",
        // halfway cases for single precision
        "16777217", "16777219", "33554434", "0.500000029802322387695312", "8388609.5",
        "1.00000005960464477539062499", "1.000000059604644775390625",
        "1.00000005960464477539062501",
        // many digits
        "1234567890123456789", "12345678901234567890", "0.12345678901234567890123",
        "9007199254740993", "100000000000000000000000", "1e22", "1e23", "1e-22", "1e-23",
        // hexadecimal
        "0x1p3", "0X1.8P-1", "-0x1p-149", "0x", "0xg", "0x.8", "0x1p", "0x1p+", "0xAbC.dEfp2",
        "0x1.fffffep127", "0x1.ffffffp127", "00x1", "0x1f", "-0x80000000", "0xffffffffffffffffffff",
        // infinity and NaN
        "inf", "INF", "-Infinity", "infinity", "infin", "iNfInItYx", "nan", "NaN", "-nan",
        "nan(123)", "nan(abc_DEF)", "nan(", "nan(abc", "nan()", "nanx", "in", "n",
        // no number
        "", " ", ".", "+", "-", "-.", "+-1", "e5", "x", "/1", "abc"};
    for (const char* form : forms) {
        for (const char* after : {"", "abc", "/7", " 9"}) {
            EXPECT_TRUE(readsLikeTheCLibrary(std::string(form) + after));
        }
    }
}

// Random decimals as exporters and printf write them, with every precision:
// the fast path, checked against strtof.
TEST(TextScannerTest, RandomDecimalsMatchStrtof) {
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<int> precision(0, 12);
    std::uniform_int_distribution<int> style(0, 3);
    std::uniform_int_distribution<int> exponent(-30, 30);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const char* const formats[] = {"%.*f", "%.*e", "%.*g"};
    char text[80];
    for (int i = 0; i < 300000; ++i) {
        const double value = unit(random) * std::pow(10.0, exponent(random) / 3);
        const int p = precision(random);
        const int s = style(random);
        if (s < 3) {
            snprintf(text, sizeof text, formats[s], s == 2 ? p + 1 : p, value);
        } else {
            // Random digit strings hit rounding boundaries more often.
            snprintf(text, sizeof text, "%llu.%llue%d",
                     static_cast<unsigned long long>(random() % 100000000),
                     static_cast<unsigned long long>(random() % 1000000000000ull),
                     exponent(random));
        }
        ASSERT_TRUE(readsLikeTheCLibrary(text));
    }
}

// Short random strings over the characters numbers are made of.
TEST(TextScannerTest, RandomNumberLikeTextMatchesStrtofAndStrtol) {
    static constexpr char alphabet[] = "0123456789012345678901234567.eE+-xXpPaAfFinftyINFTY()_/ ";
    std::mt19937_64 random(7);
    std::uniform_int_distribution<size_t> pick(0, sizeof alphabet - 2);
    std::uniform_int_distribution<int> length(0, 14);
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n) {
            text += alphabet[pick(random)];
        }
        ASSERT_TRUE(readsLikeTheCLibrary(text));
    }
}

// A number ends inside a word where strtof ends, and nothing of a failed
// number but white space is consumed.
TEST(TextScannerTest, NumbersStopInsideWords) {
    TextScanner scanner = scanText("12abc 3.5e");
    int32_t i = 0;
    ASSERT_TRUE(readInt(scanner, i));
    EXPECT_EQ(i, 12);
    float f = 0.0f;
    EXPECT_FALSE(readFloat(scanner, f));
    EXPECT_EQ(readWord(scanner), "abc");
    ASSERT_TRUE(readFloat(scanner, f));
    EXPECT_EQ(f, 3.5f);
    EXPECT_EQ(readWord(scanner), "e");
    EXPECT_EQ(readWord(scanner), "");
}

TEST(TextScannerTest, SlashIntegerNeedsTheSlashRightHere) {
    TextScanner scanner = scanText("/7 /8 //9");
    int32_t value = 0;
    ASSERT_TRUE(readSlashInt(scanner, value));
    EXPECT_EQ(value, 7);
    EXPECT_FALSE(readSlashInt(scanner, value)); // a blank before the slash
    EXPECT_EQ(readWord(scanner), "/8");
    // The slash is consumed even when no integer follows it.
    skipWhiteSpace(scanner);
    EXPECT_FALSE(readSlashInt(scanner, value));
    EXPECT_EQ(readWord(scanner), "/9");
    // %i skips white space after the slash, newlines included.
    TextScanner spaced = scanText("/\n 5");
    ASSERT_TRUE(readSlashInt(spaced, value));
    EXPECT_EQ(value, 5);
}

TEST(TextScannerTest, WordsSplitOnEveryWhiteSpaceAndKeepNulBytes) {
    const std::string text("a\tb\r\nc\vd\fe  \x01\x7f\xff", 15);
    TextScanner scanner = scanText(text);
    std::vector<std::string> words;
    for (std::string_view w = readWord(scanner); !w.empty(); w = readWord(scanner)) {
        words.emplace_back(w);
    }
    EXPECT_EQ(words, (std::vector<std::string>{"a", "b", "c", "d", "e", "\x01\x7f\xff"}));

    const std::string withNul("ab\0cd ef", 8);
    TextScanner nul = scanText(withNul);
    EXPECT_EQ(readWord(nul), std::string_view("ab\0cd", 5));
    EXPECT_EQ(readWord(nul), "ef");
}

TEST(TextScannerTest, SkipLineConsumesTheWholeLineHoweverLong) {
    const std::string text = "# " + std::string(100000, 'x') + " v 1 2 3\nnext";
    TextScanner scanner = scanText(text);
    EXPECT_EQ(readWord(scanner), "#");
    skipLine(scanner);
    EXPECT_EQ(readWord(scanner), "next");
    skipLine(scanner); // no newline left: to the end
    EXPECT_EQ(scanner.cursor, scanner.end);
    skipLine(scanner);
    EXPECT_EQ(scanner.cursor, scanner.end);
}

} // namespace
