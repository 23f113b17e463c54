#include "HtmlWorking.h"

#include <utility>

HtmlWorking::HtmlWorking(NumberText::Separators separators)
    : PlainWorking(std::move(separators))
{
}

QString HtmlWorking::name(const QString& subscript) const
{
    return subscript.isEmpty() ? QStringLiteral("D")
                               : QStringLiteral("D<sub>%1</sub>").arg(subscript);
}

void HtmlWorking::matrix(const QString& subscript, const Kalvoran::ExactMatrix& matrix)
{
    // Minors are drawn smaller than the matrix itself.
    html_ += subscript.isEmpty() ? QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\">")
                                 : QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\" "
                                                  "style=\"font-size: small\">");
    const int order = matrix.order();
    for (int i = 0; i < order; ++i) {
        html_ += QStringLiteral("<tr>");
        if (i == 0)
            html_ += QStringLiteral("<td rowspan=\"%1\" valign=\"middle\">%2 =&nbsp;</td>")
                         .arg(order)
                         .arg(name(subscript));
        html_ += QStringLiteral("<td>|</td>");
        for (int j = 0; j < order; ++j)
            html_ += QStringLiteral("<td align=\"right\">%1</td>")
                         .arg(numberText(matrix(i, j), Place::Alone));
        html_ += QStringLiteral("<td>|</td></tr>");
    }
    html_ += QStringLiteral("</table>");
}

void HtmlWorking::equation(const std::vector<Expression>& sides)
{
    html_ += QStringLiteral("<p>") + sidesText(sides) + QStringLiteral("</p>");
}

void HtmlWorking::paragraph(const QString& text)
{
    html_ += QStringLiteral("<p><i>") + text + QStringLiteral("</i></p>");
}

QString HtmlWorking::taken()
{
    return std::exchange(html_, QString());
}
