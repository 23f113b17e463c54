#pragma once

#include "PlainWorking.h"

// The working as rich text for a text browser: the plain text's notation, names with their
// subscripts set lower, each determinant as a table between bars. It sets no colours, so the
// browser's palette draws it.
class HtmlWorking : public PlainWorking {
public:
    explicit HtmlWorking(NumberText::Separators separators);

protected:
    void matrix(const QString& subscript, const Kalvoran::ExactMatrix& matrix) override;
    void equation(const std::vector<Expression>& sides) override;
    void paragraph(const QString& text) override;
    [[nodiscard]] QString taken() override;
    [[nodiscard]] QString name(const QString& subscript) const override;

private:
    QString html_;
};
