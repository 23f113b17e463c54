// Reading and writing numbers with the separators of a locale. Every row names its locale, so no
// case depends on the machine's settings. A failing row is shown as "where GetParam() = ...".
#include "NumberText.h"

#include "ExactDecimal.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <tuple>

using Kalvoran::ExactDecimal;
using NumberText::Error;

namespace {

NumberText::Separators separatorsFor(const char* locale)
{
    return NumberText::separatorsOf(QLocale(QString::fromLatin1(locale)));
}

// Rows of locale, text, what it reads as (a value, or 0 and the error) and, where given, the text
// that copying the entry gives, which reads back as the same exact value. The order field takes
// the same numbers, but no fraction.
class Parse : public testing::TestWithParam<
                  std::tuple<const char*, const char16_t*, NumberText::Parsed, const char16_t*>> {};

TEST_P(Parse, GivesTheNearestDoubleOrTheError)
{
    const auto& [locale, text, expected, copied] = GetParam();
    const NumberText::Separators separators = separatorsFor(locale);
    const auto parsed = NumberText::parseEntry(QStringView(text), separators);
    ASSERT_EQ(parsed.error, expected.error);
    EXPECT_EQ(parsed.number.value, expected.value);
    EXPECT_EQ(std::signbit(parsed.number.value), std::signbit(expected.value));
    if (copied != nullptr) {
        const QString copy = NumberText::formatEntry(parsed.number, separators);
        EXPECT_EQ(copy, QString::fromUtf16(copied));
        EXPECT_EQ(NumberText::parseEntry(copy, separators).number.exact, parsed.number.exact);
    }
    const auto order = NumberText::parse(QStringView(text), separators);
    const bool fraction = QStringView(text).contains(u'/');
    EXPECT_EQ(order.error, fraction ? Error::NotANumber : expected.error);
    EXPECT_EQ(order.value, fraction ? 0 : expected.value);
}

// Group separators count between integer digits in threes, in any spelling of the locale's one,
// so a German "1.5" is refused rather than read as 15. Subnormal magnitudes give the nearest
// double and a zero stays a zero, whatever its exponent; a number that is not zero but that a
// double can only hold as zero is as far out of range as one beyond the largest double.
const Parse::ParamType parsed[] = {
    // Fractions: the quotient in lowest terms, its double rounded once (a tie to even).
    {"de_DE", u"1/3", {1.0 / 3}, u"1/3"},
    {"de_DE", u"-2/5", {-0.4}, u"-2/5"},
    {"de_DE", u"1,5/4", {0.375}, u"3/8"},
    {"de_DE", u"1E3/7", {1000.0 / 7}, u"1000/7"},
    {"de_DE", u" 3 / 4 ", {0.75}, u"3/4"},
    {"de_DE", u"2/6", {1.0 / 3}, u"1/3"},
    {"en_US", u"1,000/-8", {-125}, u"-125"},
    {"de_DE", u"9007199254740993/2", {4503599627370496}, u"9007199254740993/2"},
    {"de_DE", u"-0/5", {-0.0}, u"-0"},
    {"de_DE", u"1/0", {0, Error::ZeroDenominator}, nullptr},
    {"de_DE", u"0/0,0", {0, Error::ZeroDenominator}, nullptr},
    {"de_DE", u"1E300/1E-300", {0, Error::OutOfRange}, nullptr},
    {"de_DE", u"1E-300/1E300", {0, Error::OutOfRange}, nullptr},
    {"de_DE", u"1/1E309", {0, Error::OutOfRange}, nullptr},
    {"de_DE", u"1//3", {0, Error::NotANumber}, nullptr},
    {"de_DE", u"/3", {0, Error::NotANumber}, nullptr},
    {"de_DE", u"1/", {0, Error::NotANumber}, nullptr},
    {"de_DE", u"1/3/4", {0, Error::NotANumber}, nullptr},
    {"de_DE", u"1.5/4", {0, Error::NotANumber}, nullptr},
    // Decimals keep every digit typed, beyond what their double holds.
    {"de_DE", u"0,10000000000000000001", {0.1}, u"0,10000000000000000001"},
    {"de_DE", u"1,23456789012345E-320", {1.23456789012345e-320}, u"1,23456789012345E-320"},
    {"de_DE", u"-0", {-0.0}, u"-0"},
    {"de_DE", u"12,50E1", {125}, u"125"},
    {"de_DE", u"1,5", {1.5}, nullptr},
    {"de_DE", u"+1,5", {1.5}, nullptr},
    {"de_DE", u"1.000,5", {1000.5}, nullptr},
    {"de_DE", u" 7 ", {7}, nullptr},
    {"de_DE", u"-2E3", {-2000}, nullptr},
    {"en_US", u"12,345,678.25", {12345678.25}, nullptr},
    {"fr_FR", u"1\u202F234,5", {1234.5}, nullptr},
    {"fr_FR", u"1 234\u00A0567", {1234567}, nullptr},
    {"de_CH", u"1\u2019234.5", {1234.5}, nullptr},
    {"de_CH", u"1'234'567.5", {1234567.5}, nullptr},
    {"de_DE", u"-0E-999", {-0.0}, nullptr},
    {"de_DE", u"0,000", {0.0}, nullptr},
    {"en_US", u"2.4703282292062328e-324", {std::numeric_limits<double>::denorm_min()}, nullptr},
    {"de_DE", u"1.000.000", {1e6}, nullptr},
    {"en_US", u"1,500.5", {1500.5}, nullptr},
    {"en_US", u"1.7976931348623157E+308", {std::numeric_limits<double>::max()}, nullptr},
    {"de_DE", u"", {0, Error::Empty}, nullptr},
    {"de_DE", u"1.5", {0, Error::NotANumber}, nullptr},
    {"de_DE", u"1.00", {0, Error::NotANumber}, nullptr},
    {"de_DE", u"1,5.3", {0, Error::NotANumber}, nullptr},
    {"de_DE", u"1.00.000", {0, Error::NotANumber}, nullptr},
    {"de_DE", u"1.0000", {0, Error::NotANumber}, nullptr},
    {"de_DE", u"1234.567", {0, Error::NotANumber}, nullptr},
    {"en_US", u"1,5", {0, Error::NotANumber}, nullptr},
    {"de_DE", u"0.001", {0, Error::NotANumber}, nullptr},
    {"de_DE", u"1 000", {0, Error::NotANumber}, nullptr},
    {"de_DE", u"-", {0, Error::NotANumber}, nullptr},
    {"en_US", u"inf", {0, Error::NotANumber}, nullptr},
    {"en_US", u"nan", {0, Error::NotANumber}, nullptr},
    {"en_US", u"0x1p3", {0, Error::NotANumber}, nullptr},
    {"de_DE", u"1E309", {0, Error::OutOfRange}, nullptr},
    {"de_DE", u"1E10000000000000000000", {0, Error::OutOfRange}, nullptr},
    {"de_DE", u"1E-400", {0, Error::OutOfRange}, nullptr},
    {"en_US", u"-2.4703282292062327e-324", {0, Error::OutOfRange}, nullptr},
};
INSTANTIATE_TEST_SUITE_P(NumberText, Parse, testing::ValuesIn(parsed));

// Rows of locale, value, its text, and the text a copy of the value set by the program gives where
// that differs: the fewest digits that read back as the same double.
class Format : public testing::TestWithParam<
                   std::tuple<const char*, double, const char16_t*, const char16_t*>> {};

TEST_P(Format, WritesTheTextThatReadsBack)
{
    const auto& [locale, value, expected, exact] = GetParam();
    EXPECT_EQ(NumberText::format(value, separatorsFor(locale)).toStdString(),
              QString::fromUtf16(expected).toStdString());
    if (std::isfinite(value)) {
        EXPECT_EQ(NumberText::formatEntry(Kalvoran::TypedNumber::of(value), separatorsFor(locale))
                      .toStdString(),
                  QString::fromUtf16(exact == nullptr ? expected : exact).toStdString());
    }
}

const Format::ParamType formatted[] = {
    {"de_DE", 0.5, u"0,5", nullptr},
    {"en_US", 0.5, u"0.5", nullptr},
    {"de_DE", 1.0 / 3.0, u"0,333333333333333", u"0,3333333333333333"},
    {"de_DE", 1e15, u"1E+15", nullptr},
    {"de_DE", 999999999999999.0, u"999999999999999", nullptr},
    {"de_DE", 1e-5, u"1E-05", nullptr},
    {"de_DE", 0.0001, u"0,0001", nullptr},
    {"de_DE", 123456789012345678.0, u"1,23456789012346E+17", u"1,2345678901234568E+17"},
    {"de_DE", 999999999999999.9, u"1E+15", u"999999999999999,9"},
    {"de_DE", -0.0, u"0", u"-0"},
    {"de_DE", 1.0000000000000002, u"1", u"1,0000000000000002"},
    {"de_DE", 2.2250738585072009e-308, u"2,2250738585072E-308", u"2,225073858507201E-308"},
    // Rounded to 15 digits, the four largest doubles would leave the range: the text is the
    // 15-digit value below.
    {"de_DE", std::numeric_limits<double>::max(), u"1,79769313486231E+308",
     u"1,7976931348623157E+308"},
    {"de_DE", -1.7976931348623151e308, u"-1,79769313486231E+308", u"-1,7976931348623151E+308"},
    {"de_DE", 1.7976931348623149e308, u"1,79769313486231E+308", u"1,797693134862315E+308"},
    {"de_DE", std::numeric_limits<double>::infinity(), u"", nullptr},
};
INSTANTIATE_TEST_SUITE_P(NumberText, Format, testing::ValuesIn(formatted));

// Rows of locale, exact value, text: 15 digits, halves to even, a carry moving the exponent and
// with it the notation, exponents of any size.
class FormatExact
    : public testing::TestWithParam<std::tuple<const char*, ExactDecimal, const char16_t*>> {};

TEST_P(FormatExact, WritesTheOutputRule)
{
    const auto& [locale, value, expected] = GetParam();
    EXPECT_EQ(NumberText::format(value, separatorsFor(locale)), QString::fromUtf16(expected));
}

const FormatExact::ParamType exactFormatted[] = {
    {"de_DE", {}, u"0"},
    {"de_DE", {false, "1000000000000005", 0}, u"1"},
    {"de_DE", {true, "1000000000000015", 20}, u"-1,00000000000002E+20"},
    {"de_DE", {false, "9999999999999995", 0}, u"10"},
    {"de_DE", {false, "9999999999999995", 14}, u"1E+15"},
    {"de_DE", {false, "9999999999999995", -5}, u"0,0001"},
    {"en_US", {true, "9999999999999995", 99}, u"-1E+100"},
    {"de_DE", {false, "9999999999999985", -6}, u"9,99999999999998E-06"},
    {"de_DE", {false, "1", 400}, u"1E+400"},
    {"de_DE", {true, "416333634234433702", -1234}, u"-4,16333634234434E-1234"},
    {"de_DE", {false, "17976931348623157", 308}, u"1,79769313486232E+308"},
};
INSTANTIATE_TEST_SUITE_P(NumberText, FormatExact, testing::ValuesIn(exactFormatted));

// The exact value of a double, all its digits.
ExactDecimal exactOf(double value)
{
    std::array<char, 1200> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::abs(value),
                                   std::chars_format::scientific, 1100);
    const std::string text(buffer.data(), end.ptr);
    std::string digits = text.substr(0, 1) + text.substr(2, text.find('e') - 2);
    digits.erase(digits.find_last_not_of('0') + 1);
    return {std::signbit(value), digits, std::stoi(text.substr(text.find('e') + 1))};
}

