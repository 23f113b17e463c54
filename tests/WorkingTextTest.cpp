// Reads the working's plain text back with an evaluator of its own, in exact rationals: every
// determinant drawn must be the minor its name says, every equation must hold with each det(…)
// taken by Leibniz's formula, and the last line must give det(D).
#include "NumberText.h"
#include "PlainWorking.h"
#include "Working.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <optional>
#include <random>
#include <tuple>
#include <utility>

using Kalvoran::ExactMatrix;
using Kalvoran::Rational;
using Kalvoran::WorkingLine;

namespace {

Rational leibniz(const ExactMatrix& m)
{
    std::vector<int> p(static_cast<std::size_t>(m.order()));
    std::iota(p.begin(), p.end(), 0);
    Rational sum;
    do {
        Rational product(1);
        int inversions = 0;
        for (int i = 0; i < m.order(); ++i) {
            product *= m(i, p[i]);
            for (int j = i + 1; j < m.order(); ++j)
                inversions += p[j] < p[i] ? 1 : 0;
        }
        sum += inversions % 2 == 0 ? product : Rational(-product);
    } while (std::next_permutation(p.begin(), p.end()));
    return sum;
}

// The text of one working, read line by line.
class Reader {
public:
    explicit Reader(const QString& text)
        : lines_(text.split(u'\n'))
    {
    }

    // Reads every line; returns the value of the last one, which must be "det(D) = value".
    Rational read()
    {
        QString block;
        QString lastLeft;
        Rational last;
        for (const QString& line : lines_) {
            if (line.startsWith(u'|')) {
                EXPECT_FALSE(block.isEmpty())
                    << "a row outside a determinant: " << qPrintable(line);
                rows_[block] << line.mid(1, line.size() - 2).split(u' ', Qt::SkipEmptyParts);
                continue;
            }
            block = line.endsWith(QStringLiteral(" =")) ? line.chopped(2) : QString();
            if (!line.startsWith(QStringLiteral("det(")))
                continue;
            const QStringList sides = line.split(QStringLiteral(" = "));
            EXPECT_GE(sides.size(), 2) << qPrintable(line);
            const Rational left = value(sides.front());
            for (const QString& side : sides)
                EXPECT_EQ(value(side), left) << qPrintable(line);
            lastLeft = sides.size() == 2 ? sides.front() : QString();
            last = left;
        }
        EXPECT_EQ(lastLeft, QStringLiteral("det(D)")) << "the last equation is not det(D) = value";
        return last;
    }

    // The matrix drawn as `name`, or where it is not drawn, the minor its name gives.
    ExactMatrix matrix(const QString& name)
    {
        const auto level = name.lastIndexOf(u',');
        ExactMatrix drawn;
        if (rows_.contains(name)) {
            const QList<QStringList>& rows = rows_[name];
            drawn = ExactMatrix(static_cast<int>(rows.size()));
            for (int i = 0; i < drawn.order(); ++i) {
                EXPECT_EQ(rows[i].size(), drawn.order()) << qPrintable(name);
                for (int j = 0; j < std::min<int>(drawn.order(), rows[i].size()); ++j)
                    drawn(i, j) = value(rows[i][j]);
            }
            if (name == QStringLiteral("D"))
                return drawn;
        }
        // "D₁₂" strikes row 1 and column 2 of D, "D₁₂,₃₁" row 3 and column 1 of D₁₂.
        const QString parentName = level < 0 ? QStringLiteral("D") : name.left(level);
        const QString strike = name.mid(level < 0 ? 1 : level + 1);
        EXPECT_EQ(strike.size(), 2) << qPrintable(name);
        const int row = strike[0].unicode() - 0x2081;
        const int column = strike[1].unicode() - 0x2081;
        const ExactMatrix parent = matrix(parentName);
        EXPECT_NE(parent(row, column), 0) << "a minor drawn for a zero entry: " << qPrintable(name);
        const ExactMatrix minor = parent.without(row, column);
        if (drawn.order() > 0) {
            EXPECT_EQ(drawn, minor) << qPrintable(name);
        }
        return minor;
    }

private:
    // Expressions: + and −, · and /, parentheses, a minus in front of a whole side or inside
    // parentheses, numbers such as "1,5E−03", det(name).
    Rational value(const QString& text)
    {
        // A det(…) inside reads the entries of its matrix.
        const auto outer =
            std::make_pair(std::exchange(text_, QString(text).remove(u' ')), std::exchange(at_, 0));
        const Rational result = sum();
        EXPECT_EQ(at_, text_.size()) << "unread: " << qPrintable(text_.mid(at_));
        std::tie(text_, at_) = outer;
        return result;
    }
    bool take(QStringView what)
    {
        if (!QStringView(text_).mid(at_).startsWith(what))
            return false;
        at_ += what.size();
        return true;
    }
    Rational sum()
    {
        Rational result = take(u"−") ? Rational(-product()) : product();
        for (;;) {
            if (take(u"+"))
                result += product();
            else if (take(u"−"))
                result -= product();
            else
                return result;
        }
    }
    Rational product()
    {
        Rational result = factor();
        for (;;) {
            if (take(u"·"))
                result *= factor();
            else if (take(u"/"))
                result /= factor();
            else
                return result;
        }
    }
    Rational factor()
    {
        // A negative factor stands in parentheses: no sign here.
        if (take(u"(")) {
            const Rational inner = sum();
            EXPECT_TRUE(take(u")")) << qPrintable(text_);
            return inner;
        }
        if (take(u"det(")) {
            const auto end = text_.indexOf(u')', at_);
            const QString name = text_.mid(at_, end - at_);
            at_ = end + 1;
            return leibniz(matrix(name));
        }
        static const QRegularExpression number(QStringLiteral("\\d+(,\\d+)?(E[+−]\\d+)?"));
        const QRegularExpressionMatch match =
            number.match(text_, at_, QRegularExpression::NormalMatch,
                         QRegularExpression::AnchorAtOffsetMatchOption);
        EXPECT_TRUE(match.hasMatch()) << "no number at: " << qPrintable(text_.mid(at_));
        at_ += match.capturedLength();
        QString decimal = match.captured();
        const NumberText::ParsedEntry parsed = NumberText::parseEntry(
            decimal.replace(u'−', u'-'), NumberText::separatorsOf(QLocale::German));
        EXPECT_TRUE(parsed.ok()) << qPrintable(decimal);
        return parsed.number.exact;
    }

