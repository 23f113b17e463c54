// Reading and writing numbers with the separators of a locale. Every case names its locale, so no
// case depends on the machine's settings.
#include "NumberText.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>
#include <random>
#include <string>

using NumberText::Error;
using NumberText::format;
using NumberText::parse;
using NumberText::Separators;
using NumberText::separatorsOf;

// Failure messages show the text rather than its bytes.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

Separators separatorsFor(const char* localeName)
{
    return separatorsOf(QLocale(QString::fromLatin1(localeName)));
}

template <typename Row> std::string rowName(const testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

constexpr double denormMin = std::numeric_limits<double>::denorm_min();
constexpr double largest = std::numeric_limits<double>::max();

// The separators every other case relies on, as Qt 6.4 reports them.
struct SeparatorRow {
    const char* name;
    const char* locale;
    const char16_t* decimal;
    const char16_t* group;
};

class SeparatorsOfLocale : public testing::TestWithParam<SeparatorRow> {};

TEST_P(SeparatorsOfLocale, ReportsDecimalAndGroup)
{
    const SeparatorRow& row = GetParam();
    const Separators separators = separatorsFor(row.locale);
    EXPECT_EQ(separators.decimal, QString::fromUtf16(row.decimal));
    EXPECT_EQ(separators.group, QString::fromUtf16(row.group));
}

INSTANTIATE_TEST_SUITE_P(NumberText, SeparatorsOfLocale,
                         testing::Values(SeparatorRow{"German", "de_DE", u",", u"."},
                                         SeparatorRow{"English", "en_US", u".", u","},
                                         SeparatorRow{"French", "fr_FR", u",", u"\u202F"},
                                         SeparatorRow{"SwissGerman", "de_CH", u".", u"\u2019"}),
                         rowName<SeparatorRow>);

struct ParseRow {
    const char* name;
    const char* locale;
    const char16_t* text;
    double expected;
};

class ParseAccepts : public testing::TestWithParam<ParseRow> {};

TEST_P(ParseAccepts, GivesTheValue)
{
    const ParseRow& row = GetParam();
    const auto parsed = parse(QStringView(row.text), separatorsFor(row.locale));
    ASSERT_TRUE(parsed.ok()) << static_cast<int>(parsed.error);
    EXPECT_EQ(parsed.value, row.expected);
    EXPECT_EQ(std::signbit(parsed.value), std::signbit(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    NumberText, ParseAccepts,
    testing::Values(
        ParseRow{"GermanDecimalComma", "de_DE", u"1,5", 1.5},
        ParseRow{"GermanGroupedWithDecimals", "de_DE", u"1.000,5", 1000.5},
        ParseRow{"GermanTwoGroups", "de_DE", u"1.234.567", 1234567},
        ParseRow{"GermanFullFirstGroup", "de_DE", u"123.456,25", 123456.25},
        ParseRow{"GermanUngrouped", "de_DE", u"1234567,25", 1234567.25},
        ParseRow{"GermanCommaIsNeverAGroup", "de_DE", u"1,000", 1},
        ParseRow{"GermanOnlyDecimals", "de_DE", u",5", 0.5},
        ParseRow{"GermanNoDecimals", "de_DE", u"5,", 5},
        ParseRow{"GermanBlanks", "de_DE", u" 7 ", 7},
        ParseRow{"GermanTabsAndNoBreakSpaces", "de_DE", u"\t\u00A07\u202F ", 7},
        ParseRow{"GermanExponent", "de_DE", u"-2E3", -2000},
        ParseRow{"GermanSmallExponent", "de_DE", u"2,5e-3", 0.0025},
        ParseRow{"GermanSignedExponent", "de_DE", u"+1E+2", 100},
        ParseRow{"GermanGroupedWithExponent", "de_DE", u"1.000E3", 1e6},
        ParseRow{"GermanLeadingZeros", "de_DE", u"007", 7},
        ParseRow{"GermanNegativeZero", "de_DE", u"-0", -0.0},
        ParseRow{"GermanLargest", "de_DE", u"1,7976931348623157E308", largest},
        ParseRow{"GermanFractionLeadsToRange", "de_DE", u"0,0001E310", 1e306},
        ParseRow{"GermanRoundsCorrectly", "de_DE", u"0,30000000000000004", 0.30000000000000004},
        ParseRow{"GermanTieToEven", "de_DE", u"9007199254740993", 9007199254740992.0},
        ParseRow{"GermanHardCase", "de_DE", u"2,2250738585072011E-308", 2.2250738585072011e-308},
        ParseRow{"EnglishDecimalPoint", "en_US", u"1.5", 1.5},
        ParseRow{"EnglishGroupedWithDecimals", "en_US", u"1,000.5", 1000.5},
        ParseRow{"EnglishThreeGroups", "en_US", u"12,345,678.25", 12345678.25},
        ParseRow{"EnglishBlanksAndExponent", "en_US", u" -2E3 ", -2000},
        ParseRow{"EnglishOnlyDecimals", "en_US", u".5", 0.5},
        ParseRow{"EnglishSmallExponent", "en_US", u"1e-5", 1e-5},
        ParseRow{"FrenchNarrowNoBreakSpace", "fr_FR", u"1\u202F234,5", 1234.5},
        ParseRow{"FrenchPlainSpace", "fr_FR", u"1 234,5", 1234.5},
        ParseRow{"FrenchNoBreakSpace", "fr_FR", u"1\u00A0234\u00A0567", 1234567},
        ParseRow{"FrenchMixedSpaces", "fr_FR", u"12\u202F345 678", 12345678},
        ParseRow{"SwissApostrophe", "de_CH", u"1\u2019234.5", 1234.5},
        ParseRow{"SwissTwoGroups", "de_CH", u"1\u2019234\u2019567", 1234567},
        ParseRow{"SwissUngrouped", "de_CH", u"1234.5", 1234.5},
        ParseRow{"SwissTypewriterApostrophe", "de_CH", u"1'234'567.5", 1234567.5}),
    rowName<ParseRow>);

// Magnitudes below the double range give the nearest double, never an error.
class ParseUnderflows : public testing::TestWithParam<ParseRow> {};

TEST_P(ParseUnderflows, GivesTheNearestDouble)
{
    const ParseRow& row = GetParam();
    const auto parsed = parse(QStringView(row.text), separatorsFor(row.locale));
    ASSERT_TRUE(parsed.ok()) << static_cast<int>(parsed.error);
    EXPECT_EQ(parsed.value, row.expected);
    EXPECT_EQ(std::signbit(parsed.value), std::signbit(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    NumberText, ParseUnderflows,
    testing::Values(ParseRow{"FarBelow", "de_DE", u"1E-400", 0.0},
                    ParseRow{"FarBelowNegative", "de_DE", u"-2e-400", -0.0},
                    ParseRow{"HugeNegativeExponent", "de_DE", u"1E-99999999999999999999", 0.0},
                    ParseRow{"IntegerDigitsCounted", "de_DE", u"100000000000E-335", 0.0},
                    ParseRow{"JustBelowHalfTheSmallest", "en_US", u"2.4703282292062327e-324", 0.0},
                    ParseRow{"JustAboveHalfTheSmallest", "en_US", u"2.4703282292062328e-324",
                             denormMin},
                    ParseRow{"SmallestSubnormal", "de_DE", u"4,9E-324", denormMin},
                    ParseRow{"NegativeSubnormal", "de_DE", u"-4,9E-324", -denormMin},
                    ParseRow{"Subnormal", "en_US", u"2e-310", 2e-310}),
    rowName<ParseRow>);

struct RejectRow {
    const char* name;
    const char* locale;
    const char16_t* text;
};

class ParseRejectsEmpty : public testing::TestWithParam<RejectRow> {};

TEST_P(ParseRejectsEmpty, ReportsEmpty)
{
    const RejectRow& row = GetParam();
    EXPECT_EQ(parse(QStringView(row.text), separatorsFor(row.locale)).error, Error::Empty);
}

INSTANTIATE_TEST_SUITE_P(NumberText, ParseRejectsEmpty,
                         testing::Values(RejectRow{"Nothing", "de_DE", u""},
                                         RejectRow{"Spaces", "de_DE", u"   "},
                                         RejectRow{"Tab", "en_US", u"\t"},
                                         RejectRow{"NoBreakSpaces", "fr_FR", u"\u00A0\u202F "}),
                         rowName<RejectRow>);

class ParseRejectsNotANumber : public testing::TestWithParam<RejectRow> {};

TEST_P(ParseRejectsNotANumber, ReportsNotANumber)
{
    const RejectRow& row = GetParam();
    EXPECT_EQ(parse(QStringView(row.text), separatorsFor(row.locale)).error, Error::NotANumber);
}

INSTANTIATE_TEST_SUITE_P(
    NumberText, ParseRejectsNotANumber,
    testing::Values(
        // The group separator is accepted only between integer digits in threes.
        RejectRow{"GermanDecimalPointHabit", "de_DE", u"1.5"},
        RejectRow{"GermanGroupOfTwo", "de_DE", u"1.00"},
        RejectRow{"GermanGroupOfFour", "de_DE", u"1.0000"},
        RejectRow{"GermanLastGroupShort", "de_DE", u"1.000.00"},
        RejectRow{"GermanFirstGroupOfFour", "de_DE", u"1234.567"},
        RejectRow{"GermanLeadingGroup", "de_DE", u".5"},
        RejectRow{"GermanTrailingGroup", "de_DE", u"1."},
        RejectRow{"GermanTwoGroupsInARow", "de_DE", u"1..000"},
        RejectRow{"GermanGroupAfterDecimal", "de_DE", u"1,000.5"},
        RejectRow{"GermanDecimalThenGroup", "de_DE", u"1,5.3"},
        RejectRow{"GermanGroupInExponent", "de_DE", u"1E1.000"},
        RejectRow{"GermanSpaceIsNoGroup", "de_DE", u"1 000"},
        RejectRow{"EnglishCommaHabit", "en_US", u"1,5"},
        RejectRow{"EnglishGroupOfTwo", "en_US", u"1,00"},
        RejectRow{"EnglishShortGroupBeforeDecimal", "en_US", u"1,5.3"},
        RejectRow{"EnglishGroupAfterDecimal", "en_US", u"1,000.5,3"},
        RejectRow{"EnglishLeadingGroup", "en_US", u",5"},
        RejectRow{"EnglishTrailingGroup", "en_US", u"1,"},
        RejectRow{"FrenchShortGroup", "fr_FR", u"1 5"},
        RejectRow{"FrenchTwoSpaces", "fr_FR", u"1  234"},
        RejectRow{"FrenchDecimalPoint", "fr_FR", u"1.5"},
        RejectRow{"SwissShortGroup", "de_CH", u"1\u20195"},
        RejectRow{"GermanLeadingZeroGroup", "de_DE", u"0.001"},
        RejectRow{"EnglishLeadingZeroGroup", "en_US", u"0,001"},
        RejectRow{"EnglishApostropheIsNoGroup", "en_US", u"1'234"},
        RejectRow{"SwissDecimalComma", "de_CH", u"1,5"},
        // Everything else that is not a plain decimal number.
        RejectRow{"LoneDecimal", "de_DE", u","}, RejectRow{"LoneSign", "de_DE", u"-"},
        RejectRow{"SecondDecimal", "de_DE", u"1,5,3"}, RejectRow{"TwoSigns", "de_DE", u"+-5"},
        RejectRow{"DoubleMinus", "de_DE", u"--5"}, RejectRow{"TrailingSign", "de_DE", u"5-"},
        RejectRow{"BlankAfterSign", "de_DE", u"- 5"},
        RejectRow{"ExponentWithoutMantissa", "de_DE", u"E5"},
        RejectRow{"ExponentWithoutDigits", "de_DE", u"1E"},
        RejectRow{"ExponentSignOnly", "de_DE", u"1E+"},
        RejectRow{"FractionalExponent", "en_US", u"1E2.5"}, RejectRow{"Letters", "de_DE", u"abc"},
        RejectRow{"TrailingLetter", "de_DE", u"12a"}, RejectRow{"Infinity", "en_US", u"inf"},
        RejectRow{"NegativeInfinity", "en_US", u"-inf"},
        RejectRow{"InfinitySpelledOut", "en_US", u"infinity"},
        RejectRow{"NotANumber", "en_US", u"nan"}, RejectRow{"NotANumberMixedCase", "en_US", u"NaN"},
        RejectRow{"HexFloat", "en_US", u"0x1p3"}, RejectRow{"HexInteger", "en_US", u"0x10"},
        RejectRow{"ArabicIndicDigit", "de_DE", u"\u0661"},
        RejectRow{"FullwidthDigit", "de_DE", u"\uFF11"}),
    rowName<RejectRow>);

class ParseRejectsOutOfRange : public testing::TestWithParam<RejectRow> {};

TEST_P(ParseRejectsOutOfRange, ReportsOutOfRange)
{
    const RejectRow& row = GetParam();
    EXPECT_EQ(parse(QStringView(row.text), separatorsFor(row.locale)).error, Error::OutOfRange);
}

INSTANTIATE_TEST_SUITE_P(
    NumberText, ParseRejectsOutOfRange,
    testing::Values(RejectRow{"Positive", "de_DE", u"1E309"},
                    RejectRow{"Negative", "en_US", u"-2e400"},
                    RejectRow{"JustAboveLargest", "de_DE", u"1,7976931348623159E308"},
                    RejectRow{"HugeExponent", "de_DE", u"1E99999999999999999999"},
                    RejectRow{"FractionDigitsCounted", "de_DE", u"0,01E311"},
                    RejectRow{"ManyDigits", "de_DE",
                              u"1.000.000.000.000.000.000.000.000.000.000.000.000.000.000.000.000."
                              u"000.000.000.000.000.000.000.000.000.000.000.000.000.000.000.000."
                              u"000.000.000.000.000.000.000.000.000.000.000.000.000.000.000.000."
                              u"000.000.000.000.000.000.000.000.000.000.000.000.000.000.000.000."
                              u"000.000.000.000.000.000.000.000.000.000.000.000.000.000.000.000."
                              u"000.000.000.000.000.000.000.000.000.000.000.000.000.000.000.000."
                              u"000.000.000.000.000.000.000.000.000.000.000.000.000.000.000.000"}),
    rowName<RejectRow>);

struct FormatRow {
    const char* name;
    const char* locale;
    double value;
    const char16_t* expected;
};

class FormatWrites : public testing::TestWithParam<FormatRow> {};

TEST_P(FormatWrites, TheText)
{
    const FormatRow& row = GetParam();
    EXPECT_EQ(format(row.value, separatorsFor(row.locale)), QString::fromUtf16(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    NumberText, FormatWrites,
    testing::Values(
        FormatRow{"GermanHalf", "de_DE", 0.5, u"0,5"},
        FormatRow{"GermanThird", "de_DE", 1.0 / 3.0, u"0,333333333333333"},
        FormatRow{"GermanTwoThirdsRoundsUp", "de_DE", 2.0 / 3.0, u"0,666666666666667"},
        FormatRow{"GermanSumRoundsToShort", "de_DE", 0.1 + 0.2, u"0,3"},
        FormatRow{"GermanFirstExponent", "de_DE", 1e15, u"1E+15"},
        FormatRow{"GermanLastPlain", "de_DE", 999999999999999.0, u"999999999999999"},
        FormatRow{"GermanTrailingIntegerZeros", "de_DE", 1e14, u"100000000000000"},
        FormatRow{"GermanHundred", "de_DE", 100, u"100"},
        FormatRow{"GermanNoGrouping", "de_DE", 1234.5, u"1234,5"},
        FormatRow{"GermanSmallExponent", "de_DE", 0.00001, u"1E-05"},
        FormatRow{"GermanLastSmallPlain", "de_DE", 0.0001, u"0,0001"},
        FormatRow{"GermanSmallPlainDigits", "de_DE", 0.00012345, u"0,00012345"},
        FormatRow{"GermanJustBelowPlain", "de_DE", 9.99999999999999e-5, u"9,99999999999999E-05"},
        FormatRow{"GermanRoundsIntoPlain", "de_DE", 0.000099999999999999999, u"0,0001"},
        FormatRow{"GermanRoundedMantissa", "de_DE", 123456789012345678.0, u"1,23456789012346E+17"},
        FormatRow{"GermanRoundsIntoExponent", "de_DE", 999999999999999.9, u"1E+15"},
        FormatRow{"GermanNegative", "de_DE", -2, u"-2"},
        FormatRow{"GermanNegativeExponent", "de_DE", -1.5e-7, u"-1,5E-07"},
        FormatRow{"GermanProduct", "de_DE", 1.6e9, u"1600000000"},
        FormatRow{"GermanZero", "de_DE", 0.0, u"0"},
        FormatRow{"GermanNegativeZero", "de_DE", -0.0, u"0"},
        FormatRow{"GermanLargest", "de_DE", largest, u"1,79769313486232E+308"},
        FormatRow{"GermanSubnormalFewerDigits", "de_DE", 2e-310, u"1,99999999999999E-310"},
        FormatRow{"GermanSmallestSubnormal", "de_DE", denormMin, u"4,94065645841247E-324"},
        FormatRow{"EnglishHalf", "en_US", 0.5, u"0.5"},
        FormatRow{"EnglishSmallExponent", "en_US", 1e-5, u"1E-05"},
        FormatRow{"EnglishNoGrouping", "en_US", 1234567.25, u"1234567.25"},
        FormatRow{"EnglishThreeDigitExponent", "en_US", -1e100, u"-1E+100"},
        FormatRow{"FrenchNoGrouping", "fr_FR", 1234.5, u"1234,5"},
        FormatRow{"SwissNoGrouping", "de_CH", 1234.5, u"1234.5"},
        FormatRow{"InfinityIsEmpty", "de_DE", std::numeric_limits<double>::infinity(), u""},
        FormatRow{"NotANumberIsEmpty", "de_DE", std::numeric_limits<double>::quiet_NaN(), u""}),
    rowName<FormatRow>);

// The value rounded to 15 significant digits, computed without the module.
double roundedTo15Digits(double value)
{
    std::array<char, 32> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::scientific, 14);
    double rounded = 0.0;
    std::from_chars(buffer.data(), written.ptr, rounded);
    return rounded;
}

struct LocaleRow {
    const char* name;
    const char* locale;
};

class FormatThenParse : public testing::TestWithParam<LocaleRow> {};

TEST_P(FormatThenParse, GivesTheValueRoundedTo15Digits)
{
    const Separators separators = separatorsFor(GetParam().locale);
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<int> decimalExponent(-320, 307);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> shortNumber(-99999, 99999);
    std::uniform_int_distribution<int> shortScale(0, 6);
    for (int i = 0; i < 5000; ++i) {
        // Mostly values of any magnitude, subnormals included; some with few digits, which
        // come out in plain notation with zeros to keep or drop.
        double value = 0.0;
        if (i % 4 == 0) {
            value = shortNumber(random) / std::pow(10.0, shortScale(random));
        } else {
            value = mantissa(random) * std::pow(10.0, decimalExponent(random));
            if ((random() & 1U) != 0) {
                value = -value;
            }
        }
        const QString text = format(value, separators);
        ASSERT_FALSE(text.contains(separators.group)) << text.toStdString();
        ASSERT_FALSE(text.contains(u' ') || text.contains(u'\u00A0') || text.contains(u'\u202F'))
            << text.toStdString();
        const auto parsed = parse(text, separators);
        ASSERT_TRUE(parsed.ok()) << text.toStdString();
        ASSERT_EQ(parsed.value, roundedTo15Digits(value)) << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(NumberText, FormatThenParse,
                         testing::Values(LocaleRow{"German", "de_DE"},
                                         LocaleRow{"English", "en_US"},
                                         LocaleRow{"French", "fr_FR"},
                                         LocaleRow{"SwissGerman", "de_CH"}),
                         rowName<LocaleRow>);

} // namespace
