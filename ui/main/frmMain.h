#pragma once

#include "ExactMatrix.h"
#include "NumberText.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;
class WorkingWindow;
class frmInput;

// The main window: the order chooser, the button that opens the entry window, the compute and
// exit commands and the result. Numbers are read and written with the separators it is given.
class frmMain : public QWidget {
    Q_OBJECT

public:
    explicit frmMain(NumberText::Separators separators, QWidget* parent = nullptr);

    enum StartButton { Compute = 0, Exit = 1 };

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void setUpFocusAndFonts();
    void formLoad();
    void applySchemeColours();
    void applyOrderMark();

    void udEingabeChange();
    void txtEingabeChange();
    void btnEingabeClick();
    void btnStartClick(int index);
    void showResult();
    void showWorking();

    NumberText::Separators separators_;
    QLabel* Label1 = nullptr;
    QGroupBox* framEingabe = nullptr;
    QLabel* lblEingabe = nullptr;
    QLineEdit* txtEingabe = nullptr;
    UpDown* udEingabe = nullptr;
    QPushButton* btnEingabe = nullptr;
    std::array<QPushButton*, 2> btnStart{};
    QLabel* lblAusgabe = nullptr;
    QFont resultFont_; // as designed; a long result is written smaller to fit the label
    QAction* copyExact_ = nullptr;
    QString exactText_; // the exact value in the caption, with all its digits
    QAction* showWorking_ = nullptr;
    // What the result shown was computed from, for its working: the exact entries, the result
    // (none after an overflow) and its text.
    std::optional<Kalvoran::ExactMatrix> resultMatrix_;
    std::optional<double> resultValue_;
    QString resultText_;
    QPointer<WorkingWindow> working_;
    QLabel* lblAutor = nullptr;
    QPointer<frmInput> input_;
    bool orderTextValid_ = true;
};
