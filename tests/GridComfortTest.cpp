#include "Cell.h"
#include "GridClipboard.h"
#include "Kalvoran.h"
#include "NumberText.h"
#include "frmInput.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

Q_DECLARE_METATYPE(NumberText::Separators)

namespace {

NumberText::Separators german()
{
    return NumberText::separatorsOf(QLocale(QLocale::German, QLocale::Germany));
}

NumberText::Separators english()
{
    return NumberText::separatorsOf(QLocale(QLocale::English, QLocale::UnitedStates));
}

// The shared state for an order whose entry (r, c) is 10 r + c, so that every cell shows its place.
void usePlaceMatrix(std::int16_t lastIndex)
{
    const int order = lastIndex + 1;
    Kalvoran::LastIndex = lastIndex;
    Kalvoran::MatrixD.resize(order, order);
    for (int row = 0; row < order; ++row)
        for (int column = 0; column < order; ++column)
            Kalvoran::MatrixD(row, column) = 10 * row + column;
}

// Opens the window for the shared order, runs body inside its modal loop and hides the window
// again. Message boxes that open meanwhile are closed at once; their titles and texts are returned.
QStringList whileOpen(frmInput& window, const std::function<void()>& body)
{
    QStringList messages;
    QTimer answer;
    answer.callOnTimeout([&messages] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            messages.append(box->windowTitle() + u'\n' + box->text());
            box->close();
        }
    });
    answer.start(0);
    QTimer run;
    run.setSingleShot(true);
    run.callOnTimeout([&] {
        const auto hide = qScopeGuard([&] { window.hide(); });
        QVERIFY(QTest::qWaitForWindowActive(&window));
        body();
    });
    run.start(0);
    window.openForOrder(Kalvoran::LastIndex);
    return messages;
}

// The texts of the cells of the order: cells separated by ";", rows by "|".
QString grid(const frmInput& window)
{
    QStringList rows;
    for (int row = 0; row <= Kalvoran::LastIndex; ++row) {
        QStringList texts;
        for (int column = 0; column <= Kalvoran::LastIndex; ++column)
            texts.append(window.cell(row, column)->text());
        rows.append(texts.join(u';'));
    }
    return rows.join(u'|');
}

// Triggers the context menu's action of the given label (without its "&" and keys).
void triggerMenuAction(QWidget* widget, const QString& label)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                            widget->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(widget, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr);
    const auto close = qScopeGuard([menu] { menu->close(); });
    const QList<QAction*> actions = menu->actions();
    const auto found = std::find_if(actions.begin(), actions.end(), [&](const QAction* action) {
        return action->text().section(u'\t', 0, 0).remove(u'&') == label;
    });
    QVERIFY2(found != actions.end(), qPrintable(label));
    QVERIFY((*found)->isEnabled());
    (*found)->trigger();
}

} // namespace

class GridComfortTest : public QObject {
    Q_OBJECT

private slots:
    void splitsClipboardText_data();
    void splitsClipboardText();
    void upAndDownStayInOrder_data();
    void upAndDownStayInOrder();
    void enterWalksToDoneWithoutPressingIt();
    void pastesBlockFromCell_data();
    void pastesBlockFromCell();
    void refusesBlockOutsideOrder_data();
    void refusesBlockOutsideOrder();
    void contextMenuPastesBlock();
    void singleValuePastesAtCaret();
    void copyThenPasteGivesSameNumbers_data();
    void copyThenPasteGivesSameNumbers();
    void copyKeepsTextThatIsNoNumber();
    void keypadDecimalKeyTypesSeparator_data();
    void keypadDecimalKeyTypesSeparator();
    void resultCanBeSelectedAndCopied();
};

void GridComfortTest::splitsClipboardText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<int>("width");

    QTest::newRow("spreadsheet rows end with a break")
        << "1\t2\n3\t4\n"
        << QList<QStringList>{{"1", "2"}, {"3", "4"}} << 2;
    QTest::newRow("CRLF breaks") << "1\t2\r\n3\t4\r\n"
                                 << QList<QStringList>{{"1", "2"}, {"3", "4"}} << 2;
    QTest::newRow("semicolons, pieces trimmed")
        << "1,5; -2 \n 3 ;4" << QList<QStringList>{{"1,5", "-2"}, {"3", "4"}} << 2;
    QTest::newRow("ragged rows are as wide as the widest")
        << "1\n2\t3\t4\n5\t6" << QList<QStringList>{{"1"}, {"2", "3", "4"}, {"5", "6"}} << 3;
    QTest::newRow("empty pieces and lines stay") << "1\t\t3\n\n"
                                                 << QList<QStringList>{{"1", "", "3"}, {""}} << 3;
    QTest::newRow("one value with its break") << "7\n" << QList<QStringList>{{"7"}} << 1;
}

