#include "NumberText.h"

#include "ExactDecimal.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <string>

namespace NumberText {
namespace {

constexpr char16_t noBreakSpace = u'\u00A0';
constexpr char16_t narrowNoBreakSpace = u'\u202F';
constexpr char16_t rightSingleQuote = u'\u2019';

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The spellings of the group separator that the input accepts. When the locale groups with a
// no-break space of either width, a plain space and the other no-break space count as well:
// nobody can be expected to type U+202F, and text pasted from elsewhere mixes them freely. In
// the same way the typewriter apostrophe stands for the typographic one (Swiss German).
class GroupSeparator {
public:
    explicit GroupSeparator(const QString& group)
        : group_(group)
        , anySpace_(group.size() == 1 &&
                    (group.front() == noBreakSpace || group.front() == narrowNoBreakSpace))
        , anyApostrophe_(group.size() == 1 && group.front() == rightSingleQuote)
    {
    }

    // The length of the separator at the start of text, or 0 if there is none.
    [[nodiscard]] qsizetype matchAt(QStringView text) const
    {
        if (text.isEmpty()) {
            return 0;
        }
        if (anySpace_) {
            const QChar c = text.front();
            return (c == u' ' || c == noBreakSpace || c == narrowNoBreakSpace) ? 1 : 0;
        }
        if (anyApostrophe_ && text.front() == u'\'') {
            return 1;
        }
        return (!group_.isEmpty() && text.startsWith(group_)) ? group_.size() : 0;
    }

private:
    QStringView group_;
    bool anySpace_;
    bool anyApostrophe_;
};

// Reads the digits before the decimal separator. Group separators must split them into a first
// group of 1 to 3 digits, not starting with 0, followed by groups of exactly 3: "0.001" typed on
// a German system is a decimal point, not a thousand.
bool readIntegerDigits(QStringView text, qsizetype& pos, const QString& decimal,
                       const GroupSeparator& group, std::string& digits)
{
    qsizetype groupLength = 0;
    bool grouped = false;
    while (pos < text.size()) {
        const QStringView rest = text.sliced(pos);
        if (!decimal.isEmpty() && rest.startsWith(decimal)) {
            break;
        }
        if (isDigit(rest.front())) {
            digits += static_cast<char>(rest.front().unicode());
            ++groupLength;
            ++pos;
            continue;
        }
        const qsizetype separatorLength = group.matchAt(rest);
        if (separatorLength == 0) {
            break;
        }
        const bool groupFits =
            grouped ? groupLength == 3
                    : (groupLength >= 1 && groupLength <= 3 && digits.front() != '0');
        if (!groupFits) {
            return false;
        }
        grouped = true;
        groupLength = 0;
        pos += separatorLength;
    }
    return !grouped || groupLength == 3;
}

void readPlainDigits(QStringView text, qsizetype& pos, std::string& digits)
{
    while (pos < text.size() && isDigit(text[pos])) {
        digits += static_cast<char>(text[pos++].unicode());
    }
}

bool readNumber(QStringView text, const Separators& separators, Kalvoran::DecimalText& number)
{
    qsizetype pos = 0;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        number.negative = text[pos++] == u'-';
    }

    if (!readIntegerDigits(text, pos, separators.decimal, GroupSeparator(separators.group),
                           number.integerDigits)) {
        return false;
    }
    if (!separators.decimal.isEmpty() && text.sliced(pos).startsWith(separators.decimal)) {
        pos += separators.decimal.size();
        readPlainDigits(text, pos, number.fractionDigits);
    }
    if (number.integerDigits.empty() && number.fractionDigits.empty()) {
        return false;
    }

    if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
            number.exponent += static_cast<char>(text[pos++].unicode());
        }
        const std::size_t signLength = number.exponent.size();
        readPlainDigits(text, pos, number.exponent);
        if (number.exponent.size() == signLength) {
            return false;
        }
    }
    return pos == text.size();
}

// A decimal number text, blanks already trimmed, read into its double and its exact value.
ParsedEntry readDecimal(QStringView text, const Separators& separators)
{
    Kalvoran::DecimalText number;
    if (!readNumber(text, separators, number))
        return {{}, Error::NotANumber};
    const Kalvoran::ReadNumber read = Kalvoran::readDecimal(number);
    return {read.number, read.error == Kalvoran::ReadError::None ? Error::None : Error::OutOfRange};
}

} // namespace

