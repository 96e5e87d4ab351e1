#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <ombrelis/engine/TextNumber.h>
#include <ombrelis/testing/CaseNames.h>

using ombrelis::engine::NumberTooLarge;
using ombrelis::engine::textToNumber;

namespace {

struct Case {
    const char* text;
    double expected;
    friend void PrintTo(const Case& c, std::ostream* os) {
        *os << ::testing::PrintToString(c.text);
    }
};

class TextToNumber : public ::testing::TestWithParam<Case> {};

TEST_P(TextToNumber, ReadsTheLeadingNumber) {
    const Case c = GetParam();
    EXPECT_DOUBLE_EQ(textToNumber(c.text), c.expected) << "text: \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToNumber,
    ::testing::Values(
        // Plain numbers and the period list's entries.
        Case{"0", 0}, Case{"100", 100}, Case{"10000", 10000}, Case{"120", 120},
        // Not a number, or empty: 0.
        Case{"", 0}, Case{"abc", 0}, Case{"-", 0}, Case{".", 0}, Case{"E5", 0}, Case{"&", 0},
        Case{"&H", 0}, Case{"&X10", 0},
        // Signs, fractions and exponents, E or D.
        Case{"-5", -5}, Case{"+7", 7}, Case{"2.5", 2.5}, Case{".5", 0.5}, Case{"5.", 5},
        Case{"2.5E2", 250}, Case{"2.5e2", 250}, Case{"1D3", 1000}, Case{"15E-1", 1.5},
        Case{"3E+2", 300}, Case{"2E", 2}, Case{"2E+", 2}, Case{"1e-400", 0},
        // Blanks, tabs and line feeds are skipped wherever they stand.
        Case{" 1 000", 1000}, Case{"\t12\n3", 123}, Case{"- 5", -5}, Case{"2 . 5 E 1", 25},
        // Reading stops at the first character that does not fit.
        Case{"12abc", 12}, Case{"1,5", 1}, Case{"3.4.5", 3.4}, Case{"100ms", 100},
        Case{"1E2E3", 100}, Case{"0x10", 0},
        // Hexadecimal and octal whole numbers.
        Case{"&H64", 100}, Case{"&h64", 100}, Case{"&HFF", 255}, Case{"&hff", 255},
        Case{"&O17", 15}, Case{"&o17", 15}, Case{"&O19", 1}, Case{"&O18", 1}, Case{"& H 1 0", 16},
        Case{"&H1G", 1},
        // Long digit strings that are still finite.
        Case{"000000000000000000000000000000001", 1}, Case{"1E308", 1e308},
        Case{"0.000000000000000000000000000000000000000000000000000000000001E60", 1}),
    ombrelis::testing::NamedAfterValue{});

TEST(TextToNumber, NumbersBeyondADoubleAreReportedNotTurnedIntoInfinity) {
    for (const char* text : {"1E400", "-1E400", "1D309", "99999E305"}) {
        EXPECT_THROW(textToNumber(text), NumberTooLarge) << text;
    }
    std::string manyHexDigits = "&H";
    manyHexDigits.append(300, 'F');
    EXPECT_THROW(textToNumber(manyHexDigits), NumberTooLarge);
    try {
        textToNumber("1E400");
    } catch (const NumberTooLarge& e) {
        EXPECT_NE(std::string(e.what()).find("1E400"), std::string::npos);
    }
}

TEST(TextToNumber, DecimalPointIsADotWhateverTheLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr) {
        std::setlocale(LC_ALL, "C.UTF-8");
    }
    EXPECT_DOUBLE_EQ(textToNumber("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(textToNumber("2,5"), 2.0);
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
