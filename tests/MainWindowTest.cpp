#include "HelpWindow.h"
#include "Kalvoran.h"
#include "ModalHelper.h"
#include "QtGerman.h"
#include "SchemeColours.h"
#include "TypedMatrix.h"
#include "UpDown.h"
#include "WorkingWindow.h"
#include "frmInput.h"
#include "frmMain.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string_view>
#include <vector>

using Kalvoran::LastIndex;
using Kalvoran::MatrixD;
using SchemeColours::contrast;
using namespace Qt::StringLiterals;

namespace {

// A scheme from its window and button colour, document colour and one text colour (selected too).
QPalette schemePalette(QRgb window, QRgb base, QRgb text)
{
    QPalette palette = QApplication::style()->standardPalette();
    for (const auto role : {QPalette::Window, QPalette::Button})
        palette.setColor(role, window);
    palette.setColor(QPalette::Base, base);
    for (const auto role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        palette.setColor(role, text);
    return palette;
}

// The band stands out from the window at this contrast; the standard scheme's is 1.15:1.
constexpr double bandContrast = 1.1;

// A text as it is seen: the colour of its pixels and the background under them.
struct Seen {
    QColor text; // invalid where no pixel is the text's
    QColor background;
    [[nodiscard]] double ratio() const { return text.isValid() ? contrast(text, background) : 1; }
};

// Windows are rendered at twice their size (see initMain).
constexpr int scale = 2;
QRect pixelsOf(const QWidget* widget)
{
    return {widget->mapTo(widget->window(), QPoint()) * scale, widget->size() * scale};
}

// Renders the widget's window once as it is and once with the widget's text colours transparent:
// the pixels of the widget that differ are its text's, the second rendering holds the background
// under each of them. Glyph edges blend into the background, so the text's colour is that of its
// pixel that stands out most. Pixels under child widgets belong to those.
Seen seen(QWidget* widget)
{
    QWidget* window = widget->window();
    const QImage shown = window->grab().toImage();
    const QPalette own = widget->palette();
    const bool ownPalette = widget->testAttribute(Qt::WA_SetPalette);
    QPalette noText = own;
    for (const auto role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        noText.setColor(role, Qt::transparent);
    widget->setPalette(noText);
    const QImage bare = window->grab().toImage();
    widget->setPalette(ownPalette ? own : QPalette());

    QRegion region(pixelsOf(widget));
    for (const QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            region -= pixelsOf(child);
    Seen text;
    for (const QRect& rect : region)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor painted = shown.pixel(x, y);
                const QColor under = bare.pixel(x, y);
                if (painted != under &&
                    (!text.text.isValid() || contrast(painted, under) > text.ratio()))
                    text = {painted, under};
            }
    return text;
}

QString textOf(const QWidget* widget)
{
    return widget->property(widget->inherits("QGroupBox") ? "title" : "text").toString();
}

// Every visible label, button, text box and frame title of the window has its text legible.
void checkTexts(QWidget* window, double minimum)
{
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisible() || textOf(widget).isEmpty())
            continue;
        const Seen text = seen(widget);
        QVERIFY2(text.ratio() >= minimum,
                 qPrintable(widget->objectName() + ": " + text.text.name() + " on " +
                            text.background.name()));
    }
}

// Whether a label, button or frame shows its whole caption, and lies within its container. A label
// less than two lines of the dialog font high (13 pixels each on Windows; fonts here may report
// less) shows it on one line, a taller one wraps it within its box.
bool showsWhole(QWidget* control)
{
    const auto* label = qobject_cast<QLabel*>(control);
    bool fits = control->minimumSizeHint().width() <= control->width();
    if (label != nullptr && label->height() < 2 * 13)
        fits = QFontMetrics(label->font()).horizontalAdvance(label->text()) <=
               label->contentsRect().width();
    else if (label != nullptr)
        fits = label->heightForWidth(label->width()) <= label->height();
    return fits && control->parentWidget()->rect().contains(control->geometry());
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

public:
    // Glyph edges blend into the background, and the thin strokes of small text may have no pixel
    // that is wholly text. At twice the size they do, and the text colour itself is seen.
    static void initMain() { qputenv("QT_SCALE_FACTOR", "2"); }

private:
    std::unique_ptr<frmMain> window;
    // Each change of the window's pointer, with the result standing then.
    QList<std::pair<Qt::CursorShape, QString>> pointers;

    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() != QEvent::CursorChange)
            return false;
        const std::pair change{window->cursor().shape(), result()};
        if (pointers.isEmpty() || pointers.back() != change) // Qt tells of each change twice
            pointers << change;
        return false;
    }

    template <class T> T* child(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    [[nodiscard]] QLineEdit* order() const { return child<QLineEdit>("txtEingabe"); }
    [[nodiscard]] UpDown* spin() const { return child<UpDown>("udEingabe"); }
    [[nodiscard]] QString result() const { return child<QLabel>("lblAusgabe")->text(); }
    void click(const char* button) const
    {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    QStringList openEntryWindow(const std::function<void(frmInput*)>& inside) const
    {
        return whileShowing<frmInput>([this] { click("btnEingabe"); }, inside);
    }

private slots:
    void initTestCase() { QVERIFY(installQtGerman(*qApp)); }
    void init()
    {
        QApplication::setPalette(QApplication::style()->standardPalette());
        MatrixD = {};
        window = std::make_unique<frmMain>(NumberText::separatorsOf(QLocale::German));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void startUpState()
    {
        QCOMPARE(window->minimumSize(), QSize(401, 242));
        QCOMPARE(window->maximumSize(), QSize(401, 242));
        QCOMPARE(LastIndex, 1);
        QCOMPARE(window->focusWidget(), order());
        QCOMPARE(child<QLabel>("Label1")->toolTip(), QStringLiteral("F1: Hilfe"));
    }

    // F1 in either window shows the one help window above it, taking the keys also over the modal
    // entry window. Its end names this build's version and the Qt it runs with, and its "Über Qt"
    // shows Qt's own box, in German. Escape closes it and leaves the window below.
    void f1ShowsTheHelpAboveEitherWindow()
    {
        QStringList boxes;
        const auto pressF1 = [&](QWidget* in) {
            QTest::keyClick(in, Qt::Key_F1);
            const auto helps = window->findChildren<HelpWindow*>(); // one, made at the first F1
            QCOMPARE(helps.size(), 1);
            HelpWindow* help = helps.front();
            QVERIFY(help->isVisible() && becomesActive(help));
            const QString about =
                help->findChild<QTextBrowser*>()->toPlainText().section(u"Über Kalvora"_s, 1);
            QVERIFY2(about.contains(u"Version " KALVORA_VERSION ".") &&
                         about.contains(u"Qt, Version "_s + qVersion() + ','),
                     qPrintable(about));
            boxes << whileShowing<QMessageBox>(
                [help] { help->findChild<QPushButton*>(u"aboutQt"_s)->click(); },
                [](QMessageBox* /*box*/) {});
            QTest::keyClick(help->windowHandle(), Qt::Key_Escape); // through the platform
            QVERIFY(!help->isVisible() && in->window()->isVisible());
        };
        window->activateWindow();
        QVERIFY(becomesActive(window.get()));
        pressF1(order());
        order()->setText(QStringLiteral("3"));
        // Over the entry window, a message box may be closed by the showing of either window.
        boxes << openEntryWindow([&](frmInput* input) {
            pressF1(input->focusWidget());
            input->hide();
        });
        QCOMPARE(boxes.filter(u"Über Qt"_s).filter(QLatin1String(qVersion())).size(), 2);
    }

    void controlsFollowTheLayoutTable_data()
    {
        // Rectangles in window pixels (15 twips each); the place in the Tab walk from the order
        // box, -1 for no focus; whether the caption's access key presses the button (a shared
        // one only moves the focus); the font as "family/points/weight".
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("presses");
        QTest::addColumn<QString>("font");
        const QString dialog = QStringLiteral("MS Shell Dlg 2/8/400");
        QTest::newRow("Label1") << QRect(0, 0, 401, 57)
                                << "Programm zur Berechnung des Wertes einer Kalvoran. Geben Sie "
                                   "dazu an, wieviele Zeilen und Spalten die Kalvora besitzt und "
                                   "tragen Sie dann die Werte der Kalvora ein."
                                << -1 << false << "Trebuchet MS/9.75/400";
        QTest::newRow("framEingabe")
            << QRect(0, 64, 401, 105) << "Eingabeoptionen" << -1 << false << dialog;
        QTest::newRow("lblEingabe")
            << QRect(16, 88, 129, 25) << "Anzahl der Zeilen/Spalten:" << -1 << false << dialog;
        QTest::newRow("txtEingabe") << QRect(48, 112, 33, 25) << "2" << 0 << false << dialog;
        QTest::newRow("udEingabe") << QRect(80, 112, 14, 25) << "" << 1 << false << dialog;
        QTest::newRow("btnEingabe")
            << QRect(192, 96, 153, 41) << "&Eingabe der Kalvora D" << 2 << false << dialog;
        QTest::newRow("btnStart0")
            << QRect(312, 184, 81, 33) << "&Berechnen" << 3 << true << dialog;
        QTest::newRow("btnStart1") << QRect(224, 184, 81, 33) << "B&eenden" << 4 << false << dialog;
        QTest::newRow("lblAusgabe")
            << QRect(8, 184, 209, 33) << "" << -1 << false << "Swiss 721 Narrow SWA/14.25/700";
        QTest::newRow("lblAutor")
            << QRect(8, 224, 385, 17)
            << "Kalvora 1.00 · vom Kalvora-Team · ohne Gewähr für die Ergebnisse" << -1 << false
            << dialog;
    }
    void controlsFollowTheLayoutTable()
    {
        auto* control = window->findChild<QWidget*>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(control != nullptr);
        QFETCH(QRect, rect);
        // A label one line high grows to the right where its caption needs it (as in Tahoma).
        if (const auto* label = qobject_cast<QLabel*>(control); label && !label->wordWrap())
            rect.setWidth(std::max(rect.width(), label->sizeHint().width()));
        QCOMPARE(QRect(control->mapTo(window.get(), QPoint()), control->size()), rect);
        const QString caption = textOf(control);
        QTEST(caption, "caption");
        const QFont font = control->font();
        QTEST(u"%1/%2/%3"_s.arg(font.family()).arg(font.pointSizeF()).arg(font.weight()), "font");

        QWidgetList walk{order()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(walk.back(), Qt::Key_Tab);
            walk << QApplication::focusWidget();
        }
        QCOMPARE(walk.back(), order()); // round again
        QTEST(static_cast<int>(walk.indexOf(control)), "tab");

        const QKeySequence key = QKeySequence::mnemonic(caption);
        if (key.isEmpty())
            return;
        window->activateWindow();
        QVERIFY(becomesActive(window.get()));
        control->disconnect(SIGNAL(clicked(bool))); // the commands are tested on their own
        QSignalSpy clicked(control, SIGNAL(clicked()));
        QTest::keySequence(window.get(), key);
        QFETCH(bool, presses);
        if (presses) {
            QTRY_COMPARE(clicked.count(), 1); // once the button has been shown down
        } else {
            if (QApplication::focusWidget() != control) // a shared key moves on at each press
                QTest::keySequence(window.get(), key);
            QCOMPARE(QApplication::focusWidget(), control);
            QTest::qWait(200); // not even pressed late
            QCOMPARE(clicked.count(), 0);
        }
        // Return and the keypad's Enter press the button with the focus, as Space does.
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(clicked.count(), presses ? 3 : 2);
    }

    void captionsShowWhole_data()
    {
        // The fonts here, and wine's stand-in for Windows' Tahoma, the font the dialog font
        // "MS Shell Dlg 2" stands for on Windows, as the window's and the entry window's font,
        // its glyphs fitted to whole pixels as Windows draws them (wider than Qt's own metrics).
        QTest::addColumn<QString>("fontFile");
        QTest::newRow("fonts of the system") << QString();
        QTest::newRow("Tahoma") << QStringLiteral(KALVORA_TAHOMA);
    }
    void captionsShowWhole()
    {
        QFETCH(QString, fontFile);
        const QFont font = QApplication::font();
        const auto restore = qScopeGuard([&font] {
            QFontDatabase::removeAllApplicationFonts();
            QApplication::setFont(font);
        });
        if (!fontFile.isEmpty()) {
            QVERIFY2(QFontDatabase::addApplicationFont(fontFile) >= 0, qPrintable(fontFile));
            QFont tahoma(QStringLiteral("Tahoma"), 8);
            tahoma.setHintingPreference(QFont::PreferFullHinting);
            QApplication::setFont(tahoma); // the fonts the window makes start from it
            window = std::make_unique<frmMain>(NumberText::separatorsOf(QLocale::German));
            window->show();
            QCOMPARE(QFontInfo(child<QLabel>("lblEingabe")->font()).family(), u"Tahoma"_s);
        }
        for (QWidget* control : window->findChildren<QWidget*>())
            if (!control->inherits("QLineEdit") && !textOf(control).isEmpty())
                QVERIFY2(showsWhole(control), qPrintable(textOf(control)));
        openEntryWindow([](frmInput* input) {
            QVERIFY(showsWhole(input->findChild<QPushButton*>("cmdFertig")));
            input->hide();
        });
    }

    void arrowsStepWithinTheLimits()
    {
        spin()->setFocus();
        QTest::keyClick(spin(), Qt::Key_Up);
        QCOMPARE(order()->text(), QStringLiteral("3"));
        for (int i = 0; i < 12; ++i)
            QTest::mouseClick(spin()->upButton(), Qt::LeftButton);
        QCOMPARE(order()->text(), QStringLiteral("10"));
        QCOMPARE(LastIndex, 9);
        QVERIFY(!spin()->upButton()->isEnabled());
        order()->setText(QStringLiteral("4")); // a step beyond the limit leaves a typed order
        QTest::keyClick(spin(), Qt::Key_Up);
        QCOMPARE(order()->text(), QStringLiteral("4"));
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(spin(), Qt::Key_Down);
        QCOMPARE(order()->text(), QStringLiteral("1"));
        QCOMPARE(LastIndex, 0);
        QVERIFY(!spin()->downButton()->isEnabled());
        QVERIFY(spin()->upButton()->isEnabled());
        // The keypad's decimal key types the separator.
        QTest::keyClick(order(), Qt::Key_Period, Qt::KeypadModifier);
        QCOMPARE(order()->text(), QStringLiteral("1,"));
    }

    void orderTextSetsLastIndex_data()
    {
        // A text that gives no order keeps the last one (here 4, LastIndex 3) and is marked. The
        // entry button opens the window for orders 1 to 10 only.
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lastIndex");
        QTest::newRow("order 1") << "1" << 0;
        QTest::newRow("order 0") << "0" << -1;
        QTest::newRow("order 11") << "11" << 10;
        QTest::newRow("half to even, down") << "2,5" << 2;
        QTest::newRow("half to even, also down") << "3,5" << 2;
        QTest::newRow("half to even, up") << "4,5" << 4;
        QTest::newRow("beyond the grid, largest that fits") << "32768" << 32767;
        QTest::newRow("longer than a text box holds by default")
            << "0," + QString(40000, u'0') + "1E40002" << 9;
        QTest::newRow("empty") << "" << 3;
        QTest::newRow("decimal point on a German system") << "3.5" << 3;
        QTest::newRow("below zero, smallest that fits") << "-32767" << -32768;
        QTest::newRow("beyond 16 bits") << "32769" << 3;
        QTest::newRow("markup") << "<img src=\"file:///tmp/x.png\"><b>1</b>" << 3;
    }
    void orderTextSetsLastIndex()
    {
        const QColor normal = order()->palette().color(QPalette::Text);
        order()->setText(QStringLiteral("4"));
        QFETCH(QString, text);
        order()->setText(text);
        QFETCH(int, lastIndex);
        QCOMPARE(static_cast<int>(LastIndex), lastIndex);
        const bool kept = lastIndex == 3; // no row gives the order 4 itself
        QCOMPARE(order()->palette().color(QPalette::Text) != normal, kept);
        QCOMPARE(!order()->toolTip().isEmpty(), kept);
        const QStringList messages = openEntryWindow([](frmInput* entry) { entry->hide(); });
        const bool opens = lastIndex >= 0 && lastIndex <= 9;
        QCOMPARE(window->findChild<frmInput*>() != nullptr, opens); // made at the first opening
        QCOMPARE(messages.isEmpty(), opens);
        if (!opens) { // the order is selected, to be typed over
            QCOMPARE(messages.front(),
                     "Die Anzahl der Zeilen/Spalten muss zwischen 1 und 10 liegen.");
            QCOMPARE(window->focusWidget(), order());
            QCOMPARE(order()->selectedText(), order()->text());
        }
        QTest::mouseClick(spin()->upButton(), Qt::LeftButton); // the spin keeps its own value
        QCOMPARE(order()->text(), QStringLiteral("3"));
        QCOMPARE(order()->palette().color(QPalette::Text), normal);
        QVERIFY(order()->toolTip().isEmpty());
    }

    void contrastRatio()
    {
        // Black on white, a grey just at the minimum, and blue that weighs least.
        QCOMPARE(std::round(contrast(Qt::black, Qt::white) * 100), 2100);
        QCOMPARE(std::round(contrast(Qt::white, QRgb{0x767676}) * 100), 454);
        QCOMPARE(std::round(contrast(Qt::blue, Qt::black) * 100), 244);
    }

    // The window is built in the standard scheme; each scheme is switched to while it runs.
    void textsAreLegible_data()
    {
        QTest::addColumn<QPalette>("scheme");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<bool>("bandStandsOut");
        // The band's background and text, the result and the mark, where the design's are kept.
        QTest::addColumn<QList<QColor>>("design");
        const QPalette light = QApplication::style()->standardPalette();
        QTest::newRow("light") << light << SchemeColours::minimumContrast << true
                               << QList<QColor>{Qt::white, light.color(QPalette::WindowText),
                                                QColor(0, 0, 192), QColor(192, 0, 0)};
        // What Qt's GTK theme gives for GTK's Adwaita in its dark variant.
        QTest::newRow("dark") << schemePalette(0x323232, 0x242424, 0xf0f0f0)
                              << SchemeColours::minimumContrast << true << QList<QColor>();
        // Black and white are 21:1, black on a yellow selection 19.6:1.
        QPalette high = schemePalette(0x000000, 0x000000, 0xffffff);
        high.setColor(QPalette::Highlight, QRgb{0xffff00});
        high.setColor(QPalette::HighlightedText, Qt::black);
        // Windows tells the program itself whether it runs a high-contrast scheme, and here it does
        // not: a palette near black and white is an ordinary scheme there, such as wine's
        // standard one (button face 245, 245, 245: 19.3:1 against black).
        if (QSysInfo::productType() != u"windows"_s) {
            QTest::newRow("high contrast") << high << 19.0 << false << QList<QColor>();
            return;
        }
        const QPalette wine = schemePalette(0xf5f5f5, 0xffffff, 0x000000);
        QTest::newRow("wine's standard scheme")
            << wine << SchemeColours::minimumContrast << false // white on 245 is only 1.09:1
            << QList<QColor>{Qt::white, Qt::black, QColor(0, 0, 192), QColor(192, 0, 0)};
    }
    void textsAreLegible()
    {
        QFETCH(QPalette, scheme);
        QFETCH(double, minimum);
        MatrixD(0, 0) = 1.5;
        MatrixD(1, 1) = -2;
        click("btnStart0");
        // The entry window exists, hidden, when the scheme changes.
        openEntryWindow([](frmInput* input) { input->hide(); });
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QApplication::setPalette(scheme);
        QCoreApplication::processEvents();
        order()->setText(QStringLiteral("x")); // marked
        checkTexts(window.get(), minimum);

        const QImage shown = window->grab().toImage();
        const Seen band = seen(child<QLabel>("Label1")); // against the window below it
        QTEST(contrast(band.background, shown.pixel(QPoint(200, 60) * scale)) >= bandContrast,
              "bandStandsOut");

        // Labels in the frame show the frame's own background, seen just beside them.
        const auto* inFrame = child<QLabel>("lblEingabe");
        const QPoint corner = inFrame->mapTo(window.get(), QPoint(inFrame->width() - 1, 0));
        QCOMPARE(shown.pixel(corner * scale), shown.pixel((corner + QPoint(2, 0)) * scale));

        // The order arrows with the focus are framed in a colour that stands out.
        spin()->setFocus();
        const Seen ring = seen(spin());
        QVERIFY2(ring.ratio() >= minimum, qPrintable(QString::number(ring.ratio())));

        const Seen mark = seen(order());
        QVERIFY(mark.text != scheme.color(QPalette::Text));
        QCOMPARE(mark.background, scheme.color(QPalette::Base));
        QFETCH(QList<QColor>, design);
        const QColor result = seen(child<QLabel>("lblAusgabe")).text;
        if (!design.isEmpty())
            QCOMPARE((QList<QColor>{band.background, band.text, result, mark.text}), design);
        // Selected text in the mark still shows as selected: on a background of its own.
        order()->selectAll();
        const Seen selected = seen(order());
        QVERIFY2(contrast(selected.background, mark.background) >= 3.0,
                 qPrintable(selected.background.name() + " on " + mark.background.name()));

        order()->setText(QStringLiteral("3"));
        openEntryWindow([minimum](frmInput* input) {
            // The focused cell's text is among them, selected, in the selection colours.
            checkTexts(input, minimum);
            input->hide();
        });
    }

    void exitEndsTheProgram_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("exit button after Done") << "exit";
        QTest::newRow("close box after Done") << "close";
        QTest::newRow("closed while the entry window is shown") << "close while shown";
    }
    void exitEndsTheProgram()
    {
        QFETCH(QString, how);
        order()->setText(QStringLiteral("3"));
        bool entryLeftShown = false;
        QTimer::singleShot(0, window.get(), [&] {
            openEntryWindow([&](frmInput* input) {
                if (how == "close while shown") {
                    window->close();
                    entryLeftShown = input->isVisible();
                    input->hide(); // lets the showing end in any case
                } else if (becomesActive(input)) {
                    // Typed as a person would: "\t" moves on, and Return on Done presses it. Done
                    // leaves the window loaded, but hidden.
                    for (const char key : std::string_view("1\t2\t3\t4\t5\t6\t7\t8\t10\t\r"))
                        QTest::keyClick(input->focusWidget(), key);
                }
            });
            if (how != "close while shown")
                click("btnStart0");
            how == "exit" ? click("btnStart1") : (void)window->close();
        });
        QTimer::singleShot(10000, window.get(), [] { QCoreApplication::exit(1); }); // gives up
        QCOMPARE(QApplication::exec(), 0); // the program's event loop ends
        QCOMPARE(result(), how == "close while shown" ? "" : "det(D) = -3");
        QVERIFY(!entryLeftShown);
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    // The caption: the engine's result and, where the exact determinant of the entries as typed
    // is not what that line shows, the exact value on a second line. Every line shows in the
    // label's box, in bold, at the design's size where that fits and never below 8 points.
    void captionShowsEveryLineInItsBox_data()
    {
        // Rows of the matrix; the first line (empty: the engine's double written by the output
        // rule), the second line (empty: none) and the text that its menu entry copies; whether
        // the caption has the design's size after one that needed a smaller one.
        using Rows = QList<QStringList>;
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("designSize");
        QTest::newRow("longest number text")
            << Rows{{"-1,23456789012345E-300", "0"}, {"0", "1"}}
            << QStringList{"det(D) = -1,23456789012345E-300", "", ""} << false;
        QTest::newRow("singular tenths")
            << Rows{{"0,1", "0,2", "0,3"}, {"0,4", "0,5", "0,6"}, {"0,7", "0,8", "0,9"}}
            << QStringList{"", "exakt: 0", "0"} << false;
        QTest::newRow("below the double range")
            << Rows{{"1E-200", "0"}, {"0", "1E-200"}}
            << QStringList{"det(D) = 0", "exakt: 1E-400", "1E-400"} << false;
        QTest::newRow("overflow") << Rows{{"1E200", "0", "0"},
                                          {"0", "1E200", "0"},
                                          {"0", "0", "1E200"}}
                                  << QStringList{"Überlauf!", "exakt: 1E+600", "1E+600"} << false;
        QTest::newRow("more than 15 digits")
            << Rows{{"1,000000000000001E-140", "3E-140"}, {"1", "3,000000000000001"}}
            << QStringList{"", "exakt ≈ 4E-155", "4,000000000000001E-155"} << false;
        QTest::newRow("exactly 15 digits")
            << Rows{{"1,000000000000000123456789012345", "1"}, {"1", "1"}}
            << QStringList{"", "exakt: 1,23456789012345E-16", "1,23456789012345E-16"} << false;
        QTest::newRow("16 digits")
            << Rows{{"1,0000000000000001234567890123456", "1"}, {"1", "1"}}
            << QStringList{"", "exakt ≈ 1,23456789012346E-16", "1,234567890123456E-16"} << false;
        QTest::newRow("subnormal as typed")
            << Rows{{"1,23456789012345E-320"}}
            << QStringList{"det(D) = 1,23467004895728E-320", "exakt: 1,23456789012345E-320",
                           "1,23456789012345E-320"}
            << false;
        QTest::newRow("fractions") << Rows{{"1/3", "1/7"}, {"1/5", "1/2"}}
                                   << QStringList{"", "exakt: 29/210", "29/210"} << false;
        QTest::newRow("fraction too long")
            << Rows{{"1/3", "0"}, {"0", "1/123456789012347"}}
            << QStringList{"", "exakt ≈ 2,70000002429997E-15", "1/370370367037041"} << false;
        QTest::newRow("a third times three")
            << Rows{{"1/3", "0"}, {"0", "3"}} << QStringList{"det(D) = 1", "", ""} << true;
        QTest::newRow("entries of 1e200 that cancel")
            << Rows(3, QStringList(3, "1E200")) << QStringList{"det(D) = 0", "", ""} << true;
        // Integer entries give an exact result in the design's size.
        std::mt19937 random(10);
        std::uniform_int_distribution<int> entry(-9, 9);
        for (int order = 1; order <= 10; ++order) {
            Rows rows(order, QStringList(order));
            for (QStringList& row : rows)
                std::generate(row.begin(), row.end(),
                              [&] { return QString::number(entry(random)); });
            QTest::addRow("random integers, order %d", order) << rows << QStringList(3) << true;
        }
    }
    // The working opens from the result's menu and by Ctrl+R once there is a result, starts on
    // the line with the most zeros, follows the choice, copies both forms and closes by Escape.
    void workingWindowOpensCopiesAndCloses_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QString>("startLine");
        QTest::addColumn<bool>("floatingNote");
        QTest::newRow("order 3, zeros in column 2, tenths")
            << QList<QStringList>{{"0,1", "0", "3"}, {"4", "0", "0,2"}, {"7", "8", "1"}}
            << "2. Spalte" << true;
        QTest::newRow("order 2, overflow")
            << QList<QStringList>{{"1E200", "0"}, {"0", "1E200"}} << "1. Zeile" << true;
        QTest::newRow("order 2, integers")
            << QList<QStringList>{{"1", "2"}, {"3", "4"}} << "1. Zeile" << false;
    }
    void workingWindowOpensCopiesAndCloses()
    {
        QFETCH(QList<QStringList>, rows);
        const auto n = static_cast<int>(rows.size());
        MatrixD.resize(n, n);
        std::vector<Kalvoran::TypedNumber> typed;
        for (int i = 0; i < n * n; ++i) {
            typed.push_back(NumberText::parseEntry(rows[i / n][i % n],
                                                   NumberText::separatorsOf(QLocale::German))
                                .number);
            MatrixD(i / n, i % n) = typed.back().value;
        }
        Kalvoran::TypedD = Kalvoran::TypedMatrix(n, typed);
        auto* label = child<QLabel>("lblAusgabe");
        QAction* show = label->actions().value(2);
        QCOMPARE(show->text(), "&Rechenweg anzeigen…");
        window->activateWindow();
        QVERIFY(becomesActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!show->isVisible());
        QVERIFY(!window->findChild<WorkingWindow*>()); // no result, no working
        click("btnStart0");
        QVERIFY(show->isVisible());

        show->trigger();
        QPointer<WorkingWindow> working = window->findChild<WorkingWindow*>();
        QVERIFY(working && working->isVisible());
        QVERIFY(becomesActive(working));
        QCOMPARE(working->windowTitle(), "Rechenweg");
        auto* choice = working->findChild<QComboBox*>("lineChoice");
        auto* note = working->findChild<QLabel*>("note");
        QTEST(choice->currentText(), "startLine");
        QCOMPARE(note->isVisibleTo(working), choice->currentIndex() != 0);
        auto* browser = working->findChild<QTextBrowser*>("working");
        QTEST(browser->toPlainText().contains("Gleitkomma"), "floatingNote");
        QClipboard* clipboard = QGuiApplication::clipboard();
        QTest::mouseClick(working->findChild<QPushButton*>("copyText"), Qt::LeftButton);
        const QString text = clipboard->text();
        QVERIFY2(text.startsWith("D =\n| ") && text.contains("\ndet(D) = "), qPrintable(text));
        QTest::mouseClick(working->findChild<QPushButton*>("copyLatex"), Qt::LeftButton);
        QVERIFY(clipboard->text().startsWith("\\[ D = \\begin{vmatrix} "));

        // The keyboard chooses the first row: the working follows, and the note goes.
        if (choice->isEnabled()) {
            choice->setFocus();
            QTest::keyClick(choice, Qt::Key_Home);
            QCOMPARE(choice->currentIndex(), 0);
            QVERIFY(!note->isVisibleTo(working));
            QVERIFY(working->plainText() != text);
        }
        clipboard->clear();
        QTest::keyClick(choice, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), working->plainText());
        QTest::keyClick(choice, Qt::Key_Escape);
        QVERIFY(working.isNull() || !working->isVisible());

        window->activateWindow();
        QVERIFY(becomesActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
        const auto windows = window->findChildren<WorkingWindow*>();
        QVERIFY(std::any_of(windows.begin(), windows.end(),
                            [](const WorkingWindow* w) { return w->isVisible(); }));
    }

    void captionShowsEveryLineInItsBox()
    {
        MatrixD(0, 0) = -1.23456789012345e-300;
        MatrixD(1, 1) = 1;
        click("btnStart0");
        const QString before = result();
        QFETCH(QList<QStringList>, rows);
        // The entries as the entry window takes them.
        const NumberText::Separators german = NumberText::separatorsOf(QLocale::German);
        const auto n = static_cast<int>(rows.size());
        MatrixD.resize(n, n);
        std::vector<Kalvoran::TypedNumber> typed;
        for (int i = 0; i < n * n; ++i) {
            typed.push_back(NumberText::parseEntry(rows[i / n][i % n], german).number);
            MatrixD(i / n, i % n) = typed.back().value;
        }
        Kalvoran::TypedD = Kalvoran::TypedMatrix(n, typed);
        QFETCH(QStringList, texts);
        const QString first =
            !texts[0].isEmpty()
                ? texts[0]
                : "det(D) = " + NumberText::format(Kalvoran::EvaluateDeterminant(MatrixD), german);
        const QString caption = texts[1].isEmpty() ? first : first + "\n" + texts[1];
        // Another order changes neither the matrix evaluated nor the caption, and the caption
        // changes under the busy pointer.
        QTest::mouseClick(spin()->upButton(), Qt::LeftButton);
        window->setCursor(Qt::CrossCursor);
        pointers.clear();
        window->installEventFilter(this);
        click("btnStart0");
        QCOMPARE(pointers, (QList<std::pair<Qt::CursorShape, QString>>{
                               {Qt::WaitCursor, before}, {Qt::ArrowCursor, caption}}));
        auto* label = child<QLabel>("lblAusgabe");

        // What a screen reader reads and the hint: after an overflow, why; under a second line,
        // what it is.
        const bool overflow = first == "Überlauf!";
        const QString outside =
            "Die Determinante liegt außerhalb des darstellbaren Zahlenbereichs.";
        QCOMPARE(label->accessibleDescription(),
                 (overflow ? outside : first) + caption.mid(first.size()));
        QStringList hints;
        if (overflow)
            hints << outside;
        if (!texts[1].isEmpty())
            hints << "Die zweite Zeile ist der exakte Wert der Determinante der eingegebenen "
                     "Zahlen, bei „≈“ auf 15 Stellen gerundet.";
        hints << "Den Rechenweg zeigt das Kontextmenü oder Strg+R.";
        QCOMPARE(label->toolTip(), hints.join(u' '));

        // Its context menu copies the whole caption or the part selected, and the exact value.
        const auto copied = [label](int entry) {
            label->actions().value(entry)->trigger();
            return QGuiApplication::clipboard()->text();
        };
        QCOMPARE(copied(0), caption);
        label->setSelection(0, 3); // possible only while the text is selectable
        QCOMPARE(copied(0), caption.left(3));
        QCOMPARE(label->actions().value(1)->isVisible(), !texts[1].isEmpty());
        QCOMPARE(copied(1), texts[2]);

        QCOMPARE(label->size(), QSize(209, 33));
        const QRect box = label->contentsRect();
        QVERIFY(box.contains(label->fontMetrics().boundingRect(box, Qt::TextWordWrap, caption)));
        QTEST(label->font().pointSizeF() == 14.25, "designSize");
        QVERIFY(label->font().bold());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
