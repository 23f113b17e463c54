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
#include <string>
#include <tuple>

using Kalvoran::ExactDecimal;
using NumberText::Error;

namespace {

NumberText::Separators separatorsFor(const char* locale)
{
    return NumberText::separatorsOf(QLocale(QString::fromLatin1(locale)));
}

// A row's name: its locale and its place in the table, as in "de_DE_3".
template <class Row> std::string rowName(const testing::TestParamInfo<Row>& row)
{
    return std::string(std::get<0>(row.param)) + "_" + std::to_string(row.index);
}

// Rows of locale, text, value.
class ParseAccepts
    : public testing::TestWithParam<std::tuple<const char*, const char16_t*, double>> {};

TEST_P(ParseAccepts, GivesTheNearestDouble)
{
    const auto& [locale, text, expected] = GetParam();
    const auto parsed = NumberText::parse(QStringView(text), separatorsFor(locale));
    ASSERT_EQ(parsed.error, Error::None);
    EXPECT_EQ(parsed.value, expected);
    EXPECT_EQ(std::signbit(parsed.value), std::signbit(expected));
}

// Group separators count between integer digits in threes, in any spelling of the locale's one.
// Magnitudes below the double range give the nearest double: a zero of the right sign or a
// subnormal.
const ParseAccepts::ParamType accepted[] = {
    {"de_DE", u"1,5", 1.5},
    {"de_DE", u"+1,5", 1.5},
    {"de_DE", u"1.000,5", 1000.5},
    {"de_DE", u" 7 ", 7},
    {"de_DE", u"-2E3", -2000},
    {"en_US", u"12,345,678.25", 12345678.25},
    {"fr_FR", u"1\u202F234,5", 1234.5},
    {"fr_FR", u"1 234\u00A0567", 1234567},
    {"de_CH", u"1\u2019234.5", 1234.5},
    {"de_CH", u"1'234'567.5", 1234567.5},
    {"de_DE", u"-2E-400", -0.0},
    {"en_US", u"2.4703282292062328e-324", std::numeric_limits<double>::denorm_min()},
    {"de_DE", u"1.000.000", 1e6},
    {"en_US", u"1,500.5", 1500.5},
};
INSTANTIATE_TEST_SUITE_P(NumberText, ParseAccepts, testing::ValuesIn(accepted),
                         rowName<ParseAccepts::ParamType>);

// Rows of locale, text, error.
class ParseRejects
    : public testing::TestWithParam<std::tuple<const char*, const char16_t*, Error>> {};

TEST_P(ParseRejects, ReportsTheError)
{
    const auto& [locale, text, error] = GetParam();
    EXPECT_EQ(NumberText::parse(QStringView(text), separatorsFor(locale)).error, error);
}

// A German "1.5" is refused rather than read as 15.
const ParseRejects::ParamType rejected[] = {
    {"de_DE", u"", Error::Empty},
    {"de_DE", u"1.5", Error::NotANumber},
    {"de_DE", u"1.00", Error::NotANumber},
    {"de_DE", u"1,5.3", Error::NotANumber},
    {"de_DE", u"1.00.000", Error::NotANumber},
    {"de_DE", u"1.0000", Error::NotANumber},
    {"de_DE", u"1234.567", Error::NotANumber},
    {"en_US", u"1,5", Error::NotANumber},
    {"de_DE", u"0.001", Error::NotANumber},
    {"de_DE", u"1 000", Error::NotANumber},
    {"de_DE", u"-", Error::NotANumber},
    {"en_US", u"inf", Error::NotANumber},
    {"en_US", u"nan", Error::NotANumber},
    {"en_US", u"0x1p3", Error::NotANumber},
    {"de_DE", u"1E309", Error::OutOfRange},
    {"de_DE", u"1E10000000000000000000", Error::OutOfRange},
};
INSTANTIATE_TEST_SUITE_P(NumberText, ParseRejects, testing::ValuesIn(rejected),
                         rowName<ParseRejects::ParamType>);

// Rows of locale, value, text.
class FormatWrites
    : public testing::TestWithParam<std::tuple<const char*, double, const char16_t*>> {};

// Every finite value's text reads back; no row may give a text that the input rule refuses.
TEST_P(FormatWrites, TheTextThatReadsBack)
{
    const auto& [locale, value, expected] = GetParam();
    const QString text = NumberText::format(value, separatorsFor(locale));
    EXPECT_EQ(text.toStdString(), QString::fromUtf16(expected).toStdString());
    if (std::isfinite(value)) {
        EXPECT_EQ(NumberText::parse(text, separatorsFor(locale)).error, Error::None);
    }
}

const FormatWrites::ParamType formatted[] = {
    {"de_DE", 0.5, u"0,5"},
    {"en_US", 0.5, u"0.5"},
    {"de_DE", 1.0 / 3.0, u"0,333333333333333"},
    {"de_DE", 1e15, u"1E+15"},
    {"de_DE", 999999999999999.0, u"999999999999999"},
    {"de_DE", 1e-5, u"1E-05"},
    {"de_DE", 0.0001, u"0,0001"},
    {"de_DE", 123456789012345678.0, u"1,23456789012346E+17"},
    {"de_DE", 999999999999999.9, u"1E+15"},
    {"de_DE", -0.0, u"0"},
    // Rounded to 15 digits, the four largest doubles would leave the range: the text is the
    // 15-digit value below.
    {"de_DE", std::numeric_limits<double>::max(), u"1,79769313486231E+308"},
    {"de_DE", -1.7976931348623151e308, u"-1,79769313486231E+308"},
    {"de_DE", 1.7976931348623149e308, u"1,79769313486231E+308"},
    {"de_DE", std::numeric_limits<double>::infinity(), u""},
};
INSTANTIATE_TEST_SUITE_P(NumberText, FormatWrites, testing::ValuesIn(formatted),
                         rowName<FormatWrites::ParamType>);

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
INSTANTIATE_TEST_SUITE_P(NumberText, FormatExact, testing::ValuesIn(exactFormatted),
                         rowName<FormatExact::ParamType>);

// The exact value of a double, all its digits, is written as the double is (but for the
// largest, which the double's text holds back), ties in either notation among them.
TEST(NumberText, ExactValuesRoundAsDoublesDo)
{
    const auto separators = separatorsFor("de_DE");
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> tie(100'000'000'000'000, 900'719'925'474'099);
    std::uniform_real_distribution<double> any(-300.0, 300.0);
    for (int i = 0; i < 2000; ++i) {
        const std::int64_t digits15 = tie(random);
        const double value = i % 3 == 0   ? static_cast<double>(digits15 * 10 + 5)
                             : i % 3 == 1 ? static_cast<double>(digits15) + 0.5
                                          : std::pow(10.0, any(random));
        std::array<char, 1200> buffer{};
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::scientific, 1100);
        const std::string text(buffer.data(), end.ptr);
        std::string digits = text.substr(0, 1) + text.substr(2, text.find('e') - 2);
        digits.erase(digits.find_last_not_of('0') + 1);
        const ExactDecimal exact{false, digits, std::stoi(text.substr(text.find('e') + 1))};
        ASSERT_EQ(NumberText::format(exact, separators), NumberText::format(value, separators))
            << text;
    }
}

class FormatThenParse : public testing::TestWithParam<const char*> {};

TEST_P(FormatThenParse, GivesTheValueRoundedTo15Digits)
{
    const NumberText::Separators separators = separatorsFor(GetParam());
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<int> exponent(-320, 307), shortNumber(-99999, 99999);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    for (int i = 0; i < 5000; ++i) {
        // Mostly any magnitude, subnormals included; every fourth a short one in plain notation.
        const double value = i % 4 == 0 ? shortNumber(random) / std::pow(10.0, i % 7)
                                        : mantissa(random) * std::pow(10.0, exponent(random));
        char rounded[32]; // the value rounded to 15 significant digits, by the C library
        std::snprintf(rounded, sizeof rounded, "%.14e", value);
        const QString text = NumberText::format(value, separators);
        ASSERT_FALSE(text.contains(separators.group)) << text.toStdString();
        const auto parsed = NumberText::parse(text, separators);
        ASSERT_EQ(parsed.error, Error::None) << text.toStdString();
        ASSERT_EQ(parsed.value, std::strtod(rounded, nullptr)) << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(NumberText, FormatThenParse,
                         testing::Values("de_DE", "en_US", "fr_FR", "de_CH"));

} // namespace