void GridComfortTest::splitsClipboardText()
{
    QFETCH(QString, text);
    QFETCH(QList<QStringList>, rows);
    QFETCH(int, width);

    const GridClipboard::Block block = GridClipboard::split(text);
    QCOMPARE(block.rows, rows);
    QCOMPARE(block.height(), rows.size());
    QCOMPARE(block.width(), width);
    QCOMPARE(block.isSingleValue(), width == 1 && rows.size() == 1);
}

void GridComfortTest::upAndDownStayInOrder_data()
{
    QTest::addColumn<int>("lastIndex");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("toRow");

    QTest::newRow("Down") << 3 << 1 << 2 << int(Qt::Key_Down) << 2;
    QTest::newRow("Up") << 3 << 3 << 0 << int(Qt::Key_Up) << 2;
    QTest::newRow("Up in the top row") << 3 << 0 << 3 << int(Qt::Key_Up) << 0;
    QTest::newRow("Down in the last row of the order") << 3 << 3 << 1 << int(Qt::Key_Down) << 3;
    QTest::newRow("Down in the last row of the grid") << 9 << 9 << 9 << int(Qt::Key_Down) << 9;
}

void GridComfortTest::upAndDownStayInOrder()
{
    QFETCH(int, lastIndex);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, key);
    QFETCH(int, toRow);

    usePlaceMatrix(static_cast<std::int16_t>(lastIndex));
    frmInput window(german(), nullptr);
    whileOpen(window, [&] {
        window.cell(row, column)->setFocus();
        QTest::keyClick(window.cell(row, column), Qt::Key(key));
        Cell* reached = window.cell(toRow, column);
        QCOMPARE(QApplication::focusWidget(), reached);
        QCOMPARE(reached->selectedText(), reached->text()); // caret at the start: all selected
    });
}

void GridComfortTest::enterWalksToDoneWithoutPressingIt()
{
    usePlaceMatrix(1);
    const Kalvoran::Matrix before = Kalvoran::MatrixD;
    frmInput window(german(), nullptr);
    auto* done = window.findChild<QPushButton*>(QStringLiteral("cmdFertig"));
    QVERIFY(done != nullptr);
    whileOpen(window, [&] {
        window.cell(1, 1)->setText(QStringLiteral("99"));
        QTest::keyClick(window.cell(0, 0), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), window.cell(0, 1));
        QTest::keyClick(window.cell(0, 1), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), window.cell(1, 0));
        QCOMPARE(window.cell(1, 0)->selectedText(), QStringLiteral("10"));

        window.cell(1, 1)->setFocus();
        QTest::keyClick(window.cell(1, 1), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), done);
        QTest::keyClick(done, Qt::Key_Return);
        QVERIFY(window.isVisible());
        QCOMPARE(Kalvoran::MatrixD, before);
    });
}

void GridComfortTest::pastesBlockFromCell_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("cells");

    const QString block = QStringLiteral("1\t2\t3\n4\t5\t6\n7\t8\t9\n");
    QTest::newRow("3 x 3 at the top left")
        << block << 0 << 0 << "1;2;3;3|4;5;6;13|7;8;9;23|30;31;32;33";
    QTest::newRow("3 x 3 up to the last row and column")
        << block << 1 << 1 << "0;1;2;3|10;1;2;3|20;4;5;6|30;7;8;9";
    QTest::newRow("a short row leaves the cells after it")
        << "1;2;3\r\n4\r\n7;;9\r\n"
        << 1 << 1 << "0;1;2;3|10;1;2;3|20;4;22;23|30;7;;9";
}

