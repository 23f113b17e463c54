// Comfort of the entry grid (keys in a cell, pasting and copying blocks, the keypad's decimal key)
// and of the main window (the decimal key in the order box, copying the result). The entry window
// starts at order 4 with the entry (r, c) = 10 r + c, so that every cell shows its place.
#include "Cell.h"
#include "GuardedText.h"
#include "Kalvoran.h"
#include "ModalHelper.h"
#include "frmInput.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTranslator>

#include <cmath>
#include <functional>
#include <tuple>

// Widget with the focus before (cells are "zROW_COLUMN"), key, widget with the focus after.
using MoveRow = std::tuple<const char*, QKeyCombination, const char*>;
using PasteRow = std::tuple<QString, const char*, const char*>; // clipboard, cell, cells after
// Locale, typed, copied, value taken by Done (NaN: Done refuses the text).
using CopyRow = std::tuple<const char*, const char*, const char*, double>;
Q_DECLARE_METATYPE(MoveRow)
Q_DECLARE_METATYPE(PasteRow)
Q_DECLARE_METATYPE(CopyRow)

namespace {

const char* const places = "0;1;2;3|10;11;12;13|20;21;22;23|30;31;32;33|"; // cells untouched

NumberText::Separators separatorsOf(const char* locale)
{
    return NumberText::separatorsOf(QLocale(QString::fromLatin1(locale)));
}

// Runs body inside the modal showing of the window opened for the shared order, then hides it.
QStringList whileOpen(frmInput& window, const std::function<void()>& body)
{
    return whileShowing<frmInput>([&window] { window.openForOrder(Kalvoran::LastIndex); },
                                  [&body](frmInput* shown) {
                                      const auto hide = qScopeGuard([shown] { shown->hide(); });
                                      QVERIFY(QTest::qWaitForWindowActive(shown));
                                      body();
                                  });
}

// The texts of the cells of order 4, each followed by ";" or, at the end of its row, "|".
QString grid(const frmInput& window)
{
    QString text;
    for (int i = 0; i < 16; ++i)
        text += window.cell(i / 4, i % 4)->text() + (i % 4 == 3 ? u'|' : u';');
    return text;
}

// With the clipboard holding `clipboard`, opens the entry window and presses the key in the widget
// named `from`. The window stays open (Done not pressed), the focus moves to `to`, the cells hold
// `cells` and a cell left as it was has all its text selected, to be typed over. Returns the
// messages shown meanwhile.
QStringList press(const QString& clipboard, const QString& from, QKeyCombination key,
                  const QString& to, const QString& cells)
{
    QGuiApplication::clipboard()->setText(clipboard);
    frmInput window(separatorsOf("de_DE"), nullptr);
    return whileOpen(window, [&] {
        window.findChild<QWidget*>(from)->setFocus();
        QTest::keyClick(window.focusWidget(), key.key(), key.keyboardModifiers());
        QVERIFY(window.isVisible());
        QCOMPARE(window.focusWidget()->objectName(), to);
        QCOMPARE(grid(window), cells);
        const auto* cell = qobject_cast<const QLineEdit*>(window.focusWidget());
        if (cells == places && cell != nullptr)
            QCOMPARE(cell->selectedText(), cell->text());
    });
}

const QKeyCombination paste = Qt::ControlModifier | Qt::Key_V;
const QString block = QStringLiteral("1\t2\t3\n4\t5\t6\n7\t8\t9\n");

} // namespace

class GridComfortTest : public QObject {
    Q_OBJECT

