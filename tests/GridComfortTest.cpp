// Comfort of the entry grid (keys in a cell, pasting and copying blocks, the keypad's decimal key)
// and of the main window (the decimal key in the order box, copying the result). The entry window
// starts at order 4 with the entry (r, c) = 10 r + c, so that every cell shows its place.
#include "Cell.h"
#include "Kalvoran.h"
#include "ModalHelper.h"
#include "frmInput.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTranslator>

#include <functional>
#include <sys/mman.h>
#include <tuple>
#include <unistd.h>

// Clipboard, widget with the focus (cells are "zROW_COLUMN"), key; the widget with the focus and
// the texts of the cells afterwards.
using KeyRow = std::tuple<const char*, const char*, QKeyCombination, const char*, const char*>;
using CopyRow = std::tuple<const char*, const char*, const char*>; // locale, typed, copied
Q_DECLARE_METATYPE(KeyRow)
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

} // namespace

class GridComfortTest : public QObject {
    Q_OBJECT

    QTranslator qtTexts;

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

    void keyInCell_data()
    {
        const char* block = "1\t2\t3\n4\t5\t6\n7\t8\t9\n";
        const QKeyCombination paste = Qt::ControlModifier | Qt::Key_V;
        QTest::addColumn<KeyRow>("row");
        QTest::newRow("Down") << KeyRow{"", "z1_2", Qt::Key_Down, "z2_2", places};
        QTest::newRow("Up in the top row") << KeyRow{"", "z0_3", Qt::Key_Up, "z0_3", places};
        QTest::newRow("Down in the last row") << KeyRow{"", "z3_1", Qt::Key_Down, "z3_1", places};
        QTest::newRow("keypad Enter in the last cell")
            << KeyRow{"", "z3_3", Qt::KeypadModifier | Qt::Key_Enter, "cmdFertig", places};
        QTest::newRow("Enter on Done")
            << KeyRow{"", "cmdFertig", Qt::Key_Return, "cmdFertig", places};
        QTest::newRow("3 x 3 at (0, 0)")
            << KeyRow{block, "z0_0", paste, "z0_0", "1;2;3;3|4;5;6;13|7;8;9;23|30;31;32;33|"};
        QTest::newRow("3 x 3 at (1, 1), semicolons, CRLF and blanks")
            << KeyRow{" 1; 2 ;3\r\n4;5 ;6\r\n7;8;\u00A09 \r\n", "z1_1", paste, "z1_1",
                      "0;1;2;3|10;1;2;3|20;4;5;6|30;7;8;9|"};
        QTest::newRow("ragged, one row shorter") << KeyRow{
            "1\t2\n3\n", "z2_2", paste, "z2_2", "0;1;2;3|10;11;12;13|20;21;1;2|30;31;3;33|"};
        QTest::newRow("3 x 3 at (2, 2) is too tall and wide")
            << KeyRow{block, "z2_2", paste, "z2_2", places};
        QTest::newRow("3 x 3 at (0, 2) is too wide")
            << KeyRow{block, "z0_2", paste, "z0_2", places};
        QTest::newRow("one piece goes into the cell as typed")
            << KeyRow{"7", "z1_1", paste, "z1_1", "0;1;2;3|10;7;12;13|20;21;22;23|30;31;32;33|"};
    }

    void keyInCell()
    {
        QFETCH(KeyRow, row);
        const auto& [clipboard, cell, key, focus, cells] = row;
        QGuiApplication::clipboard()->setText(QString::fromUtf8(clipboard));
        frmInput window(separatorsOf("de_DE"), nullptr);
        const bool untouched = QLatin1String(cells) == QLatin1String(places);
        const QStringList messages = whileOpen(window, [&] {
            window.findChild<QWidget*>(cell)->setFocus();
            QTest::keyClick(window.focusWidget(), key.key(), key.keyboardModifiers());
            QCOMPARE(window.focusWidget()->objectName(), focus);
            QCOMPARE(grid(window), cells);
            QVERIFY(window.isVisible()); // Done not pressed
            auto* reached = qobject_cast<QLineEdit*>(window.focusWidget());
            if (untouched && reached != nullptr) // ready to be typed over
                QCOMPARE(reached->selectedText(), reached->text());
        });
        QCOMPARE(messages.size(), *clipboard && untouched ? 1 : 0); // a refusal is explained
    }

    void refusingAHugeBlockReadsOnlyWhatFits()
    {
        // A million rows, of which only the first page can be read: reading any further than
        // the fifth row, the first that does not fit, crashes the test.
        const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        const std::size_t length = 2'000'000;
        const std::size_t bytes = (length * sizeof(QChar) + page - 1) / page * page;
        void* memory =
            mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        QVERIFY(memory != MAP_FAILED);
        const auto unmap = qScopeGuard([memory, bytes] { munmap(memory, bytes); });
        auto* text = static_cast<QChar*>(memory);
        for (std::size_t i = 0; i < page / sizeof(QChar); ++i)
            text[i] = i % 2 == 0 ? u'1' : u'\n';
        QVERIFY(mprotect(static_cast<char*>(memory) + page, bytes - page, PROT_NONE) == 0);
        QGuiApplication::clipboard()->setText(
            QString::fromRawData(text, static_cast<qsizetype>(length)));
        const auto clear = qScopeGuard([] { QGuiApplication::clipboard()->clear(); });

        frmInput window(separatorsOf("de_DE"), nullptr);
        const QStringList messages = whileOpen(window, [&window] {
            QTest::keyClick(window.cell(0, 0), Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(grid(window), places);
        });
        QCOMPARE(messages.size(), 1);
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
        QTest::newRow("German") << CopyRow{"de_DE", "1.234,50", "0,5\t1\n1234,5\t1E+20\n"};
        QTest::newRow("English") << CopyRow{"en_US", "1,234.50", "0.5\t1\n1234.5\t1E+20\n"};
    }

    void copyThenPasteGivesSameNumbers()
    {
        QFETCH(CopyRow, row);
        const auto& [locale, typed, copied] = row;
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
        whileOpen(window, [&] {
            window.cell(1, 0)->setText(typed);
            chooseInMenu(QStringLiteral("&Matrix kopieren"));
            QCOMPARE(QGuiApplication::clipboard()->text(), copied);
            for (int i = 0; i < 4; ++i)
                window.cell(i / 2, i % 2)->clear();
            chooseInMenu(QStringLiteral("Einf&ügen"));
            window.findChild<QPushButton*>(QStringLiteral("cmdFertig"))->click();
        });
        const double taken[] = {0.5, 1, 1234.5, 1e20};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(Kalvoran::MatrixD(i / 2, i % 2), taken[i]);
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