    QStringList lines_;
    std::map<QString, QList<QStringList>> rows_;
    QString text_;
    qsizetype at_ = 0;
};

// Integers, zeros, decimals and fractions, negative and positive, at random.
ExactMatrix randomMatrix(int order, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<int> small(-9, 9);
    std::uniform_int_distribution<int> below(1, 12);
    ExactMatrix m(order);
    for (int i = 0; i < order; ++i)
        for (int j = 0; j < order; ++j) {
            switch (kind(random)) {
            case 0: // zero
                break;
            case 1:
                m(i, j) = Rational(small(random));
                break;
            case 2: // a decimal, such as −0,25 or 1,5
                m(i, j) = Rational(small(random)) / 4;
                break;
            default:
                m(i, j) = Rational(small(random)) / below(random);
            }
        }
    return m;
}

std::vector<WorkingLine> everyLine(int order)
{
    std::vector<WorkingLine> lines;
    for (const auto kind : {WorkingLine::Kind::Row, WorkingLine::Kind::Column})
        for (int index = 0; index < order; ++index)
            lines.push_back({kind, index});
    if (order == 3)
        lines.push_back({WorkingLine::Kind::Sarrus, 0});
    return lines;
}

class WorkingText : public testing::TestWithParam<int> {};

TEST_P(WorkingText, EveryLineReadsBackToTheDeterminant)
{
    const int order = GetParam();
    const NumberText::Separators german = NumberText::separatorsOf(QLocale::German);
    for (unsigned seed = 1; seed <= 4; ++seed) {
        const ExactMatrix m = randomMatrix(order, seed * 100 + static_cast<unsigned>(order));
        for (const WorkingLine line : everyLine(order)) {
            const QString text = PlainWorking(german).write(Kalvoran::workOut(m, line), {});
            SCOPED_TRACE(text.toStdString());
            Reader reader(text);
            EXPECT_EQ(reader.read(), leibniz(m));
            EXPECT_EQ(reader.matrix(QStringLiteral("D")), m);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Orders, WorkingText, testing::Range(1, 7));

// The line to expand along: the most zeros, rows before columns, the first row on a tie.
struct LineCase {
    std::vector<int> entries;
    WorkingLine expected;
};

class DefaultLine : public testing::TestWithParam<LineCase> {};

TEST_P(DefaultLine, MostZerosFirstRowOnATie)
{
    const LineCase& c = GetParam();
    const auto order = static_cast<int>(std::lround(std::sqrt(c.entries.size())));
    ExactMatrix m(order);
    for (int i = 0; i < order * order; ++i)
        m(i / order, i % order) = Rational(c.entries[static_cast<std::size_t>(i)]);
    EXPECT_EQ(Kalvoran::defaultLine(m), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Matrices, DefaultLine,
    testing::Values(LineCase{{1, 2, 3, 4, 5, 6, 7, 8, 9}, {WorkingLine::Kind::Row, 0}},
                    LineCase{{1, 2, 3, 0, 5, 0, 7, 8, 9}, {WorkingLine::Kind::Row, 1}},
                    LineCase{{1, 0, 3, 4, 0, 6, 7, 8, 9}, {WorkingLine::Kind::Column, 1}},
                    LineCase{{1, 0, 3, 0, 5, 6, 7, 8, 9}, {WorkingLine::Kind::Row, 0}},
                    LineCase{{1, 2, 0, 0, 4, 5, 6, 0, 7, 8, 0, 9, 1, 2, 0, 3},
                             {WorkingLine::Kind::Column, 2}}));

// Whether the main window's result needs a line of its own under the working.
struct FloatingCase {
    Rational exact;
    std::optional<double> floating;
    bool differs;
};

class FloatingDiffers : public testing::TestWithParam<FloatingCase> {};

TEST_P(FloatingDiffers, OnlyWhereTheDoubleIsAnotherNumber)
{
    EXPECT_EQ(Kalvoran::floatingDiffers(GetParam().exact, GetParam().floating), GetParam().differs);
}

const Rational smallestSubnormal = Rational(1) / (Kalvoran::BigInteger(1) << 1074U);
INSTANTIATE_TEST_SUITE_P(
    Values, FloatingDiffers,
    testing::Values(FloatingCase{Rational(48), 48.0, false},
                    FloatingCase{Rational(-3) / 8, -0.375, false},
                    FloatingCase{Rational(0), -0.0, false},
                    FloatingCase{Rational(Kalvoran::BigInteger(1) << 80U), 0x1p80, false},
                    FloatingCase{Rational(2396) / 25, 95.84, true}, // 95,84 has no double
                    FloatingCase{Rational(1) / 3, 1.0 / 3, true},
                    FloatingCase{Rational(3) / 2, 1.5000000000000002, true},
                    FloatingCase{smallestSubnormal, 0x1p-1074, false},
                    FloatingCase{smallestSubnormal * 3, 0x1p-1074, true},
                    FloatingCase{Rational(1), std::nullopt, true})); // an overflow

} // namespace
