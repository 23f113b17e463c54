#pragma once

#include "WorkingWriter.h"

#include <QStringList>

// The working as plain Unicode text, one equation a line; a determinant is written as its name
// and then its rows between bars, "| 1  −2 |".
class PlainWorking : public WorkingWriter {
public:
    explicit PlainWorking(NumberText::Separators separators);

protected:
    void matrix(const QString& subscript, const Kalvoran::ExactMatrix& matrix) override;
    void equation(const std::vector<Expression>& sides) override;
    void paragraph(const QString& text) override;
    [[nodiscard]] QString nameInText(const QString& subscript) const override;
    [[nodiscard]] QString taken() override;

    // The pieces that rich text marks up in its own way.
    [[nodiscard]] virtual QString name(const QString& subscript) const;
    [[nodiscard]] QString sidesText(const std::vector<Expression>& sides) const;
    [[nodiscard]] QString numberText(const Kalvoran::Rational& value, Place place,
                                     bool withoutSign = false) const;
    [[nodiscard]] QStringList matrixRows(const Kalvoran::ExactMatrix& matrix) const;

private:
    [[nodiscard]] QString tokenText(const Token& token) const;

    QStringList lines_;
};