    QTranslator qtTexts;
    GuardedText millionRows{2'000'000, u"1\n"};

private slots:
    void initTestCase()
    {
        QVERIFY(qtTexts.load(QStringLiteral("qtbase_de"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        QApplication::installTranslator(&qtTexts);
    }

    void init()
    {
        Kalvoran::LastIndex = 3;
        Kalvoran::MatrixD = Kalvoran::Matrix(4, 4);
        for (int i = 0; i < 16; ++i)
            Kalvoran::MatrixD(i / 4, i % 4) = 10 * (i / 4) + i % 4;
    }

    void cleanup() { QGuiApplication::clipboard()->clear(); }

    void keyMovesTheFocus_data()
    {
        QTest::addColumn<MoveRow>("row");
        QTest::newRow("Down") << MoveRow{"z1_2", Qt::Key_Down, "z2_2"};
        QTest::newRow("Up") << MoveRow{"z1_2", Qt::Key_Up, "z0_2"};
        QTest::newRow("Shift+Enter is no move")
            << MoveRow{"z1_2", Qt::ShiftModifier | Qt::Key_Return, "z1_2"};
        QTest::newRow("Escape keeps the window open") << MoveRow{"z1_1", Qt::Key_Escape, "z1_1"};
        QTest::newRow("Up in the top row") << MoveRow{"z0_3", Qt::Key_Up, "z0_3"};
        QTest::newRow("Down in the last row") << MoveRow{"z3_1", Qt::Key_Down, "z3_1"};
        QTest::newRow("keypad Enter in the last cell")
            << MoveRow{"z3_3", Qt::KeypadModifier | Qt::Key_Enter, "cmdFertig"};
        QTest::newRow("Enter on Done") << MoveRow{"cmdFertig", Qt::Key_Return, "cmdFertig"};
    }
    void keyMovesTheFocus()
    {
        QFETCH(MoveRow, row);
        const auto& [from, key, to] = row;
        QVERIFY(press({}, from, key, to, places).isEmpty());
    }

    void pasteFillsTheBlock_data()
    {
        QTest::addColumn<PasteRow>("row");
        QTest::newRow("3 x 3 at (0, 0)")
            << PasteRow{block, "z0_0", "1;2;3;3|4;5;6;13|7;8;9;23|30;31;32;33|"};
        QTest::newRow("3 x 3 at (1, 1), semicolons, CRLF and blanks")
            << PasteRow{" 1; 2 ;3\r\n4;5 ;6\r\n7;8;\u00A09 \r\n", "z1_1",
                        "0;1;2;3|10;1;2;3|20;4;5;6|30;7;8;9|"};
        QTest::newRow("ragged, one row shorter")
            << PasteRow{"1\t2\n3\n", "z2_2", "0;1;2;3|10;11;12;13|20;21;1;2|30;31;3;33|"};
        QTest::newRow("rows ended by a lone CR")
            << PasteRow{"1\t2\r3\t4\r", "z0_0", "1;2;2;3|3;4;12;13|20;21;22;23|30;31;32;33|"};
        QTest::newRow("one piece goes into the cell as typed")
            << PasteRow{"7", "z1_1", "0;1;2;3|10;7;12;13|20;21;22;23|30;31;32;33|"};
    }
    void pasteFillsTheBlock()
    {
        QFETCH(PasteRow, row);
        const auto& [clipboard, cell, cells] = row;
        QVERIFY(press(clipboard, cell, paste, cell, cells).isEmpty());
    }

    void pasteRefusesABlockThatDoesNotFit_data()
    {
        // The refusal names the cell and the room there, rows x columns.
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("room");
        QTest::newRow("3 x 3 at (2, 2) is too tall and wide")
            << block << "z2_2"
            << "ab Zeile 3, Spalte 3 nicht in die Matrix: dort ist Platz für 2 × 2";
        QTest::newRow("3 x 3 at (0, 2) is too wide")
            << block << "z0_2"
            << "ab Zeile 1, Spalte 3 nicht in die Matrix: dort ist Platz für 4 × 2";
        QTest::newRow("3 x 3 at (2, 0) is one row too tall")
            << block << "z2_0"
            << "ab Zeile 3, Spalte 1 nicht in die Matrix: dort ist Platz für 2 × 4";
        // Reading further than the fifth row, the first that does not fit, crashes the test.
        QTest::newRow("a million rows, only the first page readable")
            << millionRows.text() << "z0_0"
            << "dort ist Platz für 4 × 4";
    }
    void pasteRefusesABlockThatDoesNotFit()
    {
        QFETCH(QString, clipboard);
        QFETCH(QString, cell);
        const QStringList messages = press(clipboard, cell, paste, cell, places);
        QCOMPARE(messages.size(), 1);
        QFETCH(QString, room);
        QVERIFY2(messages.front().contains(room), qPrintable(messages.front()));
    }

    void focusFromAReturnIsNoNewVisit_data()
    {
        // How the focus comes to a cell holding "11" with the caret after its first digit, and
        // what is selected then: a visit selects from the caret on, a return selects nothing.
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("selected");
        QTest::newRow("Tab") << int{Qt::TabFocusReason} << "1";
        QTest::newRow("back from another program") << int{Qt::ActiveWindowFocusReason} << "";
        QTest::newRow("back from the context menu") << int{Qt::PopupFocusReason} << "";
    }
    void focusFromAReturnIsNoNewVisit()
    {
        QFETCH(int, reason);
        frmInput window(separatorsOf("de_DE"), nullptr);
        whileOpen(window, [&] {
            QLineEdit* cell = window.cell(1, 1);
            cell->setFocus();
            cell->setCursorPosition(1);
            QFocusEvent out(QEvent::FocusOut, static_cast<Qt::FocusReason>(reason));
            QApplication::sendEvent(cell, &out);
            QFocusEvent in(QEvent::FocusIn, static_cast<Qt::FocusReason>(reason));
            QApplication::sendEvent(cell, &in);
            QTEST(cell->selectedText(), "selected");
        });
    }

    void keypadDecimalKeyTypesSeparator()
    {
        const auto type = [](QLineEdit* edit, Qt::Key point, Qt::KeyboardModifiers modifiers) {
            edit->setText(QStringLiteral("2"));
            QTest::keyClick(edit, point, modifiers);
            QTest::keyClick(edit, Qt::Key_5, Qt::KeypadModifier);
            return edit->text();
        };
        frmMain main(separatorsOf("en_US"));
        auto* orderBox = main.findChild<QLineEdit*>(QStringLiteral("txtEingabe"));
        QCOMPARE(type(orderBox, Qt::Key_Comma, Qt::KeypadModifier), QStringLiteral("2.5"));
        frmInput window(separatorsOf("de_DE"), nullptr);
        whileOpen(window, [&] {
            QCOMPARE(type(window.cell(0, 0), Qt::Key_Period, Qt::KeypadModifier), "2,5");
            QCOMPARE(type(window.cell(0, 0), Qt::Key_Period, Qt::NoModifier), "2.5"); // main keys
        });
    }

    void copyThenPasteGivesSameNumbers_data()
    {
        QTest::addColumn<CopyRow>("row");
        QTest::newRow("German") << CopyRow{"de_DE", "1.234,50", "0,5\t1\n1234,5\t1E+20\n", 1234.5};
        QTest::newRow("English") << CopyRow{"en_US", "1,234.50", "0.5\t1\n1234.5\t1E+20\n", 1234.5};
        QTest::newRow("no number stays no number")
            << CopyRow{"de_DE", "1;5", "0,5\t1\n1 5\t1E+20\n", std::nan("")};
    }

    void copyThenPasteGivesSameNumbers()
    {
        QFETCH(CopyRow, row);
        const auto& [locale, typed, copied, taken] = row;
        Kalvoran::LastIndex = 1;
        Kalvoran::MatrixD(0, 0) = 0.5;
        Kalvoran::MatrixD(1, 1) = 1e20;
        frmInput window(separatorsOf(locale), nullptr);
        // The cell's context menu, with Qt's own entries in German; the label before the tab.
        const auto chooseInMenu = [&window](const QString& label) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, {},
                                    window.cell(0, 0)->mapToGlobal(QPoint()));
            QApplication::sendEvent(window.cell(0, 0), &event);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            const auto close = qScopeGuard([menu] { menu->close(); });
            for (QAction* action : menu->actions())
                if (action->text().section(u'\t', 0, 0) == label)
                    return action->trigger();
            QFAIL(qPrintable(label));
        };
        const QStringList messages = whileOpen(window, [&] {
            window.cell(1, 0)->setText(typed);
            chooseInMenu(QStringLiteral("&Matrix kopieren"));
            QCOMPARE(QGuiApplication::clipboard()->text(), copied);
            for (int i = 0; i < 4; ++i)
                window.cell(i / 2, i % 2)->clear();
            chooseInMenu(QStringLiteral("Einf&ügen"));
            window.findChild<QPushButton*>(QStringLiteral("cmdFertig"))->click();
        });
        QCOMPARE(messages.size(), std::isnan(taken) ? 1 : 0);
        if (std::isnan(taken))
            return;
        const double values[] = {0.5, 1, taken, 1e20};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(Kalvoran::MatrixD(i / 2, i % 2), values[i]);
    }

    void resultCanBeCopied()
    {
        frmMain main(separatorsOf("de_DE"));
        Kalvoran::MatrixD = Kalvoran::Matrix(1, 1);
        Kalvoran::MatrixD(0, 0) = -6.5;
        main.findChild<QPushButton*>(QStringLiteral("btnStart0"))->click();
        auto* result = main.findChild<QLabel*>(QStringLiteral("lblAusgabe"));
        QCOMPARE(result->contextMenuPolicy(), Qt::ActionsContextMenu);
        QAction* copy = result->actions().value(0);
        QVERIFY(copy != nullptr);
        copy->trigger(); // without a selection: the whole result
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("det(D) = -6,5"));
        result->setSelection(9, 4); // possible only while the text is selectable
        copy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("-6,5"));
    }
};

QTEST_MAIN(GridComfortTest)
#include "GridComfortTest.moc"
