// The entry window: its grid for each order, Done and the close box, and the comfort of the grid
// (keys in a cell, pasting and copying blocks). Each test starts with
// the entry (r, c) = 10 r + c of a 4 x 4 matrix, so that every cell shows its place.
#include "Cell.h"
#include "GuardedText.h"
#include "Kalvoran.h"
#include "ModalHelper.h"
#include "QtGerman.h"
#include "TypedMatrix.h"
#include "frmInput.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>

#include <cmath>
#include <memory>
#include <tuple>

using Kalvoran::LastIndex;
using Kalvoran::Matrix;
using Kalvoran::MatrixD;
using namespace Qt::StringLiterals;

// Clipboard, cell with the focus (10 x row + column), key, cell with the focus after (-1: Done),
// texts of the cells after, the message shown (none if empty).
using KeyRow = std::tuple<QString, int, QKeyCombination, int, const char*, QString>;
// Locale, typed into cell (1, 0), its piece of the copy, value taken by Done (NaN: refused), its
// text when the window opens again.
using CopyRow = std::tuple<QLocale::Language, const char*, const char*, double, const char*>;
Q_DECLARE_METATYPE(KeyRow)
Q_DECLARE_METATYPE(CopyRow)

namespace {

const char* const places = "0;1;2|10;11;12|20;21;22|"; // cells of order 3 untouched
const QString block = QStringLiteral("1\t2\t3\n4\t5\t6\n7\t8\t9\n");
const QKeyCombination paste = Qt::ControlModifier | Qt::Key_V;

QPushButton* done(const QWidget* window)
{
    return window->findChild<QPushButton*>("cmdFertig");
}

Matrix square(std::initializer_list<double> values)
{
    const auto n = static_cast<int>(std::lround(std::sqrt(values.size())));
    Matrix m(n, n);
    for (int i = 0; i < n * n; ++i)
        m(i / n, i % n) = std::data(values)[i];
    return m;
}

// The texts of the cells of order 3, each followed by ";" or, at the end of its row, "|"; a caret
// that is not at the start of its cell shows as "^".
QString grid(const frmInput& window)
{
    QString text;
    for (int i = 0; i < 9; ++i) {
        const Cell* cell = window.cell(i / 3, i % 3);
        QString shown = cell->text();
        if (cell->cursorPosition() != 0)
            shown.insert(cell->cursorPosition(), u'^');
        text += shown + (i % 3 == 2 ? u'|' : u';');
    }
    return text;
}

} // namespace

class EntryWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> owner;
    QPointer<frmInput> input;
    const QString millionRows = guardedText(2'000'000, u"1\n");

    // Opens the entry window (German, unless made before) for an order and runs `inside` in its
    // modal showing, then hides it if it is still shown; returns the texts of the messages shown.
    QStringList openAndDo(int order, const std::function<void(frmInput*)>& inside)
    {
        LastIndex = static_cast<std::int16_t>(order - 1);
        if (input.isNull())
            input = new frmInput(NumberText::separatorsOf(QLocale::German), owner.get());
        return whileShowing<frmInput>([this] { input->openForOrder(LastIndex); },
                                      [&inside](frmInput* window) {
                                          inside(window); // returns early on a failed check
                                          window->hide();
                                      });
    }

