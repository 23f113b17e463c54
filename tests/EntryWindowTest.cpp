#include "Cell.h"
#include "Kalvoran.h"
#include "ModalHelper.h"
#include "NumberText.h"
#include "UpDown.h"
#include "frmInput.h"
#include "frmMain.h"

#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <string_view>

using Kalvoran::LastIndex;
using Kalvoran::Matrix;
using Kalvoran::MatrixD;

namespace {

// Waits until the widgets know their window is active; the platform knows it a little earlier.
bool becomesActive(QWidget* window)
{
    return QTest::qWaitFor([window] { return window->isActiveWindow(); }, 5000);
}

const NumberText::Separators german = NumberText::separatorsOf(QLocale(QLocale::German));

QPushButton* doneButton(const frmInput* input)
{
    return input->findChild<QPushButton*>(QStringLiteral("cmdFertig"));
}

Matrix fromRows(std::initializer_list<std::initializer_list<double>> rows)
{
    const int n = static_cast<int>(rows.size());
    Matrix m(n, n);
    int r = 0;
    for (const auto& row : rows) {
        int c = 0;
        for (double v : row)
            m(r, c++) = v;
        ++r;
    }
    return m;
}

} // namespace

class EntryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sizeAndDoneButtonFollowTheOrder_data();
    void sizeAndDoneButtonFollowTheOrder();
    void exactlyTheCellsOfTheOrderLieInside();
    void onlyTheCellsOfTheOrderAreReachable();
    void openingShowsTheMatrixWithZerosAtNewPositions();
    void doneTransfersRowsAndColumns();
    void doneReadsRegionalNumbers();
    void reopeningAndDoneKeepsExactValues();
    void badCellKeepsTheWindowOpen_data();
    void badCellKeepsTheWindowOpen();
    void enterAndEscapeNeitherPressDoneNorClose();
    void closeBoxCancelsAndTheNextOpeningRebuilds();
    void focusSelectsFromTheCaret_data();
    void focusSelectsFromTheCaret();
    void orderOutsideTheGridIsRefused_data();
    void orderOutsideTheGridIsRefused();
    void wholeRoadFromOrderToResult();

private:
    // Opens the entry window for an order, runs `inside` in its modal showing and returns when
    // the window has been hidden or closed.
    void openAndDo(int order, const std::function<void(frmInput*)>& inside)
    {
        LastIndex = static_cast<std::int16_t>(order - 1);
        if (input.isNull())
            input = new frmInput(german, owner.get());
        whenModalShows<frmInput>(inside);
        input->openForOrder(LastIndex);
    }
    static void pressDone(frmInput* window)
    {
        QTest::mouseClick(doneButton(window), Qt::LeftButton);
    }
    // Alt+F works in the active window only. Should it fail, the window is closed so that the
    // test fails on what Done did not take over instead of waiting in the modal showing for ever.
    static void pressAltF(frmInput* window)
    {
        if (becomesActive(window))
            QTest::keyClick(window, Qt::Key_F, Qt::AltModifier);
        if (!QTest::qWaitFor([window] { return !window->isVisible(); }, 2000))
            window->close();
    }

    std::unique_ptr<QWidget> owner;
    QPointer<frmInput> input;
};

void EntryWindowTest::init()
{
    owner = std::make_unique<QWidget>();
    MatrixD.resize(2, 2);
    LastIndex = 1;
}

