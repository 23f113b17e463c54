#include "WorkingWindow.h"

#include "HtmlWorking.h"
#include "LatexWorking.h"
#include "PlainWorking.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

using Kalvoran::WorkingLine;

WorkingWindow::WorkingWindow(Kalvoran::ExactMatrix matrix, std::optional<double> floatingResult,
                             QString resultText, NumberText::Separators separators, QWidget* parent)
    : QDialog(parent)
    , matrix_(std::move(matrix))
    , floatingResult_(floatingResult)
    , resultText_(std::move(resultText))
    , separators_(std::move(separators))
{
    setObjectName(QStringLiteral("WorkingWindow"));
    setWindowTitle(tr("Rechenweg"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(640, 520);

    const int order = matrix_.order();
    lineChoice_ = new QComboBox(this);
    lineChoice_->setObjectName(QStringLiteral("lineChoice"));
    for (const auto kind : {WorkingLine::Kind::Row, WorkingLine::Kind::Column})
        for (int index = 0; index < order; ++index) {
            lines_.push_back({kind, index});
            lineChoice_->addItem(kind == WorkingLine::Kind::Row ? tr("%1. Zeile").arg(index + 1)
                                                                : tr("%1. Spalte").arg(index + 1));
        }
    if (order == 3) {
        lines_.push_back({WorkingLine::Kind::Sarrus, 0});
        lineChoice_->addItem(tr("Regel von Sarrus"));
    }
    // Orders 1 and 2 are worked out the same way along any line.
    lineChoice_->setEnabled(order > 2);
    auto* choiceLabel = new QLabel(tr("Entwickeln &nach:"), this);
    choiceLabel->setBuddy(lineChoice_);

    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("note"));
    note_->setWordWrap(true);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("working"));
    browser_->setAccessibleName(tr("Rechenweg"));
    browser_->setLineWrapMode(QTextEdit::NoWrap);

    auto* copyText = new QPushButton(tr("Als &Text kopieren"), this);
    copyText->setObjectName(QStringLiteral("copyText"));
    auto* copyLatex = new QPushButton(tr("Als &LaTeX kopieren"), this);
    copyLatex->setObjectName(QStringLiteral("copyLatex"));
    auto* close = new QPushButton(tr("&Schließen"), this);
    for (QPushButton* button : {copyText, copyLatex, close})
        button->setAutoDefault(false);
    const auto copy = [](const QString& text) { QGuiApplication::clipboard()->setText(text); };
    connect(copyText, &QPushButton::clicked, this, [this, copy] { copy(plain_); });
    connect(copyLatex, &QPushButton::clicked, this, [this, copy] { copy(latex_); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    // Ctrl+C copies the text, unless a part of it is selected in the browser, which copies that.
    auto* copyShortcut = new QShortcut(QKeySequence::Copy, this);
    connect(copyShortcut, &QShortcut::activated, this, [this, copy] { copy(plain_); });

    auto* choiceRow = new QHBoxLayout;
    choiceRow->addWidget(choiceLabel);
    choiceRow->addWidget(lineChoice_);
    choiceRow->addStretch();
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(copyText);
    buttonRow->addWidget(copyLatex);
    buttonRow->addStretch();
    buttonRow->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choiceRow);
    layout->addWidget(note_);
    layout->addWidget(browser_, 1);
    layout->addLayout(buttonRow);

    connect(lineChoice_, &QComboBox::currentIndexChanged, this, &WorkingWindow::showLine);
    const WorkingLine start =
        order > 2 ? Kalvoran::defaultLine(matrix_) : WorkingLine{WorkingLine::Kind::Row, 0};
    const auto chosen = std::find(lines_.begin(), lines_.end(), start) - lines_.begin();
    lineChoice_->setCurrentIndex(static_cast<int>(chosen));
    showLine(lineChoice_->currentIndex());
    lineChoice_->setFocus();
}

void WorkingWindow::showLine(int choice)
{
    if (choice < 0 || choice >= static_cast<int>(lines_.size()))
        return;
    const WorkingLine line = lines_[static_cast<std::size_t>(choice)];
    const Kalvoran::WorkedDeterminant worked = Kalvoran::workOut(matrix_, line);
    const QString floating =
        Kalvoran::floatingDiffers(worked.value, floatingResult_) ? resultText_ : QString();
    plain_ = PlainWorking(separators_).write(worked, floating);
    latex_ = LatexWorking(separators_).write(worked, floating);
    browser_->setHtml(HtmlWorking(separators_).write(worked, floating));

    const bool firstRow = line == WorkingLine{WorkingLine::Kind::Row, 0};
    note_->setText(firstRow ? QString()
                            : tr("Das Programm selbst entwickelt stets nach der 1. Zeile; "
                                 "der Wert ist derselbe."));
    note_->setVisible(!firstRow);
}