Separators separatorsOf(const QLocale& locale)
{
    return {locale.decimalPoint(), locale.groupSeparator()};
}

Parsed parse(QStringView text, const Separators& separators)
{
    // QStringView::trimmed() strips Unicode white space: spaces, tabs and the no-break spaces.
    const QStringView body = text.trimmed();
    if (body.isEmpty())
        return {0.0, Error::Empty};
    const ParsedEntry read = readDecimal(body, separators);
    return {read.ok() ? read.number.value : 0.0, read.error};
}

ParsedEntry parseEntry(QStringView text, const Separators& separators)
{
    const QStringView body = text.trimmed();
    if (body.isEmpty())
        return {{}, Error::Empty};
    const qsizetype slash = body.indexOf(u'/');
    if (slash < 0)
        return readDecimal(body, separators);

    const QStringView top = body.first(slash).trimmed();
    const QStringView bottom = body.sliced(slash + 1).trimmed();
    Kalvoran::DecimalText numerator;
    Kalvoran::DecimalText denominator;
    if (bottom.contains(u'/') || !readNumber(top, separators, numerator) ||
        !readNumber(bottom, separators, denominator))
        return {{}, Error::NotANumber};
    const Kalvoran::ReadNumber read = Kalvoran::readFraction(numerator, denominator);
    switch (read.error) {
    case Kalvoran::ReadError::None:
        return {read.number, Error::None};
    case Kalvoran::ReadError::ZeroDenominator:
        return {{}, Error::ZeroDenominator};
    default:
        return {{}, Error::OutOfRange};
    }
}

QString format(double value, const Separators& separators)
{
    if (!std::isfinite(value)) {
        return {};
    }
    if (value == 0.0) {
        return QStringLiteral("0");
    }

    // Rounded to 15 digits, the four largest doubles would become 1.79769313486232E+308, beyond
    // the double range, and their text would not read back: they are written as the largest
    // 15-digit value below, which every magnitude from there on rounds to anyway.
    constexpr double largestReadable = 1.79769313486231e308;
    const double written = std::copysign(std::min(std::abs(value), largestReadable), value);
    // 15 significant digits, correctly rounded, and the exponent of the rounded value.
    return formatAllDigits(Kalvoran::ExactDecimal::of(written, significantDigits), separators);
}

QString formatFraction(const Kalvoran::Rational& value)
{
    if (value == 0)
        return QStringLiteral("0");
    QString text = value < 0 ? QStringLiteral("-") : QString();
    text += QString::fromStdString(Kalvoran::decimalDigits(numerator(value)));
    if (denominator(value) != 1)
        text += u'/' + QString::fromStdString(Kalvoran::decimalDigits(denominator(value)));
    return text;
}

QString formatEntry(const Kalvoran::TypedNumber& number, const Separators& separators)
{
    if (number.value == 0)
        return std::signbit(number.value) ? QStringLiteral("-0") : QStringLiteral("0");
    if (number.fraction)
        return formatFraction(number.exact);
    // A decimal's exact value ends.
    return formatAllDigits(*Kalvoran::ExactDecimal::of(number.exact), separators);
}

QString format(const Kalvoran::ExactDecimal& value, const Separators& separators)
{
    return formatAllDigits(value.rounded(significantDigits), separators);
}

QString formatAllDigits(const Kalvoran::ExactDecimal& value, const Separators& separators)
{
    if (value.isZero()) {
        return QStringLiteral("0");
    }
    const std::string& digits = value.digits;
    const int exponent = value.exponent;
    QString result;
    if (value.negative) {
        result += u'-';
    }
    const auto significant = static_cast<int>(digits.size());
    if (exponent >= -4 && exponent <= 14) {
        if (exponent >= 0) {
            const int integerCount = exponent + 1;
            result += QLatin1StringView(digits.data(), std::min(integerCount, significant));
            result += QString(std::max(integerCount - significant, 0), u'0');
            if (significant > integerCount) {
                result += separators.decimal;
                result +=
                    QLatin1StringView(digits.data() + integerCount, significant - integerCount);
            }
        } else {
            result += u'0';
            result += separators.decimal;
            result += QString(-exponent - 1, u'0');
            result += QLatin1StringView(digits.data(), significant);
        }
    } else {
        result += QLatin1Char(digits.front());
        if (significant > 1) {
            result += separators.decimal;
            result += QLatin1StringView(digits.data() + 1, significant - 1);
        }
        result += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        result += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    }
    return result;
}

} // namespace NumberText