void EntryWindowTest::cleanup()
{
    owner.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void EntryWindowTest::sizeAndDoneButtonFollowTheOrder_data()
{
    // Outer size (order x 600 + 200) x (order x 480 + 1050) twips, at 15 twips a pixel, less a
    // frame of 3 pixels on each side and a 17-pixel title bar. The Done button's top lies at
    // (H - 650) units of a client area H units high, H the outer height in twips; it is centred.
    QTest::addColumn<int>("order");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QRect>("done");
    QTest::newRow("1: button wider than the window")
        << 1 << QSize(47, 79) << QRect(-17, 45, 81, 33);
    QTest::newRow("3") << 3 << QSize(127, 143) << QRect(23, 106, 81, 33);
    QTest::newRow("10") << 10 << QSize(407, 367) << QRect(163, 326, 81, 33);
}

void EntryWindowTest::sizeAndDoneButtonFollowTheOrder()
{
    QFETCH(int, order);
    QSize size;
    QRect done;
    openAndDo(order, [&](frmInput* window) {
        size = window->size();
        done = doneButton(window)->geometry();
        pressDone(window);
    });
    QTEST(size, "client");
    QTEST(done, "done");
    QCOMPARE(input->minimumSize(), input->maximumSize());
}

void EntryWindowTest::exactlyTheCellsOfTheOrderLieInside()
{
    for (int order = 1; order <= 10; ++order) {
        openAndDo(order, pressDone);
        const QRect client = input->rect();
        for (int row = 0; row < 10; ++row) {
            for (int column = 0; column < 10; ++column) {
                const QRect cell = input->cell(row, column)->geometry();
                if (row < order && column < order)
                    QVERIFY2(client.contains(cell),
                             qPrintable(QStringLiteral("order %1, cell %2,%3")
                                            .arg(order)
                                            .arg(row)
                                            .arg(column)));
                if (column == order)
                    QVERIFY(cell.left() >= client.width());
            }
        }
        // The Done button sits below the grid.
        QVERIFY(doneButton(input)->geometry().top() >=
                input->cell(order - 1, 0)->geometry().bottom());
    }
}

void EntryWindowTest::onlyTheCellsOfTheOrderAreReachable()
{
    openAndDo(5, pressDone);
    QList<QWidget*> visited;
    openAndDo(3, [&](frmInput* window) {
        window->cell(0, 0)->setFocus();
        for (int i = 0; i < 11; ++i) {
            visited << window->focusWidget();
            QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        }
        pressDone(window);
    });
    QList<QWidget*> expected;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            expected << input->cell(row, column);
    expected << doneButton(input) << input->cell(0, 0);
    QCOMPARE(visited, expected);

    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 10; ++column) {
            const bool inOrder = row < 3 && column < 3;
            QCOMPARE(input->cell(row, column)->isVisibleTo(input), inOrder);
            QCOMPARE(input->cell(row, column)->isEnabled(), inOrder);
        }
    }
}

void EntryWindowTest::openingShowsTheMatrixWithZerosAtNewPositions()
{
    MatrixD = fromRows({{1.5, 2}, {-3, 1e20}});
    QStringList texts;
    QList<int> carets;
    QString selectedFirst;
    openAndDo(3, [&](frmInput* window) {
        selectedFirst = window->cell(0, 0)->selectedText();
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column) {
                texts << window->cell(row, column)->text();
                carets << window->cell(row, column)->cursorPosition();
            }
        window->close();
    });
    QCOMPARE(texts, QStringList({"1,5", "2", "0", "-3", "1E+20", "0", "0", "0", "0"}));
    QCOMPARE(carets, QList<int>(9, 0));
    QCOMPARE(selectedFirst, QStringLiteral("1,5"));      // typing replaces it
    QCOMPARE(MatrixD, fromRows({{1.5, 2}, {-3, 1e20}})); // opening alone changes nothing
}

