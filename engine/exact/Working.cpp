#include "Working.h"

#include "ExactDeterminant.h"

#include <cmath>
#include <initializer_list>
#include <stdexcept>
#include <utility>

namespace Kalvoran {

namespace {

// Orders up to this one are written out to 2 × 2 determinants; larger ones by their first level.
constexpr int highestWrittenOut = 4;

EntryProduct productOf(const ExactMatrix& matrix, std::initializer_list<Strike> places,
                       bool subtracted)
{
    EntryProduct product{{}, subtracted, Rational(1)};
    for (const Strike place : places) {
        product.factors.push_back(matrix(place.row, place.column));
        product.value *= product.factors.back();
    }
    return product;
}

Rational sumOf(const std::vector<EntryProduct>& products)
{
    Rational sum;
    for (const EntryProduct& product : products) {
        if (product.subtracted)
            sum -= product.value;
        else
            sum += product.value;
    }
    return sum;
}

WorkedDeterminant work(const ExactMatrix& matrix, WorkingLine line, std::vector<Strike> path,
                       bool writtenOut)
{
    using Method = WorkedDeterminant::Method;
    WorkedDeterminant worked;
    worked.path = std::move(path);
    worked.matrix = matrix;
    worked.line = line;
    const int order = matrix.order();
    if (!writtenOut) {
        worked.method = Method::ValueOnly;
        worked.value = ExactDeterminant(matrix);
        return worked;
    }
    if (order == 1) {
        worked.method = Method::Single;
        worked.value = matrix(0, 0);
        return worked;
    }
    if (order == 2) {
        worked.method = Method::Cross;
        worked.products = {productOf(matrix, {{0, 0}, {1, 1}}, false),
                           productOf(matrix, {{1, 0}, {0, 1}}, true)};
        worked.value = sumOf(worked.products);
        return worked;
    }
    if (line.kind == WorkingLine::Kind::Sarrus) {
        worked.method = Method::Sarrus;
        worked.products = {productOf(matrix, {{0, 0}, {1, 1}, {2, 2}}, false),
                           productOf(matrix, {{0, 1}, {1, 2}, {2, 0}}, false),
                           productOf(matrix, {{0, 2}, {1, 0}, {2, 1}}, false),
                           productOf(matrix, {{0, 2}, {1, 1}, {2, 0}}, true),
                           productOf(matrix, {{0, 0}, {1, 2}, {2, 1}}, true),
                           productOf(matrix, {{0, 1}, {1, 0}, {2, 2}}, true)};
        worked.value = sumOf(worked.products);
        return worked;
    }
    worked.method = Method::Expansion;
    const bool minorsWrittenOut = order <= highestWrittenOut;
    for (int k = 0; k < order; ++k) {
        ExpansionTerm term;
        term.strike =
            line.kind == WorkingLine::Kind::Row ? Strike{line.index, k} : Strike{k, line.index};
        term.negative = (term.strike.row + term.strike.column) % 2 != 0;
        term.entry = matrix(term.strike.row, term.strike.column);
        if (term.entry != 0) {
            const ExactMatrix minor = matrix.without(term.strike.row, term.strike.column);
            std::vector<Strike> minorPath = worked.path;
            minorPath.push_back(term.strike);
            term.minor.push_back(
                work(minor, defaultLine(minor), std::move(minorPath), minorsWrittenOut));
            term.product = term.entry * term.minor.front().value;
            if (term.negative)
                term.product = -term.product;
        }
        worked.value += term.product;
        worked.terms.push_back(std::move(term));
    }
    return worked;
}

} // namespace

WorkingLine defaultLine(const ExactMatrix& matrix)
{
    const int order = matrix.order();
    WorkingLine best;
    int bestZeros = -1;
    for (const auto kind : {WorkingLine::Kind::Row, WorkingLine::Kind::Column}) {
        for (int index = 0; index < order; ++index) {
            int zeros = 0;
            for (int k = 0; k < order; ++k) {
                const bool row = kind == WorkingLine::Kind::Row;
                zeros += matrix(row ? index : k, row ? k : index) == 0 ? 1 : 0;
            }
            if (zeros > bestZeros) {
                best = {kind, index};
                bestZeros = zeros;
            }
        }
    }
    return best;
}

WorkedDeterminant workOut(const ExactMatrix& matrix, WorkingLine line)
{
    const int order = matrix.order();
    if (order < 1)
        throw std::invalid_argument("workOut: no matrix");
    if (line.kind == WorkingLine::Kind::Sarrus ? order != 3 : line.index < 0 || line.index >= order)
        throw std::invalid_argument("workOut: no such line in the matrix");
    return work(matrix, line, {}, true);
}

bool floatingDiffers(const Rational& exact, std::optional<double> floating)
{
    if (!floating || !std::isfinite(*floating))
        return true;
    // The double is mantissa · 2^exponent with an integer mantissa of 53 bits at most; compared
    // with numerator / denominator in integers.
    int exponent = 0;
    const double fraction = std::frexp(*floating, &exponent);
    const BigInteger mantissa(static_cast<long long>(std::ldexp(fraction, 53)));
    exponent -= 53;
    const BigInteger top = numerator(exact);
    const BigInteger bottom = denominator(exact);
    if (exponent >= 0)
        return bottom != 1 || top != (mantissa << static_cast<unsigned>(exponent));
    return (top << static_cast<unsigned>(-exponent)) != mantissa * bottom;
}

} // namespace Kalvoran