void GridComfortTest::pastesBlockFromCell()
{
    QFETCH(QString, clipboard);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, cells);

    usePlaceMatrix(3);
    frmInput window(german(), nullptr);
    whileOpen(window, [&] {
        QGuiApplication::clipboard()->setText(clipboard);
        window.cell(row, column)->setFocus();
        QTest::keyClick(window.cell(row, column), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(grid(window), cells);
    });
}

void GridComfortTest::refusesBlockOutsideOrder_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("size");
    QTest::addColumn<bool>("fromMenu");

    const QString block = QStringLiteral("1\t2\t3\n4\t5\t6\n7\t8\t9\n");
    QTest::newRow("3 x 3 from the middle") << block << 2 << 2 << "3 × 3" << false;
    QTest::newRow("3 x 3 from the middle, context menu") << block << 2 << 2 << "3 × 3" << true;
    QTest::newRow("one row too wide") << "1\t2\t3\t4\t5" << 0 << 0 << "1 × 5" << false;
    QTest::newRow("a long row among short ones") << "1\n2\t3\n4" << 1 << 3 << "3 × 2" << false;
    QTest::newRow("one row below the last") << "1\n2" << 3 << 0 << "2 × 1" << false;
}

void GridComfortTest::refusesBlockOutsideOrder()
{
    QFETCH(QString, clipboard);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, size);
    QFETCH(bool, fromMenu);

    usePlaceMatrix(3);
    frmInput window(german(), nullptr);
    const QStringList messages = whileOpen(window, [&] {
        const QString before = grid(window);
        QGuiApplication::clipboard()->setText(clipboard);
        window.cell(row, column)->setFocus();
        if (fromMenu)
            triggerMenuAction(window.cell(row, column), QStringLiteral("Paste"));
        else
            QTest::keyClick(window.cell(row, column), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(grid(window), before);
    });
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.front().startsWith(QStringLiteral("Eingabe:\n")));
    QVERIFY2(messages.front().contains(size), qPrintable(messages.front()));
    QVERIFY(messages.front().endsWith(QStringLiteral("Es wurde nichts eingefügt.")));
}

void GridComfortTest::contextMenuPastesBlock()
{
    usePlaceMatrix(2);
    frmInput window(german(), nullptr);
    whileOpen(window, [&] {
        QGuiApplication::clipboard()->setText(QStringLiteral("1\t2\n3\t4\n"));
        triggerMenuAction(window.cell(1, 1), QStringLiteral("Paste"));
        QCOMPARE(grid(window), QStringLiteral("0;1;2|10;1;2|20;3;4"));
    });
}

void GridComfortTest::singleValuePastesAtCaret()
{
    usePlaceMatrix(1);
    frmInput window(german(), nullptr);
    whileOpen(window, [&] {
        QGuiApplication::clipboard()->setText(QStringLiteral("7"));
        Cell* cell = window.cell(1, 1);
        cell->setFocus();
        cell->setCursorPosition(1);
        QTest::keyClick(cell, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(grid(window), QStringLiteral("0;1|10;171"));
    });
}

void GridComfortTest::copyThenPasteGivesSameNumbers_data()
{
    QTest::addColumn<NumberText::Separators>("separators");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("copied");

    QTest::newRow("German") << german() << "1.234,50"
                            << "1,5\t-2\n1234,5\t1E+20\n";
    QTest::newRow("English") << english() << "1,234.50"
                             << "1.5\t-2\n1234.5\t1E+20\n";
}

void GridComfortTest::copyThenPasteGivesSameNumbers()
{
    QFETCH(NumberText::Separators, separators);
    QFETCH(QString, typed);
    QFETCH(QString, copied);

    Kalvoran::LastIndex = 1;
    Kalvoran::MatrixD.resize(2, 2);
    Kalvoran::MatrixD(0, 0) = 1.5;
    Kalvoran::MatrixD(0, 1) = -2;
    Kalvoran::MatrixD(1, 1) = 1e20;
    Kalvoran::Matrix expected = Kalvoran::MatrixD;
    expected(1, 0) = 1234.5;

    frmInput window(separators, nullptr);
    auto* done = window.findChild<QPushButton*>(QStringLiteral("cmdFertig"));
    QVERIFY(done != nullptr);
    whileOpen(window, [&] {
        window.cell(1, 0)->setText(typed);
        triggerMenuAction(window.cell(0, 0), QStringLiteral("Matrix kopieren"));
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);

        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 2; ++column)
                window.cell(row, column)->setText(QStringLiteral("0"));
        QTest::keyClick(window.cell(0, 0), Qt::Key_V, Qt::ControlModifier);
        done->click();
    });
    QCOMPARE(Kalvoran::MatrixD, expected);
}

