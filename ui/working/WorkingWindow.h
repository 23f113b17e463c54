#pragma once

#include "NumberText.h"
#include "Working.h"

#include <QDialog>

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QTextBrowser;

// The window "Rechenweg": the working of a determinant along the row or column chosen (or by
// the rule of Sarrus), to read and to copy as text or LaTeX. It starts on the line a pupil would
// choose.
class WorkingWindow : public QDialog {
    Q_OBJECT

public:
    // `floatingResult` is the main window's result (none after an overflow) and `resultText` how
    // it shows it, named where it is not the exact value.
    WorkingWindow(Kalvoran::ExactMatrix matrix, std::optional<double> floatingResult,
                  QString resultText, NumberText::Separators separators, QWidget* parent = nullptr);

    [[nodiscard]] QString plainText() const { return plain_; }
    [[nodiscard]] QString latex() const { return latex_; }

private:
    void showLine(int choice);

    Kalvoran::ExactMatrix matrix_;
    std::optional<double> floatingResult_;
    QString resultText_;
    NumberText::Separators separators_;
    std::vector<Kalvoran::WorkingLine> lines_; // as the choice box lists them
    QComboBox* lineChoice_ = nullptr;
    QLabel* note_ = nullptr;
    QTextBrowser* browser_ = nullptr;
    QString plain_;
    QString latex_;
};
