// Words and numbers read as formatted input reads them: every number form
// gives strtof's or strtol's value and stops where they stop, and words split
// on any white space.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/text_scanner.h"

namespace {

struct FloatResult {
    bool read = false;
    uint32_t bits = 0;
    size_t consumed = 0; // bytes after the leading white space
};

uint32_t bitsOf(float f) {
    uint32_t bits;
    memcpy(&bits, &f, sizeof bits);
    return bits;
}

size_t whiteSpaceLength(const std::string& text) {
    size_t n = 0;
    while (n < text.size() && isWhiteSpace(text[n])) {
        ++n;
    }
    return n;
}

FloatResult scannedFloat(const std::string& text) {
    TextScanner scanner = scanText(text);
    float value = 0.0f;
    FloatResult result;
    result.read = readFloat(scanner, value);
    result.bits = result.read ? bitsOf(value) : 0;
    result.consumed = static_cast<size_t>(scanner.cursor - text.data()) - whiteSpaceLength(text);
    return result;
}

// What strtof makes of the same bytes (they hold no NUL here).
FloatResult referenceFloat(const std::string& text) {
    char* stop = nullptr;
    const float value = strtof(text.c_str(), &stop);
    FloatResult result;
    result.read = stop != text.c_str();
    result.bits = result.read ? bitsOf(value) : 0;
    result.consumed =
        result.read ? static_cast<size_t>(stop - text.c_str()) - whiteSpaceLength(text) : 0;
    return result;
}

struct IntResult {
    bool read = false;
    int32_t value = 0;
    size_t consumed = 0;
};

IntResult scannedInt(const std::string& text) {
    TextScanner scanner = scanText(text);
    IntResult result;
    result.read = readInt(scanner, result.value);
    if (!result.read) {
        result.value = 0;
    }
    result.consumed = static_cast<size_t>(scanner.cursor - text.data()) - whiteSpaceLength(text);
    return result;
}

// strtol with base 0, clamped to 32 bits.
IntResult referenceInt(const std::string& text) {
    char* stop = nullptr;
    const long value = strtol(text.c_str(), &stop, 0);
    IntResult result;
    result.read = stop != text.c_str();
    result.value =
        result.read ? static_cast<int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX)) : 0;
    result.consumed =
        result.read ? static_cast<size_t>(stop - text.c_str()) - whiteSpaceLength(text) : 0;
    return result;
}

void expectSameFloat(const std::string& text) {
    const FloatResult ours = scannedFloat(text);
    const FloatResult reference = referenceFloat(text);
    EXPECT_EQ(ours.read, reference.read) << '"' << text << '"';
    EXPECT_EQ(ours.bits, reference.bits) << '"' << text << '"';
    EXPECT_EQ(ours.consumed, reference.consumed) << '"' << text << '"';
}

void expectSameInt(const std::string& text) {
    const IntResult ours = scannedInt(text);
    const IntResult reference = referenceInt(text);
    EXPECT_EQ(ours.read, reference.read) << '"' << text << '"';
    EXPECT_EQ(ours.value, reference.value) << '"' << text << '"';
    EXPECT_EQ(ours.consumed, reference.consumed) << '"' << text << '"';
}

TEST(TextScannerTest, FloatFormsMatchStrtof) {
    const char* forms[] = {
        // plain decimals, signs, points
        "0", "-0", "+0", "1", "-1", "+1", "1.", ".5", "-.5", "+.5", "0.000001", "123.456",
        "-12.345678", "000123", "0.1", "3.14159265358979323846", " \t\r\n\v\f7",
        // exponents, complete and cut short
        "1e5", "1E-5", "1e+5", "1e", "1e+", "1e-x", "2.5e3x", ".5e1", "1e0000000000000000003",
        // extremes: overflow, underflow, subnormals, the largest float
        "1e39", "-1e400", "1e-39", "1e-45", "1e-46", "1.17549435e-38", "3.4028235e38",
        "3.4028236e38", "340282356779733661637539395458142568448", "1e-400",
        "0.00000000000000000000000000000000000000000001401298464324817",
        // halfway cases for single precision
        "16777217", "16777219", "33554434", "0.500000029802322387695312", "8388609.5",
        "1.00000005960464477539062499", "1.000000059604644775390625",
        "1.00000005960464477539062501",
        // many digits
        "1234567890123456789", "12345678901234567890", "0.12345678901234567890123",
        "9007199254740993", "100000000000000000000000", "1e22", "1e23", "1e-22", "1e-23",
        // hexadecimal
        "0x1p3", "0X1.8P-1", "-0x1p-149", "0x", "0xg", "0x.8", "0x1p", "0x1p+", "0xAbC.dEfp2",
        "0x1.fffffep127", "0x1.ffffffp127", "00x1",
        // infinity and NaN
        "inf", "INF", "-Infinity", "infinity", "infin", "iNfInItYx", "nan", "NaN", "-nan",
        "nan(123)", "nan(abc_DEF)", "nan(", "nan(abc", "nan()", "nanx", "in", "n",
        // no number
        "", " ", ".", "+", "-", "+-1", "e5", "x", "/1", "abc"};
    for (const char* form : forms) {
        expectSameFloat(form);
        expectSameFloat(std::string(form) + "abc");
        expectSameFloat(std::string(form) + "/7");
        expectSameFloat(std::string(form) + " 9");
    }
}