void GridComfortTest::copyKeepsTextThatIsNoNumber()
{
    usePlaceMatrix(1);
    frmInput window(german(), nullptr);
    whileOpen(window, [&] {
        window.cell(0, 0)->setText(QStringLiteral("abc"));
        window.cell(0, 1)->setText(QStringLiteral(" 1;2 "));
        window.cell(1, 0)->clear();
        triggerMenuAction(window.cell(1, 1), QStringLiteral("Matrix kopieren"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("abc\t1 2\n\t11\n"));

        window.cell(0, 0)->setText(QStringLiteral("0"));
        QTest::keyClick(window.cell(0, 0), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(grid(window), QStringLiteral("abc;1 2|;11"));
    });
}

void GridComfortTest::keypadDecimalKeyTypesSeparator_data()
{
    QTest::addColumn<bool>("inOrderBox");
    QTest::addColumn<NumberText::Separators>("separators");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");

    const int keypad = Qt::KeypadModifier;
    QTest::newRow("cell, German, keypad point")
        << false << german() << int(Qt::Key_Period) << keypad << "2,5";
    QTest::newRow("cell, English, keypad comma")
        << false << english() << int(Qt::Key_Comma) << keypad << "2.5";
    QTest::newRow("cell, German, main point stays")
        << false << german() << int(Qt::Key_Period) << 0 << "2.5";
    QTest::newRow("order box, German, keypad point")
        << true << german() << int(Qt::Key_Period) << keypad << "2,5";
    QTest::newRow("order box, English, keypad comma")
        << true << english() << int(Qt::Key_Comma) << keypad << "2.5";
}

void GridComfortTest::keypadDecimalKeyTypesSeparator()
{
    QFETCH(bool, inOrderBox);
    QFETCH(NumberText::Separators, separators);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);

    const auto type = [&](QLineEdit* edit) {
        edit->setText(QStringLiteral("2"));
        QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTest::keyClick(edit, Qt::Key_5, Qt::KeypadModifier);
        QCOMPARE(edit->text(), text);
    };
    if (inOrderBox) {
        frmMain main(separators);
        auto* orderBox = main.findChild<QLineEdit*>(QStringLiteral("txtEingabe"));
        QVERIFY(orderBox != nullptr);
        type(orderBox);
        return;
    }
    usePlaceMatrix(0);
    frmInput window(separators, nullptr);
    whileOpen(window, [&] { type(window.cell(0, 0)); });
}

void GridComfortTest::resultCanBeSelectedAndCopied()
{
    frmMain main(german());
    Kalvoran::LastIndex = 1;
    Kalvoran::MatrixD.resize(2, 2);
    Kalvoran::MatrixD(0, 0) = 2.5;
    Kalvoran::MatrixD(0, 1) = 1;
    Kalvoran::MatrixD(1, 0) = 1;
    Kalvoran::MatrixD(1, 1) = 3;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    auto* compute = main.findChild<QPushButton*>(QStringLiteral("btnStart0"));
    auto* result = main.findChild<QLabel*>(QStringLiteral("lblAusgabe"));
    QVERIFY(compute != nullptr && result != nullptr);
    compute->click();
    const QString shown = QStringLiteral("det(D) = 6,5");
    QCOMPARE(result->text(), shown);

    const int middle = result->fontMetrics().height() / 2;
    QTest::mousePress(result, Qt::LeftButton, {}, QPoint(1, middle));
    QTest::mouseMove(result, QPoint(result->width() - 1, middle));
    QTest::mouseRelease(result, Qt::LeftButton, {}, QPoint(result->width() - 1, middle));
    QCOMPARE(result->selectedText(), shown);

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(result, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), shown);

    // The context menu's copy takes the whole result when nothing is selected.
    result->setSelection(0, 0);
    QGuiApplication::clipboard()->clear();
    QCOMPARE(result->contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(result->actions().size(), 1);
    result->actions().constFirst()->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), shown);
}

QTEST_MAIN(GridComfortTest)
#include "GridComfortTest.moc"
