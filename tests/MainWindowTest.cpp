#include "Kalvoran.h"
#include "ModalHelper.h"
#include "NumberText.h"
#include "ProgramIcon.h"
#include "UpDown.h"
#include "frmInput.h"
#include "frmMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <memory>

using Kalvoran::LastIndex;
using Kalvoran::Matrix;
using Kalvoran::MatrixD;

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<frmMain> window;

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
        QCOMPARE(order()->text(), QStringLiteral("2"));
        QCOMPARE(spin()->value(), 2);
        QCOMPARE(LastIndex, 1);
        QCOMPARE(MatrixD, Matrix(2, 2));
        QVERIFY(result().isEmpty());
        QCOMPARE(window->focusWidget(), order());
    }

    void programIconIsLinkedInEverySize()
    {
        for (const int size : ProgramIcon::sizes)
            QCOMPARE(ProgramIcon::icon().pixmap(QSize(size, size)).size(), QSize(size, size));
    }

    void arrowsStopAtTheLimits()
    {
        for (int i = 0; i < 12; ++i)
            QTest::mouseClick(spin()->upButton(), Qt::LeftButton);
        QCOMPARE(order()->text(), QStringLiteral("10"));
        QCOMPARE(LastIndex, 9);
        spin()->setFocus();
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(spin(), Qt::Key_Down);
        QCOMPARE(order()->text(), QStringLiteral("1"));
        QCOMPARE(LastIndex, 0);
    }

    void typedOrderSetsLastIndex_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lastIndex");
        QTest::newRow("half to even, down") << "2,5" << 2;
        QTest::newRow("half to even, also down") << "3,5" << 2;
        QTest::newRow("half to even, up") << "4,5" << 4;
        QTest::newRow("beyond the grid, taken as it is") << "25" << 24;
        QTest::newRow("largest that fits") << "32768" << 32767;
    }
    void typedOrderSetsLastIndex()
    {
        order()->selectAll();
        QFETCH(QString, text);
        QTest::keyClicks(order(), text);
        QTEST(static_cast<int>(LastIndex), "lastIndex");
        QTest::mouseClick(spin()->upButton(), Qt::LeftButton); // the spin keeps its own value
        QCOMPARE(order()->text(), QStringLiteral("3"));
    }

    void invalidOrderTextKeepsLastIndexAndIsMarked_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("decimal point on a German system") << "3.5";
        QTest::newRow("beyond 16 bits") << "32769";
    }
    void invalidOrderTextKeepsLastIndexAndIsMarked()
    {
        QFETCH(QString, text);
        const QColor normal = order()->palette().color(QPalette::Text);
        order()->setText(QStringLiteral("4"));
        order()->setText(text);
        QCOMPARE(LastIndex, 3);
        QVERIFY(order()->palette().color(QPalette::Text) != normal);
        order()->setText(QStringLiteral("6"));
        QCOMPARE(LastIndex, 5);
        QCOMPARE(order()->palette().color(QPalette::Text), normal);
    }

    void computeEvaluatesTheMatrixNotTheChosenOrder()
    {
        click("btnStart0");
        QCOMPARE(result(), QStringLiteral("det(D) = 0"));
        MatrixD(0, 0) = 0.5;
        MatrixD(1, 1) = 1;
        QTest::mouseClick(spin()->upButton(), Qt::LeftButton);
        QCOMPARE(MatrixD.rows(), 2);
        QCOMPARE(result(), QStringLiteral("det(D) = 0")); // until the next compute
        click("btnStart0");
        QCOMPARE(result(), QStringLiteral("det(D) = 0,5"));
        QCOMPARE(child<QLabel>("lblAusgabe")->accessibleDescription(), result());
    }

    void overflowShowsANoticeAndRestoresThePointer()
    {
        MatrixD(0, 0) = MatrixD(1, 1) = 1e200;
        window->setCursor(Qt::CrossCursor);
        click("btnStart0");
        QCOMPARE(result(), QStringLiteral("Überlauf!"));
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
        MatrixD(1, 1) = 2; // the program stays usable
        click("btnStart0");
        QCOMPARE(result(), QStringLiteral("det(D) = 2E+200"));
    }

    void sharedAccessKeyMovesFocusWithoutPressing()
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitFor([this] { return window->isActiveWindow(); }, 5000));
        QSignalSpy open(child<QPushButton>("btnEingabe"), &QPushButton::clicked);
        QSignalSpy exit(child<QPushButton>("btnStart1"), &QPushButton::clicked);
        QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
        QWidget* first = QApplication::focusWidget();
        QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
        QCOMPARE(
            QSet<QWidget*>({first, QApplication::focusWidget()}),
            QSet<QWidget*>({child<QPushButton>("btnEingabe"), child<QPushButton>("btnStart1")}));
        QCOMPARE(open.count() + exit.count(), 0);
    }

    void exitClosesEveryWindow_data()
    {
        QTest::addColumn<bool>("byExitButton");
        QTest::newRow("exit button") << true;
        QTest::newRow("close box") << false;
    }
    void exitClosesEveryWindow()
    {
        whileShowing<frmInput>([this] { click("btnEingabe"); },
                               [](frmInput* input) { input->hide(); }); // as Done leaves it
        QVERIFY(window->findChild<frmInput*>() != nullptr);
        QFETCH(bool, byExitButton);
        byExitButton ? click("btnStart1") : (void)window->close();
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
