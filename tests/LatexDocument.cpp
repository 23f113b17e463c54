// Writes a LaTeX document with the working of determinants of orders 1 to 10 (integers, zeros,
// negative numbers, decimals, fractions, exponents) along their rows, columns and by Sarrus, each
// fragment as the window copies it, into the file named by the argument, for pdflatex to compile.
#include "LatexWorking.h"
#include "Working.h"

#include <QFile>
#include <QLocale>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    using Kalvoran::Rational;
    QString document = QStringLiteral("\\documentclass{article}\n\\usepackage{amsmath}\n"
                                      "\\begin{document}\n");
    const Rational kinds[] = {
        Rational(0),          Rational(-3),        Rational(7) / 2,
        Rational(-1) / 3,     Rational(5) / 4,     Rational(12),
        Rational(-2) / 7,     Rational(10) / 1024, Rational(Kalvoran::powerOfTen(18)),
        Rational(-1) / 100000};
    for (int order = 1; order <= 10; ++order) {
        Kalvoran::ExactMatrix m(order);
        for (int i = 0; i < order; ++i)
            for (int j = 0; j < order; ++j)
                if ((i + j) % 4 == 1)
                    m(i, j) = Rational(i * order + j + 1);
                else
                    m(i, j) = kinds[(i * 3 + j * 7 + order) % 10];
        std::vector<Kalvoran::WorkingLine> lines{{Kalvoran::WorkingLine::Kind::Row, 0},
                                                 {Kalvoran::WorkingLine::Kind::Column, order - 1}};
        if (order == 3)
            lines.push_back({Kalvoran::WorkingLine::Kind::Sarrus, 0});
        for (const auto line : lines)
            document += LatexWorking(NumberText::separatorsOf(QLocale::German))
                            .write(Kalvoran::workOut(m, line),
                                   QStringLiteral("det(D) = 0,333333333333333"));
    }
    document += QStringLiteral("\\end{document}\n");
    QFile file(QString::fromLocal8Bit(argv[1]));
    return file.open(QIODevice::WriteOnly) && file.write(document.toUtf8()) >= 0 ? 0 : 1;
}