TEST(TextScannerTest, IntegerFormsMatchStrtolClampedTo32Bits) {
    const char* forms[] = {"0",
                           "7",
                           "-7",
                           "+7",
                           "010",
                           "08",
                           "0777",
                           "0x1f",
                           "0X1F",
                           "0x",
                           "0xg",
                           "-0x10",
                           "2147483647",
                           "2147483648",
                           "-2147483648",
                           "-2147483649",
                           "99999999999999999999999",
                           "-0x80000000",
                           "0xffffffffffffffffffff",
                           " \n 12",
                           "+",
                           "-",
                           "x1",
                           "1.5",
                           "12abc",
                           "1/2/3",
                           ""};
    for (const char* form : forms) {
        expectSameInt(form);
        expectSameInt(std::string(form) + "/");
    }
}

// Random decimals as exporters and printf write them, with every precision:
// mostly the converter's own fast path, checked against strtof.
TEST(TextScannerTest, RandomDecimalsMatchStrtof) {
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<int> precision(0, 12);
    std::uniform_int_distribution<int> style(0, 3);
    std::uniform_int_distribution<int> exponent(-30, 30);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    char text[80];
    for (int i = 0; i < 300000; ++i) {
        const double value = unit(random) * std::pow(10.0, exponent(random) / 3);
        const int p = precision(random);
        switch (style(random)) {
        case 0:
            snprintf(text, sizeof text, "%.*f", p, value);
            break;
        case 1:
            snprintf(text, sizeof text, "%.*e", p, value);
            break;
        case 2:
            snprintf(text, sizeof text, "%.*g", p + 1, value);
            break;
        default:
            // Random digit strings hit rounding boundaries more often.
            snprintf(text, sizeof text, "%llu.%llue%d",
                     static_cast<unsigned long long>(random() % 100000000),
                     static_cast<unsigned long long>(random() % 1000000000000ull),
                     exponent(random));
            break;
        }
        const FloatResult ours = scannedFloat(text);
        const FloatResult reference = referenceFloat(text);
        ASSERT_EQ(ours.bits, reference.bits) << text;
        ASSERT_EQ(ours.consumed, reference.consumed) << text;
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
        const FloatResult ours = scannedFloat(text);
        const FloatResult reference = referenceFloat(text);
        ASSERT_EQ(ours.read, reference.read) << '"' << text << '"';
        ASSERT_EQ(ours.bits, reference.bits) << '"' << text << '"';
        ASSERT_EQ(ours.consumed, reference.consumed) << '"' << text << '"';
        const IntResult ourInt = scannedInt(text);
        const IntResult referenceInteger = referenceInt(text);
        ASSERT_EQ(ourInt.read, referenceInteger.read) << '"' << text << '"';
        ASSERT_EQ(ourInt.value, referenceInteger.value) << '"' << text << '"';
        ASSERT_EQ(ourInt.consumed, referenceInteger.consumed) << '"' << text << '"';
    }
}

// A number ends inside a word where strtof ends, and nothing of a failed
// number but white space is consumed; the end of the text is never read past.
TEST(TextScannerTest, NumbersStopInsideWordsAndAtTheEndOfTheText) {
    const std::string text = "12abc 3.5e";
    TextScanner scanner = scanText(text);
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

    // Views that end in the middle of a number: the byte after the view
    // must not count.
    const std::string longer = "1.25e3 0x1f 99";
    for (size_t cut = 0; cut <= longer.size(); ++cut) {
        const std::string prefix = longer.substr(0, cut);
        TextScanner a = scanText(std::string_view(longer).substr(0, cut));
        float viewValue = 0.0f;
        const bool viewRead = readFloat(a, viewValue);
        EXPECT_EQ(viewRead, referenceFloat(prefix).read) << cut;
        if (viewRead) {
            EXPECT_EQ(bitsOf(viewValue), referenceFloat(prefix).bits) << cut;
        }
        TextScanner b = scanText(std::string_view(longer).substr(0, cut));
        int32_t viewInt = 0;
        const bool intRead = readInt(b, viewInt);
        EXPECT_EQ(intRead, referenceInt(prefix).read) << cut;
        if (intRead) {
            EXPECT_EQ(viewInt, referenceInt(prefix).value) << cut;
        }
    }
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