class FormatThenParse : public testing::TestWithParam<const char*> {};

TEST_P(FormatThenParse, GivesTheValueRoundedTo15DigitsOrExactly)
{
    const NumberText::Separators separators = separatorsFor(GetParam());
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<int> exponent(-320, 307), shortNumber(-99999, 99999);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<std::int64_t> tie(100'000'000'000'000, 900'719'925'474'099);
    for (int i = 0; i < 5000; ++i) {
        // Any magnitude, subnormals included; a short one in plain notation; ties at the 16th
        // digit in either notation.
        const double value = i % 4 == 0   ? shortNumber(random) / std::pow(10.0, i % 7)
                             : i % 4 == 1 ? static_cast<double>(tie(random) * 10 + 5)
                             : i % 4 == 2 ? static_cast<double>(tie(random)) + 0.5
                                          : mantissa(random) * std::pow(10.0, exponent(random));
        char rounded[32]; // the value rounded to 15 significant digits, by the C library
        std::snprintf(rounded, sizeof rounded, "%.14e", value);
        const QString text = NumberText::format(value, separators);
        ASSERT_FALSE(text.contains(separators.group)) << text.toStdString();
        // The exact value, all its digits, is written as the double is.
        ASSERT_EQ(NumberText::format(exactOf(value), separators), text) << value;
        const auto parsed = NumberText::parse(text, separators);
        ASSERT_EQ(parsed.value, std::strtod(rounded, nullptr)) << text.toStdString();
        // The copy's text reads back as the same double and the same exact value.
        const auto number = Kalvoran::TypedNumber::of(value);
        const QString copy = NumberText::formatEntry(number, separators);
        const auto back = NumberText::parseEntry(copy, separators).number;
        ASSERT_EQ(back.value, value) << copy.toStdString();
        ASSERT_EQ(back.exact, number.exact) << copy.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(NumberText, FormatThenParse,
                         testing::Values("de_DE", "en_US", "fr_FR", "de_CH"));

} // namespace