void EntryWindowTest::doneTransfersRowsAndColumns()
{
    openAndDo(3, [](frmInput* window) {
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                window->cell(row, column)->setText(QString::number(3 * row + column + 1));
        pressDone(window);
    });
    QCOMPARE(MatrixD, fromRows({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
    QVERIFY(!input.isNull());
    QVERIFY(!input->isVisible());
}

void EntryWindowTest::doneReadsRegionalNumbers()
{
    openAndDo(2, [](frmInput* window) {
        window->cell(0, 0)->setText(QStringLiteral("1,5"));
        window->cell(0, 1)->setText(QStringLiteral("1.000,5"));
        window->cell(1, 0)->setText(QStringLiteral(" 7 "));
        window->cell(1, 1)->setText(QStringLiteral("-2E3"));
        pressDone(window);
    });
    QCOMPARE(MatrixD, fromRows({{1.5, 1000.5}, {7, -2000}}));
}

void EntryWindowTest::reopeningAndDoneKeepsExactValues()
{
    // The cells show 15 digits; an untouched cell must not round the stored value to them.
    MatrixD = fromRows({{1.0 / 3, 2}, {3, 4}});
    openAndDo(2, pressDone);
    QCOMPARE(MatrixD(0, 0), 1.0 / 3);
}

void EntryWindowTest::badCellKeepsTheWindowOpen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << ""
                           << "leer";
    QTest::newRow("not a number") << "abc"
                                  << "keine gültige Zahl";
    QTest::newRow("decimal point on a German system") << "1.5"
                                                      << "keine gültige Zahl";
    QTest::newRow("beyond the double range") << "1E999"
                                             << "außerhalb";
}

void EntryWindowTest::badCellKeepsTheWindowOpen()
{
    QFETCH(QString, text);
    QFETCH(QString, reason);
    const Matrix before = MatrixD;
    QString message;
    bool stillShown = false;
    QWidget* focus = nullptr;
    QString selected;
    openAndDo(3, [&](frmInput* window) {
        window->cell(0, 0)->setText(QStringLiteral("5"));
        window->cell(1, 2)->setText(text);
        dismissNextMessage(message);
        pressDone(window);
        stillShown = window->isVisible();
        focus = window->focusWidget();
        selected = window->cell(1, 2)->selectedText();
        window->close();
    });
    QVERIFY(stillShown);
    QVERIFY2(message.contains(QStringLiteral("Zeile 2, Spalte 3")), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    QCOMPARE(focus, input.isNull() ? nullptr : static_cast<QWidget*>(input->cell(1, 2)));
    QCOMPARE(selected, text);
    QCOMPARE(MatrixD, before);
}

void EntryWindowTest::enterAndEscapeNeitherPressDoneNorClose()
{
    bool stillShown = false;
    openAndDo(2, [&](frmInput* window) {
        window->cell(0, 0)->setText(QStringLiteral("9"));
        doneButton(window)->setFocus();
        QTest::keyClick(doneButton(window), Qt::Key_Return);
        QTest::keyClick(doneButton(window), Qt::Key_Escape);
        stillShown = window->isVisible();
        pressAltF(window);
    });
    QVERIFY(stillShown);
    QTRY_COMPARE(MatrixD(0, 0), 9.0);
}

void EntryWindowTest::closeBoxCancelsAndTheNextOpeningRebuilds()
{
    MatrixD = fromRows({{1, 2}, {3, 4}});
    openAndDo(2, [](frmInput* window) {
        window->cell(0, 0)->setText(QStringLiteral("8"));
        window->move(window->pos() + QPoint(40, 30));
        window->close();
    });
    QCOMPARE(MatrixD, fromRows({{1, 2}, {3, 4}}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(input.isNull());

    QString shown;
    QPoint centre;
    openAndDo(2, [&](frmInput* window) {
        shown = window->cell(0, 0)->text();
        centre = window->frameGeometry().center();
        pressDone(window);
    });
    QCOMPARE(shown, QStringLiteral("1"));
    const QPoint screenCentre = input->screen()->availableGeometry().center();
    // Centred again (the moved window was 70 pixels off); the frame may shift it a little.
    QVERIFY((centre - screenCentre).manhattanLength() <= 8);
}

void EntryWindowTest::focusSelectsFromTheCaret_data()
{
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("selected");
    QTest::newRow("caret after the first digit") << 1 << "23";
    QTest::newRow("caret at the start") << 0 << "123";
    QTest::newRow("caret at the end") << 3 << "";
}

void EntryWindowTest::focusSelectsFromTheCaret()
{
    QFETCH(int, caret);
    QString selected;
    openAndDo(2, [&](frmInput* window) {
        Cell* target = window->cell(0, 1);
        target->setText(QStringLiteral("123"));
        target->setCursorPosition(caret);
        window->cell(0, 0)->setFocus();
        QTest::keyClick(window->cell(0, 0), Qt::Key_Tab);
        selected = target->hasFocus() ? target->selectedText() : QStringLiteral("<no focus>");
        pressDone(window);
    });
    QTEST(selected, "selected");
}

void EntryWindowTest::orderOutsideTheGridIsRefused_data()
{
    QTest::addColumn<QString>("order");
    QTest::newRow("11") << "11";
    QTest::newRow("0") << "0";
    QTest::newRow("negative") << "-3";
}

void EntryWindowTest::orderOutsideTheGridIsRefused()
{
    QFETCH(QString, order);
    frmMain window(german);
    window.show();
    auto* txtEingabe = window.findChild<QLineEdit*>(QStringLiteral("txtEingabe"));
    txtEingabe->setText(order);
    QString message;
    dismissNextMessage(message);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btnEingabe")), Qt::LeftButton);
    QVERIFY2(message.contains(QStringLiteral("zwischen 1 und 10")), qPrintable(message));
    QVERIFY(window.findChild<frmInput*>() == nullptr);
    QCOMPARE(MatrixD, Matrix(2, 2));
    QCOMPARE(window.focusWidget(), txtEingabe);
    QCOMPARE(txtEingabe->selectedText(), order);
}

void EntryWindowTest::wholeRoadFromOrderToResult()
{
    frmMain window(german);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(window.findChild<UpDown*>()->upButton(), Qt::LeftButton);

    whenModalShows<frmInput>([](frmInput* entry) {
        // Keys go to the active window, as they do for a person; the first cell has the focus.
        if (!becomesActive(entry)) {
            entry->close();
            QFAIL("the entry window did not become active");
        }
        for (const char key : std::string_view("1\t2\t3\t4\t5\t6\t7\t8\t10")) {
            if (key == '\t')
                QTest::keyClick(entry->focusWidget(), Qt::Key_Tab);
            else
                QTest::keyClick(entry->focusWidget(), key);
        }
        pressAltF(entry);
    });
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btnEingabe")), Qt::LeftButton);
    QCOMPARE(MatrixD, fromRows({{1, 2, 3}, {4, 5, 6}, {7, 8, 10}}));

    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btnStart0")), Qt::LeftButton);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblAusgabe"))->text(),
             QStringLiteral("det(D) = -3"));
}

QTEST_MAIN(EntryWindowTest)
#include "EntryWindowTest.moc"
