#include "Cell.h"
#include "Kalvoran.h"
#include "ModalHelper.h"
#include "NumberText.h"
#include "frmInput.h"
#include "frmMain.h"

#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <memory>

using Kalvoran::LastIndex;
using Kalvoran::Matrix;
using Kalvoran::MatrixD;
using namespace Qt::StringLiterals;

namespace {

const NumberText::Separators german = NumberText::separatorsOf(QLocale(QLocale::German));
// 10, written in more characters than a text box holds by default.
const QString worthTen = "0," + QString(40000, u'0') + "1E40002";

QPushButton* done(const QWidget* window)
{
    return window->findChild<QPushButton*>("cmdFertig");
}
void pressDone(frmInput* window)
{
    QTest::mouseClick(done(window), Qt::LeftButton);
}

// Keys reach the active window only; the widgets learn of it a little after the platform.
bool becomesActive(QWidget* window)
{
    return QTest::qWaitFor([window] { return window->isActiveWindow(); }, 5000);
}

Matrix square(std::initializer_list<double> values)
{
    const auto n = static_cast<int>(std::lround(std::sqrt(values.size())));
    Matrix m(n, n);
    for (int i = 0; i < n * n; ++i)
        m(i / n, i % n) = std::data(values)[i];
    return m;
}

// Presses the entry button of the shown main window with the order text; runs `inside` in the
// entry window, if it opens, and returns the messages shown.
QStringList pressEntryButton(frmMain& window, const QString& order,
                             const std::function<void(frmInput*)>& inside)
{
    window.findChild<QLineEdit*>(QStringLiteral("txtEingabe"))->setText(order);
    auto* open = window.findChild<QPushButton*>(QStringLiteral("btnEingabe"));
    return whileShowing<frmInput>([open] { QTest::mouseClick(open, Qt::LeftButton); }, inside);
}

} // namespace

class EntryWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> owner;
    QPointer<frmInput> input;

    // Opens the entry window for an order and runs `inside` in its modal showing; returns the
    // texts of the messages shown meanwhile.
    QStringList openAndDo(int order, const std::function<void(frmInput*)>& inside)
    {
        LastIndex = static_cast<std::int16_t>(order - 1);
        if (input.isNull())
            input = new frmInput(german, owner.get());
        return whileShowing<frmInput>([this] { input->openForOrder(LastIndex); }, inside);
    }