private slots:
    void initTestCase() { QVERIFY(installQtGerman(*qApp)); }
    void init()
    {
        owner = std::make_unique<QWidget>();
        MatrixD = square({0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23, 30, 31, 32, 33});
    }
    void cleanup()
    {
        owner.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void gridFollowsTheOrder_data()
    {
        // Outer size (n x 600 + 200) x (n x 480 + 1050) twips at 15 twips a pixel, less a 3-pixel
        // frame and a 17-pixel title bar. Done's top is at (H - 650) units of a client area H
        // units high, H the outer height in twips, and it is centred. A smaller order after a
        // larger one hides the cells beyond it; Tab walks row by row, then to Done.
        QTest::addColumn<int>("earlier");
        QTest::addColumn<int>("order");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("button");
        QTest::newRow("5, then 3") << 5 << 3 << QSize(127, 143) << QRect(23, 106, 81, 33);
        QTest::newRow("10, then 8") << 10 << 8 << QSize(327, 303) << QRect(123, 263, 81, 33);
        QTest::newRow("3, then 10") << 3 << 10 << QSize(407, 367) << QRect(163, 326, 81, 33);
        QTest::newRow("3, then 1, button wider than the window")
            << 3 << 1 << QSize(47, 79) << QRect(-17, 45, 81, 33);
    }
    void gridFollowsTheOrder()
    {
        QFETCH(int, earlier);
        QFETCH(int, order);
        openAndDo(earlier, [&](frmInput* window) {
            Cell* cell = window->cell(0, 1);
            cell->setText(QStringLiteral("123"));
            cell->setCursorPosition(1); // a visit selects from the caret on
            QTest::keyClick(window->cell(0, 0), Qt::Key_Tab);
            QCOMPARE(cell->selectedText(), QStringLiteral("23"));
            // A return from another program or the context menu is no visit: it selects nothing.
            for (const auto reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
                cell->setCursorPosition(1);
                QFocusEvent in(QEvent::FocusIn, reason);
                QApplication::sendEvent(cell, &in);
                QCOMPARE(cell->selectedText(), QString());
            }
        });
        QWidgetList visited;
        openAndDo(order, [&](frmInput* window) {
            for (int i = 0; i < order * order + 2; ++i) {
                visited << window->focusWidget();
                QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
            }
        });
        QTEST(input->size(), "client");
        QTEST(done(input)->geometry(), "button");
        QWidgetList expected; // row by row, then Done, then round again
        for (int k = 0; k < 10; ++k)
            for (int h = 0; h < 10; ++h) {
                Cell* cell = input->cell(k, h);
                QCOMPARE(cell->toolTip(), QStringLiteral("Geben Sie hier ihre Matrix ein"));
                QCOMPARE(cell->accessibleName(), u"Zeile %1, Spalte %2"_s.arg(k + 1).arg(h + 1));
                const bool inOrder = k < order && h < order;
                QCOMPARE(cell->isVisibleTo(input) && cell->isEnabled(), inOrder);
                if (inOrder) {
                    expected << cell;
                    QVERIFY(input->rect().contains(cell->geometry()) &&
                            cell->geometry().bottom() < done(input)->y());
                }
                if (h == order)
                    QVERIFY(cell->x() >= input->width());
            }
        QCOMPARE(visited, expected << done(input) << input->cell(0, 0));
    }

    void badCellKeepsTheWindowOpen_data()
    {
        // The message names the cell and quotes the text as it was typed, never read as markup.
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("problem");
        const QString notANumber = u"„%1“ ist keine gültige Zahl."_s;
        const QString outside = u"„%1“ liegt außerhalb des darstellbaren Zahlenbereichs."_s;
        const QString markup = u"<img src=\"file:///tmp/x.png\"><b>1</b>"_s;
        QTest::newRow("empty") << QString() << u"Das Feld ist leer."_s;
        QTest::newRow("decimal point on a German system") << u"1.5"_s << notANumber.arg("1.5");
        QTest::newRow("beyond the double range") << u"1E999"_s << outside.arg("1E999");
        QTest::newRow("too small for a double") << u"-1E-400"_s << outside.arg("-1E-400");
        QTest::newRow("zero denominator") << u"1 / 0"_s << u"In „1 / 0“ ist der Nenner null."_s;
        QTest::newRow("two slashes") << u"1/3/4"_s << notANumber.arg("1/3/4");
        QTest::newRow("blanks around the text are not quoted")
            << u" 1.5 "_s << notANumber.arg("1.5");
        QTest::newRow("markup") << markup << notANumber.arg(markup);
        QTest::newRow("40 characters are quoted whole")
            << QString(40, u'x') << notANumber.arg(QString(40, u'x'));
        QTest::newRow("a long text is quoted in part")
            << QString(100000, u'x') << notANumber.arg(QString(40, u'x') + u'…');
        QTest::newRow("the cut keeps a character beyond 16 bits whole")
            << QString(39, u'x') + u"\U0001F600yyy"_s << notANumber.arg(QString(39, u'x') + u'…');
    }
    void badCellKeepsTheWindowOpen()
    {
        QFETCH(QString, text);
        const Matrix before = MatrixD;
        const QStringList messages = openAndDo(3, [&](frmInput* window) {
            window->cell(0, 0)->setText(QStringLiteral("5"));
            window->cell(1, 2)->setText(text);
            done(window)->click();
            QVERIFY(window->isVisible());
            QCOMPARE(window->focusWidget(), static_cast<QWidget*>(window->cell(1, 2)));
            QCOMPARE(window->cell(1, 2)->selectedText(), text);
        });
        QFETCH(QString, problem);
        QCOMPARE(messages,
                 QStringList{"Zeile 2, Spalte 3: " + problem + "\nBitte geben Sie eine Zahl ein."});
        QCOMPARE(MatrixD, before);
    }

    void openingShowsTheMatrixDoneTakesItBackCloseBoxCancels()
    {
        MatrixD = square({1.0 / 3, 2, -3, 1e20});
        openAndDo(3, [](frmInput* window) {
            window->cell(0, 0)->setText(QStringLiteral("8"));
            window->move(window->pos() + QPoint(40, 30));
            window->close();
        });
        QCOMPARE(MatrixD, square({1.0 / 3, 2, -3, 1e20})); // the close box cancels
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(input.isNull());

        QStringList shown;
        QPoint moved;
        openAndDo(3, [&](frmInput* window) {
            // Built anew and centred again; the frame may shift it a little.
            QVERIFY(
                (window->frameGeometry().center() - window->screen()->availableGeometry().center())
                    .manhattanLength() <= 8);
            for (int i = 0; i < 9; ++i)
                shown << window->cell(i / 3, i % 3)->text();
            shown << window->cell(0, 0)->selectedText(); // typing replaces it
            window->cell(2, 1)->setText(QStringLiteral("1.000,5"));
            // No text is cut, however long: 10 in more characters than a text box holds.
            window->cell(2, 2)->setText("0," + QString(40000, u'0') + "1E40002");
            window->move(window->pos() + QPoint(40, 30));
            moved = window->pos();
            if (becomesActive(window))
                QTest::keyClick(window, Qt::Key_F, Qt::AltModifier);
            QVERIFY(QTest::qWaitFor([window] { return !window->isVisible(); }, 2000));
        });
        QCOMPARE(shown, QStringList({"0,333333333333333", "2", "0", "-3", "1E+20", "0", "0", "0",
                                     "0", "0,333333333333333"}));
        // Untouched cells give back the exact values, not their 15-digit texts.
        QCOMPARE(MatrixD, square({1.0 / 3, 2, 0, -3, 1e20, 0, 0, 1000.5, 10}));
        // Done keeps the window, and the next opening shows it where the user put it.
        openAndDo(3, [](frmInput* /*window*/) {});
        QCOMPARE(input->pos(), moved);
    }

    void keyInACell_data()
    {
        // The window stays open. A cell left as it was has all its text selected, to be typed
        // over; each cell a block fills is left as an opening leaves it, caret at the start. A
        // block that does not fit is refused with the cell and the room there, rows x columns.
        QTest::addColumn<KeyRow>("row");
        const auto keypad = Qt::KeypadModifier;
        QTest::newRow("Down") << KeyRow{{}, 11, Qt::Key_Down, 21, places, {}};
        QTest::newRow("Up") << KeyRow{{}, 11, Qt::Key_Up, 1, places, {}};
        QTest::newRow("Shift+Enter is no move")
            << KeyRow{{}, 11, Qt::ShiftModifier | Qt::Key_Return, 11, places, {}};
        QTest::newRow("Escape") << KeyRow{{}, 11, Qt::Key_Escape, 11, places, {}};
        QTest::newRow("Up in the top row") << KeyRow{{}, 2, Qt::Key_Up, 2, places, {}};
        QTest::newRow("Down in the last row") << KeyRow{{}, 21, Qt::Key_Down, 21, places, {}};
        QTest::newRow("keypad's decimal key types the separator")
            << KeyRow{{}, 0, keypad | Qt::Key_Period, 0, ",^;1;2|10;11;12|20;21;22|", {}};
        QTest::newRow("the main keys' period stays a period")
            << KeyRow{{}, 0, Qt::Key_Period, 0, ".^;1;2|10;11;12|20;21;22|", {}};
        QTest::newRow("keypad Enter in the last cell moves to Done, not pressing it")
            << KeyRow{{}, 22, keypad | Qt::Key_Enter, -1, places, {}};
        QTest::newRow("3 x 3 at (0, 0)") << KeyRow{block, 0, paste, 0, "1;2;3|4;5;6|7;8;9|", {}};
        QTest::newRow("2 x 2 at (1, 1), semicolons, CRLF and blanks")
            << KeyRow{" 1; 2 \r\n3 ;\u00A04 \r\n", 11, paste, 11, "0;1;2|10;1;2|20;3;4|", {}};
        QTest::newRow("ragged, one row shorter")
            << KeyRow{"1\t2\n3\n", 11, paste, 11, "0;1;2|10;1;2|20;3;22|", {}};
        QTest::newRow("rows ended by a lone CR")
            << KeyRow{"1\t2\r3\t4\r", 0, paste, 0, "1;2;2|3;4;12|20;21;22|", {}};
        QTest::newRow("long numbers, narrow cells")
            << KeyRow{"4E-200\t4E-200", 11, paste, 11, "0;1;2|10;4E-200;4E-200|20;21;22|", {}};
        QTest::newRow("one piece goes into the cell as typed")
            << KeyRow{"7", 11, paste, 11, "0;1;2|10;7^;12|20;21;22|", {}};
        const QString room =
            "Der Block aus der Zwischenablage passt ab Zeile %1, Spalte %2 nicht in "
            "die Matrix: dort ist Platz für %3 Werte.\nEs wurde nichts eingefügt.";
        QTest::newRow("3 x 3 at (1, 1) is too tall and wide")
            << KeyRow{block, 11, paste, 11, places, room.arg(2).arg(2).arg("2 × 2")};
        QTest::newRow("3 x 3 at (0, 1) is too wide")
            << KeyRow{block, 1, paste, 1, places, room.arg(1).arg(2).arg("3 × 2")};
        QTest::newRow("3 x 3 at (1, 0) is one row too tall")
            << KeyRow{block, 10, paste, 10, places, room.arg(2).arg(1).arg("2 × 3")};
        // Reading further than the fourth row, the first that does not fit, crashes the test.
        QTest::newRow("a million rows, only the first page readable")
            << KeyRow{millionRows, 0, paste, 0, places, room.arg(1).arg(1).arg("3 × 3")};
    }
    void keyInACell()
    {
        QFETCH(KeyRow, row);
        const auto& [clipboard, from, key, to, cells, message] = row;
        QGuiApplication::clipboard()->setText(clipboard);
        // Structured bindings reach the lambda through init-captures (clang 14 captures none).
        const QStringList messages =
            openAndDo(3, [&, &from = from, &key = key, &to = to, &cells = cells](frmInput* window) {
                window->cell(from / 10, from % 10)->setFocus();
                QTest::keyClick(window->focusWidget(), key.key(), key.keyboardModifiers());
                QVERIFY(window->isVisible());
                QCOMPARE(window->focusWidget()->objectName(),
                         to < 0 ? u"cmdFertig"_s : u"z%1_%2"_s.arg(to / 10).arg(to % 10));
                QCOMPARE(grid(*window), cells);
                const auto* cell = qobject_cast<const QLineEdit*>(window->focusWidget());
                if (cells == places && cell != nullptr)
                    QCOMPARE(cell->selectedText(), cell->text());
            });
        QCOMPARE(messages, message.isEmpty() ? QStringList() : QStringList{message});
    }

    void copyThenPasteGivesSameNumbers_data()
    {
        QTest::addColumn<CopyRow>("row");
        QTest::newRow("German") << CopyRow{QLocale::German, "1.234,50", "1234,5", 1234.5, "1234,5"};
        QTest::newRow("English") << CopyRow{QLocale::English, "1,234.50", "1234.5", 1234.5,
                                            "1234.5"};
        QTest::newRow("no number stays no number")
            << CopyRow{QLocale::German, "1;5", "1 5", std::nan(""), nullptr};
        // A value that needs more than 15 digits to read back gets them; so does a decimal typed
        // with more digits than its double holds. A fraction stays one, in lowest terms.
        QTest::newRow("one ulp above 1") << CopyRow{QLocale::German, "1,0000000000000002",
                                                    "1,0000000000000002", 1.0000000000000002, "1"};
        QTest::newRow("20 digits") << CopyRow{QLocale::German, "0,10000000000000000001",
                                              "0,10000000000000000001", 0.1, "0,1"};
        QTest::newRow("fraction") << CopyRow{QLocale::German, "-2/6", "-1/3", -1.0 / 3, "-1/3"};
        QTest::newRow("negative zero") << CopyRow{QLocale::German, "-0", "-0", -0.0, "0"};
    }
    void copyThenPasteGivesSameNumbers()
    {
        QFETCH(CopyRow, row);
        const auto& [locale, typed, piece, taken, reopened] = row;
        MatrixD = square({0.5, 1, 10, 1e20});
        input = new frmInput(NumberText::separatorsOf(locale), owner.get());
        // The cell's context menu, with Qt's own entries in German; the label before the tab.
        const auto chooseInMenu = [this](const QString& label) {
            QContextMenuEvent event(QContextMenuEvent::Keyboard, {}, {});
            QApplication::sendEvent(input->cell(0, 0), &event);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            const auto close = qScopeGuard([menu] { menu->close(); });
            QStringList labels;
            for (QAction* action : menu->actions())
                labels << action->text().section(u'\t', 0, 0);
            QVERIFY2(labels.contains(u"&Rückgängig"_s) && labels.contains(label),
                     qPrintable(labels.join(u'|')));
            menu->actions().at(labels.indexOf(label))->trigger();
        };
        const QString half = NumberText::format(0.5, NumberText::separatorsOf(locale));
        const QStringList messages = openAndDo(2, [&, &typed = typed,
                                                   &piece = piece](frmInput* window) {
            window->cell(1, 0)->setText(typed);
            chooseInMenu(QStringLiteral("&Matrix kopieren"));
            QCOMPARE(QGuiApplication::clipboard()->text(), half + "\t1\n" + piece + "\t1E+20\n");
            for (int i = 0; i < 4; ++i)
                window->cell(i / 2, i % 2)->clear();
            chooseInMenu(QStringLiteral("Einf&ügen"));
            done(window)->click();
        });
        QCOMPARE(messages.size(), std::isnan(taken) ? 1 : 0); // refused, the matrix stays
        QCOMPARE(MatrixD, square({0.5, 1, std::isnan(taken) ? 10 : taken, 1e20}));
        if (std::isnan(taken))
            return;
        // Reopening shows it, and Done keeps its double and its exact value.
        const Kalvoran::TypedNumber expected =
            NumberText::parseEntry(QString::fromUtf8(typed), NumberText::separatorsOf(locale))
                .number;
        openAndDo(2, [shown = QString::fromUtf8(reopened)](frmInput* window) {
            QCOMPARE(window->cell(1, 0)->text(), shown);
            done(window)->click();
        });
        const Kalvoran::TypedNumber kept = Kalvoran::TypedD.at(MatrixD, 1, 0);
        QCOMPARE(std::signbit(kept.value), std::signbit(taken));
        QVERIFY(kept.exact == expected.exact);
    }
};

QTEST_MAIN(EntryWindowTest)
#include "EntryWindowTest.moc"
