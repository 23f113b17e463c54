#pragma once

#include "WorkingWriter.h"

#include <QStringList>

// The working as a LaTeX fragment for a document with amsmath: each determinant and equation
// displayed on its own, determinants as vmatrix, \frac for fractions, {,} for a decimal comma.
class LatexWorking : public WorkingWriter {
public:
    explicit LatexWorking(NumberText::Separators separators);

protected:
    void matrix(const QString& subscript, const Kalvoran::ExactMatrix& matrix) override;
    void equation(const std::vector<Expression>& sides) override;
    void paragraph(const QString& text) override;
    [[nodiscard]] QString nameInText(const QString& subscript) const override;
    [[nodiscard]] QString taken() override;

private:
    [[nodiscard]] QString numberText(const Kalvoran::Rational& value, Place place,
                                     bool withoutSign = false) const;
    [[nodiscard]] QString tokenText(const Token& token) const;

    QStringList chunks_;
};
