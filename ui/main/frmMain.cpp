#include "frmMain.h"

#include "ActivateOnShow.h"
#include "BusyCursor.h"
#include "CaptionFit.h"
#include "DecimalKeypad.h"
#include "EnterPresses.h"
#include "EntryLayout.h"
#include "ExactDeterminant.h"
#include "ExactLine.h"
#include "HelpWindow.h"
#include "Kalvoran.h"
#include "LabelFit.h"
#include "OrderChoice.h"
#include "PlainWarning.h"
#include "SchemeColours.h"
#include "Twips.h"
#include "TypedMatrix.h"
#include "UpDown.h"
#include "WindowPlacement.h"
#include "WorkingWindow.h"
#include "frmInput.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace {

// The largest order is the one the entry grid can show.
constexpr int highestOrder = EntryLayout::gridSize;

QFont fontOf(const QStringList& families, qreal pointSize, QFont::Weight weight)
{
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setWeight(weight);
    return font;
}

QLabel* makeLabel(const QString& text, const QRect& geometry, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QPushButton* makeButton(const QString& caption, const QRect& geometry, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

} // namespace

frmMain::frmMain(NumberText::Separators separators, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , separators_(std::move(separators))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kalvora"));
    setFixedSize(Twips::toPixels(6015), Twips::toPixels(3630));
    createControls();
    new EnterPresses(*this); // owned by the window
    HelpWindow::offerIn(*this);
    setUpFocusAndFonts();
    formLoad();
    centreOnScreen(*this);
}

void frmMain::createControls()
{
    Label1 = makeLabel(tr("Programm zur Berechnung des Wertes einer Kalvoran. Geben Sie dazu an, "
                          "wieviele Zeilen und Spalten die Kalvora besitzt und tragen Sie dann "
                          "die Werte der Kalvora ein."),
                       Twips::toPixels(0, 0, 6015, 855), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    // The band is the one label with a background of its own; the others show their container's.
    Label1->setAutoFillBackground(true);
    Label1->setToolTip(tr("F1: Hilfe"));

    framEingabe = new QGroupBox(tr("Eingabeoptionen"), this);
    framEingabe->setObjectName(QStringLiteral("framEingabe"));
    framEingabe->setGeometry(Twips::toPixels(0, 960, 6015, 1575));

    lblEingabe = makeLabel(tr("Anzahl der Zeilen/Spalten:"), Twips::toPixels(240, 360, 1935, 375),
                           framEingabe);
    lblEingabe->setObjectName(QStringLiteral("lblEingabe"));

    txtEingabe = new QLineEdit(QStringLiteral("2"), framEingabe);
    txtEingabe->setObjectName(QStringLiteral("txtEingabe"));
    txtEingabe->setGeometry(Twips::toPixels(720, 720, 495, 375));
    txtEingabe->setMaxLength(std::numeric_limits<int>::max()); // no text is ever cut
    txtEingabe->setAccessibleName(tr("Anzahl der Zeilen/Spalten"));
    txtEingabe->installEventFilter(new DecimalKeypad(separators_.decimal, txtEingabe));
    lblEingabe->setBuddy(txtEingabe);

    udEingabe = new UpDown(framEingabe);
    udEingabe->setObjectName(QStringLiteral("udEingabe"));
    udEingabe->setGeometry(Twips::toPixels(1200, 720, 210, 375));
    udEingabe->setRange(1, highestOrder);
    udEingabe->setValue(2);
    udEingabe->setAccessibleName(tr("Anzahl der Zeilen/Spalten ändern"));

    btnEingabe = makeButton(tr("&Eingabe der Kalvora D"), Twips::toPixels(2880, 480, 2295, 615),
                            framEingabe);
    btnEingabe->setObjectName(QStringLiteral("btnEingabe"));

    btnStart[Compute] = makeButton(tr("&Berechnen"), Twips::toPixels(4680, 2760, 1215, 495), this);
    btnStart[Exit] = makeButton(tr("B&eenden"), Twips::toPixels(3360, 2760, 1215, 495), this);
    for (int index : {Compute, Exit}) {
        btnStart[index]->setObjectName(QStringLiteral("btnStart%1").arg(index));
        connect(btnStart[index], &QPushButton::clicked, this,
                [this, index] { btnStartClick(index); });
    }

    lblAusgabe = makeLabel(QString(), Twips::toPixels(120, 2760, 3135, 495), this);
    lblAusgabe->setObjectName(QStringLiteral("lblAusgabe"));
    lblAusgabe->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblAusgabe->setAccessibleName(tr("Ergebnis"));
    // Ctrl+C copies a selection; the context menu copies the selection or the whole result.
    auto* copyResult = new QAction(tr("&Kopieren"), lblAusgabe);
    connect(copyResult, &QAction::triggered, this, [this] {
        QGuiApplication::clipboard()->setText(
            lblAusgabe->hasSelectedText() ? lblAusgabe->selectedText() : lblAusgabe->text());
    });
    lblAusgabe->addAction(copyResult);
    // The exact value with all its digits, offered while the caption shows it.
    copyExact_ = new QAction(tr("&Exakten Wert kopieren"), lblAusgabe);
    copyExact_->setVisible(false);
    connect(copyExact_, &QAction::triggered, this,
            [this] { QGuiApplication::clipboard()->setText(exactText_); });
    lblAusgabe->addAction(copyExact_);
    // The working of the result shown, from its menu and (as an action of a widget of the window)
    // by its shortcut from anywhere in the window.
    showWorking_ = new QAction(tr("&Rechenweg anzeigen…"), lblAusgabe);
    showWorking_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    showWorking_->setVisible(false);
    connect(showWorking_, &QAction::triggered, this, &frmMain::showWorking);
    lblAusgabe->addAction(showWorking_);
    lblAusgabe->setContextMenuPolicy(Qt::ActionsContextMenu);

    lblAutor = makeLabel(tr("Kalvora 1.00 · vom Kalvora-Team · ohne Gewähr für die Ergebnisse"),
                         Twips::toPixels(120, 3360, 5775, 255), this);
    lblAutor->setObjectName(QStringLiteral("lblAutor"));

    connect(udEingabe, &UpDown::changed, this, &frmMain::udEingabeChange);
    connect(txtEingabe, &QLineEdit::textChanged, this, &frmMain::txtEingabeChange);
    connect(btnEingabe, &QPushButton::clicked, this, &frmMain::btnEingabeClick);
}

void frmMain::setUpFocusAndFonts()
{
    // Labels and the frame take no focus; the rest follows the reading order of the window.
    setTabOrder(txtEingabe, udEingabe);
    setTabOrder(udEingabe, btnEingabe);
    setTabOrder(btnEingabe, btnStart[Compute]);
    setTabOrder(btnStart[Compute], btnStart[Exit]);
    txtEingabe->setFocus();

    // The first family of each list is the design font; the others are installed with the
    // program on Linux and keep the text inside its box where the design font is missing. The
    // window's own font is the classic 8-point dialog font the layout was drawn for.
    setFont(fontOf({QStringLiteral("MS Shell Dlg 2"), QStringLiteral("Tahoma"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")},
                   8, QFont::Normal));
    Label1->setFont(fontOf({QStringLiteral("Trebuchet MS"), QStringLiteral("Liberation Sans"),
                            QStringLiteral("DejaVu Sans")},
                           9.75, QFont::Normal));
    resultFont_ =
        fontOf({QStringLiteral("Swiss 721 Narrow SWA"), QStringLiteral("Liberation Sans Narrow"),
                QStringLiteral("Arial Narrow"), QStringLiteral("DejaVu Sans Condensed")},
               14.25, QFont::Bold);
    lblAusgabe->setFont(resultFont_);
    // Two labels are one line high: less than two lines of the dialog font, 13 pixels each on
    // Windows (Tahoma), where the line below would be hidden. The help band holds several lines;
    // the result fits its font to its box instead (CaptionFit).
    for (QLabel* label : {lblEingabe, lblAutor})
        LabelFit::keepOnOneLine(*label);
    applySchemeColours();
}

void frmMain::applySchemeColours()
{
    const QPalette& scheme = palette();
    const SchemeColours::Pair bandColours = SchemeColours::band(scheme);
    QPalette band;
    band.setColor(QPalette::Window, bandColours.background);
    band.setColor(QPalette::WindowText, bandColours.text);
    Label1->setPalette(band);

    QPalette result;
    result.setColor(QPalette::WindowText, SchemeColours::result(scheme));
    lblAusgabe->setPalette(result);
    applyOrderMark();
}

void frmMain::applyOrderMark()
{
    // A valid order text takes the text box's own colours, whatever the scheme is now.
    const QPalette& scheme = palette();
    QPalette mark = SchemeColours::selection(scheme);
    if (!orderTextValid_) {
        const SchemeColours::Pair markColours = SchemeColours::invalidOrder(scheme);
        mark.setColor(QPalette::Base, markColours.background);
        mark.setColor(QPalette::Text, markColours.text);
    }
    txtEingabe->setPalette(mark);
}

void frmMain::changeEvent(QEvent* event)
{
    // The desktop's colour scheme may change while the program runs.
    if (event->type() == QEvent::PaletteChange)
        applySchemeColours();
    QWidget::changeEvent(event);
}

void frmMain::formLoad()
{
    Kalvoran::LastIndex = 1;
    Kalvoran::MatrixD.resize(2, 2);
}

void frmMain::udEingabeChange()
{
    txtEingabe->setText(QString::number(udEingabe->value()));
}

void frmMain::txtEingabeChange()
{
    const NumberText::Parsed order = NumberText::parse(txtEingabe->text(), separators_);
    const auto lastIndex = order.ok() ? lastIndexForOrder(order.value) : std::nullopt;
    if (lastIndex)
        Kalvoran::LastIndex = *lastIndex;

    // A text that is no order (as on the way to retyping one) is only marked, never refused.
    orderTextValid_ = lastIndex.has_value();
    applyOrderMark();
    txtEingabe->setToolTip(lastIndex ? QString()
                                     : tr("Keine gültige Anzahl: bitte eine Zahl von 1 bis %1 "
                                          "eingeben.")
                                           .arg(highestOrder));
}

void frmMain::btnEingabeClick()
{
    if (Kalvoran::LastIndex < 0 || Kalvoran::LastIndex >= highestOrder) {
        showPlainWarning(
            *this,
            tr("Die Anzahl der Zeilen/Spalten muss zwischen 1 und %1 liegen.").arg(highestOrder));
        txtEingabe->setFocus(Qt::OtherFocusReason);
        txtEingabe->selectAll();
        return;
    }
    if (input_.isNull())
        input_ = new frmInput(separators_, this);
    input_->openForOrder(Kalvoran::LastIndex);
}

void frmMain::btnStartClick(int index)
{
    switch (index) {
    case Compute:
        showResult();
        break;
    case Exit:
        close();
        break;
    default:
        break;
    }
}

void frmMain::showResult()
{
    const BusyCursor busy(*this);
    QString number;
    QString caption;
    QString hint;
    resultValue_.reset();
    try {
        const double value = Kalvoran::EvaluateDeterminant(Kalvoran::MatrixD);
        resultValue_ = value;
        number = NumberText::format(value, separators_);
        caption = QStringLiteral("det(D) = ") + number;
    } catch (const Kalvoran::OverflowError&) {
        caption = tr("Überlauf!");
        hint = tr("Die Determinante liegt außerhalb des darstellbaren Zahlenbereichs.");
    }
    // A screen reader announces the name "Ergebnis"; the value itself travels as the description.
    QString spoken = hint.isEmpty() ? caption : hint;

    // Below it the exact determinant of the entries as typed, wherever the digits above are not
    // its own: where rounding in the floating-point steps shows, and after an overflow, which
    // leaves no number to match.
    exactText_.clear();
    resultText_ = caption;
    resultMatrix_ = Kalvoran::TypedD.exact(Kalvoran::MatrixD);
    if (const auto& exact = resultMatrix_) {
        const ExactLine line =
            ExactLine::of(Kalvoran::ExactDeterminant(*exact), number, separators_);
        if (line.shown) {
            const QString text = (line.approximate ? tr("exakt ≈ ") : tr("exakt: ")) + line.number;
            caption += u'\n' + text;
            spoken += u'\n' + text;
            hint += (hint.isEmpty() ? QString() : QStringLiteral(" ")) +
                    tr("Die zweite Zeile ist der exakte Wert der Determinante der eingegebenen "
                       "Zahlen, bei „≈“ auf 15 Stellen gerundet.");
            exactText_ = line.copied;
        }
    }
    copyExact_->setVisible(!exactText_.isEmpty());
    showWorking_->setVisible(resultMatrix_.has_value());
    if (resultMatrix_)
        hint += (hint.isEmpty() ? QString() : QStringLiteral(" ")) +
                tr("Den Rechenweg zeigt das Kontextmenü oder Strg+R.");

    lblAusgabe->setFont(
        CaptionFit::fitting(resultFont_, caption, lblAusgabe->contentsRect().size()));
    lblAusgabe->setText(caption);
    lblAusgabe->setToolTip(hint);
    lblAusgabe->setAccessibleDescription(spoken);
}

void frmMain::showWorking()
{
    if (!resultMatrix_)
        return;
    // A window shows the working of one result; a new one replaces it.
    if (!working_.isNull())
        working_->close();
    working_ = new WorkingWindow(*resultMatrix_, resultValue_, resultText_, separators_, this);
    new ActivateOnShow(*working_); // owned by the window
    working_->show();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program: every other window goes with it, hidden ones
    // included, and with no window left the application quits its event loop with code 0.
    event->accept();
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
}