private slots:
    void init()
    {
        owner = std::make_unique<QWidget>();
        MatrixD.resize(2, 2);
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
        QString selected;
        openAndDo(earlier, [&](frmInput* window) {
            window->cell(0, 1)->setText(QStringLiteral("123"));
            window->cell(0, 1)->setCursorPosition(1); // a visit selects from the caret on
            QTest::keyClick(window->cell(0, 0), Qt::Key_Tab);
            selected = window->cell(0, 1)->selectedText();
            pressDone(window);
        });
        QWidgetList visited;
        openAndDo(order, [&](frmInput* window) {
            for (int i = 0; i < order * order + 2; ++i) {
                visited << window->focusWidget();
                QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
            }
            pressDone(window);
        });
        QCOMPARE(selected, QStringLiteral("23"));
        QTEST(input->size(), "client");
        QTEST(done(input)->geometry(), "button");
        QWidgetList expected; // row by row, then Done, then round again
        for (int k = 0; k < 10; ++k)
            for (int h = 0; h < 10; ++h) {
                Cell* cell = input->cell(k, h);
                QCOMPARE(cell->toolTip(), QStringLiteral("Geben Sie hier ihre Matrix ein"));
                QCOMPARE(cell->accessibleName(),
                         QStringLiteral("Zeile %1, Spalte %2").arg(k + 1).arg(h + 1));
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

    void openingShowsTheMatrixAndDoneTakesItBack()
    {
        MatrixD = square({1.0 / 3, 2, -3, 1e20});
        QStringList shown;
        openAndDo(3, [&](frmInput* window) {
            for (int i = 0; i < 9; ++i)
                shown << window->cell(i / 3, i % 3)->text();
            shown << window->cell(0, 0)->selectedText(); // typing replaces it
            window->cell(2, 1)->setText(QStringLiteral("1.000,5"));
            window->cell(2, 2)->setText(worthTen); // no text is cut, however long
            pressDone(window);
        });
        QCOMPARE(shown, QStringList({"0,333333333333333", "2", "0", "-3", "1E+20", "0", "0", "0",
                                     "0", "0,333333333333333"}));
        // Untouched cells give back the exact values, not their 15-digit texts.
        QCOMPARE(MatrixD, square({1.0 / 3, 2, 0, -3, 1e20, 0, 0, 1000.5, 10}));
        QVERIFY(!input.isNull() && !input->isVisible());
    }

    void badCellKeepsTheWindowOpen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QString() << "leer";
        QTest::newRow("decimal point on a German system") << u"1.5"_s << "keine gültige Zahl";
        QTest::newRow("beyond the double range") << u"1E999"_s << "„1E999“ liegt außerhalb";
        QTest::newRow("blanks around the text are not quoted") << u" 1.5 "_s << "„1.5“ ist keine";
        QTest::newRow("40 characters are quoted whole")
            << QString(40, u'x') << "„" + QString(40, u'x') + "“ ist keine";
        QTest::newRow("a long text is quoted in part")
            << QString(100000, u'x') << "„" + QString(40, u'x') + "…“ ist keine";
        QTest::newRow("the cut keeps a character beyond 16 bits whole")
            << QString(39, u'x') + u"\U0001F600yyy"_s << "„" + QString(39, u'x') + "…“ ist keine";
    }
    void badCellKeepsTheWindowOpen()
    {
        QFETCH(QString, text);
        const Matrix before = MatrixD;
        QString selected;
        bool stillShown = false;
        const QStringList messages = openAndDo(3, [&](frmInput* window) {
            window->cell(0, 0)->setText(QStringLiteral("5"));
            window->cell(1, 2)->setText(text);
            pressDone(window);
            stillShown = window->isVisible() && window->focusWidget() == window->cell(1, 2);
            selected = window->cell(1, 2)->selectedText();
            window->close();
        });
        QVERIFY(stillShown);
        QCOMPARE(selected, text);
        QCOMPARE(messages.size(), 1);
        const QString& message = messages.front();
        QVERIFY2(message.contains(QStringLiteral("Zeile 2, Spalte 3")), qPrintable(message));
        QFETCH(QString, reason);
        QVERIFY2(message.contains(reason), qPrintable(message));
        QCOMPARE(MatrixD, before);
    }

    void closeBoxRebuildsTheWindowAndDoneKeepsIt()
    {
        MatrixD = square({1, 2, 3, 4});
        openAndDo(2, [](frmInput* window) {
            window->cell(0, 0)->setText(QStringLiteral("8"));
            window->move(window->pos() + QPoint(40, 30));
            window->close();
        });
        QCOMPARE(MatrixD, square({1, 2, 3, 4})); // the close box cancels
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(input.isNull());

        QPoint offCentre;
        QPoint moved;
        openAndDo(2, [&](frmInput* window) {
            // Built anew and centred again; the frame may shift it a little.
            offCentre =
                window->frameGeometry().center() - window->screen()->availableGeometry().center();
            window->cell(0, 0)->setText(QStringLiteral("9"));
            window->move(window->pos() + QPoint(40, 30));
            moved = window->pos();
            if (becomesActive(window))
                QTest::keyClick(window, Qt::Key_F, Qt::AltModifier);
            if (!QTest::qWaitFor([window] { return !window->isVisible(); }, 2000))
                window->close();
        });
        QVERIFY(offCentre.manhattanLength() <= 8);
        QCOMPARE(MatrixD, square({9, 2, 3, 4}));
        // Done keeps the window, and the next opening shows it where the user put it.
        openAndDo(2, [](frmInput* window) { window->hide(); });
        QCOMPARE(input->pos(), moved);
    }

    void entryButtonLeadsToTheResult()
    {
        frmMain window(german);
        window.show();
        QVERIFY(becomesActive(&window));
        const QStringList messages = pressEntryButton(window, "3", [](frmInput* entry) {
            if (becomesActive(entry)) // "\t" moves on as a person would
                for (const QChar key : QStringLiteral("1\t2\t3\t4\t5\t6\t7\t8\t10"))
                    QTest::keyClick(entry->focusWidget(),
                                    key == u'\t' ? Qt::Key_Tab : Qt::Key(key.unicode()));
            pressDone(entry);
        });
        QVERIFY(messages.isEmpty());
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btnStart0")),
                          Qt::LeftButton);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblAusgabe"))->text(),
                 QStringLiteral("det(D) = -3"));
    }

    void entryButtonKeepsToOrdersOneToTen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("opens");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("10") << "10" << true;
        QTest::newRow("11") << "11" << false;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("-3") << "-3" << false;
    }
    void entryButtonKeepsToOrdersOneToTen()
    {
        QFETCH(QString, text);
        frmMain window(german);
        window.show();
        QVERIFY(becomesActive(&window));
        bool opened = false;
        const QStringList messages = pressEntryButton(window, text, [&opened](frmInput* entry) {
            opened = true;
            pressDone(entry);
        });
        QTEST(opened, "opens");
        if (opened) {
            QVERIFY(messages.isEmpty());
            return;
        }
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.front().contains(QStringLiteral("zwischen 1 und 10")),
                 qPrintable(messages.front()));
        auto* order = window.findChild<QLineEdit*>(QStringLiteral("txtEingabe"));
        QCOMPARE(window.focusWidget(), order);
        QCOMPARE(order->selectedText(), text);
    }
};

QTEST_MAIN(EntryWindowTest)
#include "EntryWindowTest.moc"
