#include "Kalvoran.h"
#include "ModalHelper.h"
#include "NumberText.h"
#include "ProgramIcon.h"
#include "UpDown.h"
#include "frmInput.h"
#include "frmMain.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <random>

using Kalvoran::LastIndex;
using Kalvoran::Matrix;
using Kalvoran::MatrixD;

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<frmMain> window;
    QStringList pointers; // each change of the window's pointer, with the result standing then

    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() != QEvent::CursorChange)
            return false;
        const Qt::CursorShape shape = window->cursor().shape();
        const QString change = QString::fromLatin1(shape == Qt::WaitCursor    ? "busy: "
                                                   : shape == Qt::ArrowCursor ? "arrow: "
                                                                              : "other: ") +
                               result();
        if (pointers.isEmpty() || pointers.back() != change) // Qt tells of each change twice
            pointers << change;
        return false;
    }

    template <class T> T* child(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* order() const { return child<QLineEdit>("txtEingabe"); }
    UpDown* spin() const { return child<UpDown>("udEingabe"); }
    QString result() const { return child<QLabel>("lblAusgabe")->text(); }
    void click(const char* button) const
    {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }

private slots:
    void init()
    {
        MatrixD = Matrix();
        window = std::make_unique<frmMain>(NumberText::separatorsOf(QLocale(QLocale::German)));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void startUpState()
    {
        QCOMPARE(window->minimumSize(), QSize(401, 242));
        QCOMPARE(window->maximumSize(), QSize(401, 242));
        QCOMPARE(LastIndex, 1);
        QCOMPARE(window->focusWidget(), order());
    }

    void programIconHoldsAnImageForEachSizeAndIsTheWindowsIcon()
    {
        for (const QIcon& icon : {ProgramIcon::icon(), window->windowIcon()}) {
            QList<QSize> sizes;
            for (const int size : {16, 32, 48, 64, 72}) {
                sizes << QSize(size, size);
                const QImage own(QStringLiteral(":/icons/kalvora-%1.png").arg(size));
                QCOMPARE(own.size(), sizes.back());
                QCOMPARE(icon.pixmap(own.size()).toImage().convertToFormat(own.format()), own);
            }
            QCOMPARE(icon.availableSizes(), sizes);
        }
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
        QTEST(QRect(control->mapTo(window.get(), QPoint()), control->size()), "rect");
        const QVariant caption =
            control->property(control->inherits("QGroupBox") ? "title" : "text");
        QTEST(caption.toString(), "caption");
        const QFont font = control->font();
        QTEST(QStringLiteral("%1/%2/%3")
                  .arg(font.families().value(0))
                  .arg(font.pointSizeF())
                  .arg(font.weight()),
              "font");

        QWidgetList walk{order()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(walk.back(), Qt::Key_Tab);
            walk << QApplication::focusWidget();
        }
        QCOMPARE(walk.back(), order()); // round again
        QTEST(static_cast<int>(walk.indexOf(control)), "tab");

        const QKeySequence key = QKeySequence::mnemonic(caption.toString());
        if (key.isEmpty())
            return;
        window->activateWindow();
        QVERIFY(QTest::qWaitFor([this] { return window->isActiveWindow(); }, 5000));
        QSignalSpy clicked(control, SIGNAL(clicked()));
        QTest::keySequence(window.get(), key);
        QFETCH(bool, presses);
        if (presses) {
            QTRY_COMPARE(clicked.count(), 1); // once the button has been shown down
            return;
        }
        if (QApplication::focusWidget() != control) // a shared key moves on at each press
            QTest::keySequence(window.get(), key);
        QCOMPARE(QApplication::focusWidget(), control);
        QTest::qWait(200); // not even pressed late
        QCOMPARE(clicked.count(), 0);
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
    }

    void orderTextSetsLastIndex_data()
    {
        // A text that gives no order keeps the last one (here 4, LastIndex 3) and is marked.
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lastIndex");
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
    }
    void orderTextSetsLastIndex()
    {
        const QColor normal = order()->palette().color(QPalette::Text);
        order()->setText(QStringLiteral("4"));
        order()->selectAll();
        QFETCH(QString, text);
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(order(), text.isEmpty() ? Qt::Key_Delete : Qt::Key_V,
                        text.isEmpty() ? Qt::NoModifier : Qt::ControlModifier);
        QFETCH(int, lastIndex);
        QCOMPARE(static_cast<int>(LastIndex), lastIndex);
        const bool kept = lastIndex == 3; // no row gives the order 4 itself
        QCOMPARE(order()->palette().color(QPalette::Text) != normal, kept);
        QCOMPARE(!order()->toolTip().isEmpty(), kept);
        QTest::mouseClick(spin()->upButton(), Qt::LeftButton); // the spin keeps its own value
        QCOMPARE(order()->text(), QStringLiteral("3"));
        QCOMPARE(order()->palette().color(QPalette::Text), normal);
        QVERIFY(order()->toolTip().isEmpty());
    }

    void computeShowsTheResultUnderTheBusyPointer_data()
    {
        // Each change of the pointer with the caption standing then; what a screen reader reads,
        // and the hover hint.
        const QString outside =
            "Die Determinante liegt außerhalb des darstellbaren Zahlenbereichs.";
        QTest::addColumn<double>("entry");
        QTest::addColumn<QStringList>("pointers");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QString>("hint");
        QTest::newRow("result") << 0.5 << QStringList{"busy: det(D) = 0", "arrow: det(D) = 0,25"}
                                << "det(D) = 0,25"
                                << "";
        const QString exact = "Die zweite Zeile ist der exakte Wert der Determinante der "
                              "eingegebenen Zahlen, bei „≈“ auf 15 Stellen gerundet.";
        QTest::newRow("overflow") << 1e200
                                  << QStringList{"busy: det(D) = 0",
                                                 "arrow: Überlauf!\nexakt: 1E+400"}
                                  << outside + "\nexakt: 1E+400" << outside + " " + exact;
    }
    void computeShowsTheResultUnderTheBusyPointer()
    {
        click("btnStart0"); // the start-up matrix
        QFETCH(double, entry);
        MatrixD(0, 0) = MatrixD(1, 1) = entry;
        // Another order changes neither the matrix evaluated nor the caption.
        QTest::mouseClick(spin()->upButton(), Qt::LeftButton);
        window->setCursor(Qt::CrossCursor);
        pointers.clear();
        window->installEventFilter(this);
        click("btnStart0");
        QTEST(pointers, "pointers");
        QTEST(child<QLabel>("lblAusgabe")->accessibleDescription(), "spoken");
        QTEST(child<QLabel>("lblAusgabe")->toolTip(), "hint");
    }

    void resultShowsEveryLineInItsBox_data()
    {
        // The values computed one after the other, the caption of the last and whether it shows
        // in the design size.
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("designSize");
        QTest::newRow("short") << QList<double>{-2} << "det(D) = -2" << true;
        QTest::newRow("longest number text")
            << QList<double>{-1.23456789012345e-300} << "det(D) = -1,23456789012345E-300" << false;
        QTest::newRow("short after a long one")
            << QList<double>{-1.7976931348623157e308, 0.5} << "det(D) = 0,5" << true;
    }
    void resultShowsEveryLineInItsBox()
    {
        QFETCH(QList<double>, values);
        for (const double value : values) {
            MatrixD(0, 0) = value;
            MatrixD(1, 1) = 1;
            click("btnStart0");
        }
        auto* label = child<QLabel>("lblAusgabe");
        QTEST(label->text(), "caption");
        QCOMPARE(label->size(), QSize(209, 33));
        const QRect box = label->contentsRect();
        const QRect lines = label->fontMetrics().boundingRect(box, Qt::TextWordWrap, label->text());
        QVERIFY2(box.contains(lines),
                 qPrintable(
                     QStringLiteral("%1 x %2 px of text").arg(lines.width()).arg(lines.height())));
        QFETCH(bool, designSize);
        QCOMPARE(label->font().pointSizeF() == 14.25, designSize);
        QVERIFY(label->font().bold());
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
        bool entryLeftShown = false;
        const auto inside = [&](frmInput* input) {
            if (how == "close while shown") {
                window->close();
                entryLeftShown = input->isVisible();
                input->hide(); // lets the showing end in any case
            } else {           // Done: loaded, but hidden
                QTest::mouseClick(input->findChild<QPushButton*>("cmdFertig"), Qt::LeftButton);
            }
        };
        QTimer::singleShot(0, window.get(), [&] {
            whileShowing<frmInput>([this] { click("btnEingabe"); }, inside);
            how == "exit" ? click("btnStart1") : (void)window->close();
        });
        QTimer giveUp;
        giveUp.callOnTimeout([] { QCoreApplication::exit(1); });
        giveUp.start(10000);
        QCOMPARE(QApplication::exec(), 0); // the program's event loop ends
        QVERIFY(!entryLeftShown);
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    // The exact determinant of the entries as typed, on a second line where it is not what the
    // first line shows; the same label, with the font at 8 points or more.
    void exactValueWhereTheDigitsDiffer_data()
    {
        // Rows of the matrix; the first line (empty: the engine's double written by the output
        // rule), the second line (empty: none) and the text that its menu entry copies.
        using Rows = QList<QList<double>>;
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("singular tenths") << Rows{{0.1, 0.2, 0.3}, {0.4, 0.5, 0.6}, {0.7, 0.8, 0.9}}
                                         << QStringList{"", "exakt: 0", "0"};
        QTest::newRow("below the double range")
            << Rows{{1e-200, 0}, {0, 1e-200}}
            << QStringList{"det(D) = 0", "exakt: 1E-400", "1E-400"};
        QTest::newRow("overflow") << Rows{{1e200, 0, 0}, {0, 1e200, 0}, {0, 0, 1e200}}
                                  << QStringList{"Überlauf!", "exakt: 1E+600", "1E+600"};
        QTest::newRow("more than 15 digits")
            << Rows{{1.000000000000001e-140, 3e-140}, {1, 3.000000000000001}}
            << QStringList{"", "exakt ≈ 4E-155", "4,000000000000001E-155"};
        QTest::newRow("integers") << Rows{{1, 2}, {3, 4}} << QStringList{"det(D) = -2", "", ""};
        QTest::newRow("entries of 1e200 that cancel")
            << Rows(3, QList<double>(3, 1e200)) << QStringList{"det(D) = 0", "", ""};
    }
    void exactValueWhereTheDigitsDiffer()
    {
        QFETCH(QList<QList<double>>, rows);
        MatrixD.resize(static_cast<int>(rows.size()), static_cast<int>(rows.size()));
        for (int i = 0; i < MatrixD.rows(); ++i)
            for (int j = 0; j < MatrixD.cols(); ++j)
                MatrixD(i, j) = rows[i][j];
        QFETCH(QStringList, texts);
        const QString first =
            !texts[0].isEmpty()
                ? texts[0]
                : "det(D) = " + NumberText::format(Kalvoran::EvaluateDeterminant(MatrixD),
                                                   NumberText::separatorsOf(QLocale::German));
        const QString& second = texts[1];
        click("btnStart0");
        auto* label = child<QLabel>("lblAusgabe");
        QCOMPARE(label->text(), second.isEmpty() ? first : first + "\n" + second);
        QCOMPARE(label->accessibleDescription().section(u'\n', 1), second);
        QCOMPARE(label->toolTip().contains("zweite Zeile"), !second.isEmpty());
        QAction* copyExact = label->actions().value(1);
        QCOMPARE(copyExact->isVisible(), !second.isEmpty());
        copyExact->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), texts[2]);

        QCOMPARE(label->size(), QSize(209, 33));
        const QRect box = label->contentsRect();
        QVERIFY(
            box.contains(label->fontMetrics().boundingRect(box, Qt::TextWordWrap, label->text())));
        QVERIFY(label->font().pointSizeF() >= 8);
    }

    void integerMatricesShowNoSecondLine()
    {
        std::mt19937 random(10);
        std::uniform_int_distribution<int> entry(-9, 9);
        for (int order = 1; order <= 10; ++order) {
            MatrixD.resize(order, order);
            for (int i = 0; i < order; ++i)
                for (int j = 0; j < order; ++j)
                    MatrixD(i, j) = entry(random);
            click("btnStart0");
            QVERIFY2(!result().contains(u'\n'), qPrintable(result()));
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
