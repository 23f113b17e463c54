#pragma once

#include "NumberText.h"
#include "Working.h"

#include <QString>

#include <vector>

// A piece of an equation: a number, an operator or a determinant by its name.
struct WorkingWriterToken {
    enum class Kind { Number, Plus, Minus, Times, Determinant };
    // How a number stands: on its own, as a factor of a product, or after a plus or minus sign. A
    // negative factor or operand goes in parentheses.
    enum class Place { Alone, Factor, Operand };
    Kind kind = Kind::Number;
    Kalvoran::Rational value; // a Number
    Place place = Place::Alone;
    bool withoutSign = false; // a Number written by its magnitude, after a minus sign
    QString subscript;        // a Determinant's name, as subscriptOf gives it
};

// Writes the working of a determinant out step by step: the matrix, each expansion with its
// minors, their values, the products and the sum, the value and, where the main window's
// floating-point result is another number, that result. The notation is the subclass's; the
// numbers are those of the working, exactly, with the separators given.
class WorkingWriter {
public:
    virtual ~WorkingWriter() = default;
    WorkingWriter(const WorkingWriter&) = delete;
    WorkingWriter& operator=(const WorkingWriter&) = delete;

    // `floatingResult` is the main window's result as it shows it, where that is not the exact
    // value; else empty.
    [[nodiscard]] QString write(const Kalvoran::WorkedDeterminant& worked,
                                const QString& floatingResult);

protected:
    explicit WorkingWriter(NumberText::Separators separators);

    using Token = WorkingWriterToken;
    using Place = WorkingWriterToken::Place;
    using Expression = std::vector<Token>;

    virtual void matrix(const QString& subscript, const Kalvoran::ExactMatrix& matrix) = 0;
    // Sides that are equal, left to right.
    virtual void equation(const std::vector<Expression>& sides) = 0;
    virtual void paragraph(const QString& text) = 0;
    // A name as it stands inside a paragraph.
    [[nodiscard]] virtual QString nameInText(const QString& subscript) const = 0;
    // The text written so far; the writer starts afresh.
    [[nodiscard]] virtual QString taken() = 0;

    // A value's magnitude as an integer or a decimal ("1,5", "2,5E+20") when it ends, else a
    // fraction in lowest terms ("1/3").
    [[nodiscard]] QString magnitudeText(const Kalvoran::Rational& value) const;

private:
    void steps(const Kalvoran::WorkedDeterminant& worked);
    void expansion(const Kalvoran::WorkedDeterminant& worked);
    void products(const Kalvoran::WorkedDeterminant& worked);
    [[nodiscard]] QString expansionNote(const Kalvoran::WorkedDeterminant& worked) const;

    NumberText::Separators separators_;
};

// The subscript naming a minor by its struck rows and columns, one level after another ("12",
// "12,31"); a row and column beyond 9 are parted by a comma as well ("1,10"). Empty for D.
[[nodiscard]] QString subscriptOf(const std::vector<Kalvoran::Strike>& path);
