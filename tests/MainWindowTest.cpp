#include "Kalvoran.h"
#include "ModalHelper.h"
#include "NumberText.h"
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

Q_DECLARE_METATYPE(Kalvoran::Matrix)

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startUpState();
    void arrowsStepTheOrderWithinItsRange_data();
    void arrowsStepTheOrderWithinItsRange();
    void upAndDownKeysStepTheSpinControl();
    void typedOrderSetsLastIndex_data();
    void typedOrderSetsLastIndex();
    void invalidOrderTextKeepsLastIndexAndIsMarked_data();
    void invalidOrderTextKeepsLastIndexAndIsMarked();
    void arrowReplacesATypedOrder();
    void choosingAnOrderLeavesMatrixAndResultAlone();
    void computeShowsTheNumberText_data();
    void computeShowsTheNumberText();
    void overflowShowsANoticeAndRestoresThePointer();
    void sharedAccessKeyMovesFocusWithoutPressing();
    void exitClosesEveryWindow_data();
    void exitClosesEveryWindow();

private:
    template <class T> T* child(const char* name) const
    {
        auto* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (widget == nullptr)
            qFatal("no control %s", name);
        return widget;
    }
    QLineEdit* txtEingabe() const { return child<QLineEdit>("txtEingabe"); }
    UpDown* udEingabe() const { return child<UpDown>("udEingabe"); }
    QLabel* lblAusgabe() const { return child<QLabel>("lblAusgabe"); }
    QPushButton* compute() const { return child<QPushButton>("btnStart0"); }
    void typeOrder(const QString& text) const
    {
        txtEingabe()->selectAll();
        QTest::keyClicks(txtEingabe(), text);
    }

    std::unique_ptr<frmMain> window;
};

void MainWindowTest::init()
{
    MatrixD = Matrix();
    LastIndex = 0;
    window = std::make_unique<frmMain>(NumberText::separatorsOf(QLocale(QLocale::German)));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void MainWindowTest::cleanup()
{
    window.reset();
}

void MainWindowTest::startUpState()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Kalvora"));
    QCOMPARE(window->size(), QSize(401, 242));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QCOMPARE(txtEingabe()->text(), QStringLiteral("2"));
    QCOMPARE(udEingabe()->value(), 2);
    QCOMPARE(LastIndex, 1);
    QCOMPARE(MatrixD, Matrix(2, 2));
    QVERIFY(lblAusgabe()->text().isEmpty());
    QCOMPARE(window->focusWidget(), txtEingabe());
}

void MainWindowTest::arrowsStepTheOrderWithinItsRange_data()
{
    QTest::addColumn<int>("upClicks");
    QTest::addColumn<int>("downClicks");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lastIndex");
    QTest::newRow("one up") << 1 << 0 << "3" << 2;
    QTest::newRow("up to the limit") << 8 << 0 << "10" << 9;
    QTest::newRow("stops at 10") << 12 << 0 << "10" << 9;
    QTest::newRow("down to 1") << 0 << 1 << "1" << 0;
    QTest::newRow("stops at 1") << 0 << 4 << "1" << 0;
    QTest::newRow("up then down") << 3 << 2 << "3" << 2;
}

void MainWindowTest::arrowsStepTheOrderWithinItsRange()
{
    QFETCH(int, upClicks);
    QFETCH(int, downClicks);
    for (int i = 0; i < upClicks; ++i)
        QTest::mouseClick(udEingabe()->upButton(), Qt::LeftButton);
    for (int i = 0; i < downClicks; ++i)
        QTest::mouseClick(udEingabe()->downButton(), Qt::LeftButton);
    QTEST(txtEingabe()->text(), "text");
    QTEST(static_cast<int>(LastIndex), "lastIndex");
}

void MainWindowTest::upAndDownKeysStepTheSpinControl()
{
    QSignalSpy changes(udEingabe(), &UpDown::changed);
    udEingabe()->setFocus();
    QTest::keyClick(udEingabe(), Qt::Key_Up);
    QTest::keyClick(udEingabe(), Qt::Key_Up);
    QTest::keyClick(udEingabe(), Qt::Key_Down);
    QCOMPARE(changes.count(), 3);
    QCOMPARE(txtEingabe()->text(), QStringLiteral("3"));
    QCOMPARE(LastIndex, 2);
}

void MainWindowTest::typedOrderSetsLastIndex_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lastIndex");
    QTest::newRow("5") << "5" << 4;
    QTest::newRow("half rounds to even, down") << "2,5" << 2;
    QTest::newRow("half rounds to even, down again") << "3,5" << 2;
    QTest::newRow("half rounds to even, up") << "4,5" << 4;
    QTest::newRow("1") << "1" << 0;
    QTest::newRow("0 is taken as it is") << "0" << -1;
    QTest::newRow("25 is taken as it is") << "25" << 24;
    QTest::newRow("largest that fits") << "32768" << 32767;
    QTest::newRow("blanks around") << " 7 " << 6;
    QTest::newRow("exponent") << "1E1" << 9;
}

void MainWindowTest::typedOrderSetsLastIndex()
{
    QFETCH(QString, text);
    typeOrder(text);
    QTEST(static_cast<int>(LastIndex), "lastIndex");
    QVERIFY(txtEingabe()->toolTip().isEmpty());
    QCOMPARE(udEingabe()->value(), 2);
}

void MainWindowTest::invalidOrderTextKeepsLastIndexAndIsMarked_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("letters") << "abc";
    QTest::newRow("decimal point on a German system") << "3.5";
    QTest::newRow("beyond 16 bits") << "32769";
    QTest::newRow("far beyond") << "1E300";
}

void MainWindowTest::invalidOrderTextKeepsLastIndexAndIsMarked()
{
    QFETCH(QString, text);
    const QColor normal = txtEingabe()->palette().color(QPalette::Text);
    typeOrder(QStringLiteral("4"));
    txtEingabe()->setText(text); // at once, as a paste would
    QCOMPARE(LastIndex, 3);
    QVERIFY(txtEingabe()->palette().color(QPalette::Text) != normal);
    QVERIFY(!txtEingabe()->toolTip().isEmpty());

    typeOrder(QStringLiteral("6"));
    QCOMPARE(LastIndex, 5);
    QCOMPARE(txtEingabe()->palette().color(QPalette::Text), normal);
    QVERIFY(txtEingabe()->toolTip().isEmpty());
}

void MainWindowTest::arrowReplacesATypedOrder()
{
    typeOrder(QStringLiteral("5"));
    QCOMPARE(LastIndex, 4);
    QTest::mouseClick(udEingabe()->upButton(), Qt::LeftButton);
    QCOMPARE(txtEingabe()->text(), QStringLiteral("3"));
    QCOMPARE(LastIndex, 2);
}

void MainWindowTest::choosingAnOrderLeavesMatrixAndResultAlone()
{
    MatrixD(0, 0) = 1;
    MatrixD(1, 1) = 2;
    QTest::mouseClick(compute(), Qt::LeftButton);
    QCOMPARE(lblAusgabe()->text(), QStringLiteral("det(D) = 2"));
    const Matrix before = MatrixD;

    QTest::mouseClick(udEingabe()->upButton(), Qt::LeftButton);
    typeOrder(QStringLiteral("7"));
    QCOMPARE(MatrixD, before);
    QCOMPARE(lblAusgabe()->text(), QStringLiteral("det(D) = 2"));

    // The compute command evaluates the matrix, not the chosen order.
    QTest::mouseClick(compute(), Qt::LeftButton);
    QCOMPARE(lblAusgabe()->text(), QStringLiteral("det(D) = 2"));
}

void MainWindowTest::computeShowsTheNumberText_data()
{
    QTest::addColumn<Matrix>("matrix");
    QTest::addColumn<QString>("caption");
    const auto twoByTwo = [](double a, double b, double c, double d) {
        Matrix m(2, 2);
        m(0, 0) = a;
        m(0, 1) = b;
        m(1, 0) = c;
        m(1, 1) = d;
        return m;
    };
    QTest::newRow("start-up matrix") << Matrix() << "det(D) = 0";
    QTest::newRow("rows (1, 2), (3, 4)") << twoByTwo(1, 2, 3, 4) << "det(D) = -2";
    QTest::newRow("one half, German") << twoByTwo(1, 0, 0, 0.5) << "det(D) = 0,5";
    QTest::newRow("large") << twoByTwo(123456789012345678.0, 0, 0, 1)
                           << "det(D) = 1,23456789012346E+17";
    QTest::newRow("negative zero") << twoByTwo(-1, 0, 0, 0) << "det(D) = 0";
}

void MainWindowTest::computeShowsTheNumberText()
{
    QFETCH(Matrix, matrix);
    if (matrix.rows() > 0)
        MatrixD = matrix;
    QTest::mouseClick(compute(), Qt::LeftButton);
    QTEST(lblAusgabe()->text(), "caption");
    QTEST(lblAusgabe()->accessibleDescription(), "caption"); // what a screen reader reads out
}

void MainWindowTest::overflowShowsANoticeAndRestoresThePointer()
{
    QTest::mouseClick(compute(), Qt::LeftButton);
    MatrixD(0, 0) = 1e200;
    MatrixD(1, 1) = 1e200;
    const Matrix before = MatrixD;
    window->setCursor(Qt::CrossCursor);

    QTest::mouseClick(compute(), Qt::LeftButton);
    const QString caption = lblAusgabe()->text();
    QVERIFY(caption.contains(QStringLiteral("Überlauf")));
    QVERIFY(!caption.contains(QStringLiteral("det(D) = 0")));
    QVERIFY(!caption.contains(QStringLiteral("inf"), Qt::CaseInsensitive));
    QVERIFY(!caption.contains(QStringLiteral("nan"), Qt::CaseInsensitive));
    QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(MatrixD, before);

    // The program stays usable.
    MatrixD(1, 1) = 2;
    QTest::mouseClick(compute(), Qt::LeftButton);
    QCOMPARE(lblAusgabe()->text(), QStringLiteral("det(D) = 2E+200"));
}

void MainWindowTest::sharedAccessKeyMovesFocusWithoutPressing()
{
    window->activateWindow();
    QVERIFY(QTest::qWaitFor([this] { return window->isActiveWindow(); }, 5000));
    auto* eingabe = child<QPushButton>("btnEingabe");
    auto* exit = child<QPushButton>("btnStart1");
    QSignalSpy eingabeClicks(eingabe, &QPushButton::clicked);
    QSignalSpy exitClicks(exit, &QPushButton::clicked);

    QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
    QWidget* first = QApplication::focusWidget();
    QVERIFY(first == eingabe || first == exit);
    QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
    QWidget* second = QApplication::focusWidget();
    QVERIFY(second == eingabe || second == exit);
    QVERIFY(second != first);

    QCOMPARE(eingabeClicks.count(), 0);
    QCOMPARE(exitClicks.count(), 0);
    QVERIFY(window->isVisible());

    QTest::keyClick(window.get(), Qt::Key_B, Qt::AltModifier);
    QTRY_COMPARE(lblAusgabe()->text(), QStringLiteral("det(D) = 0"));
}

void MainWindowTest::exitClosesEveryWindow_data()
{
    QTest::addColumn<bool>("byExitButton");
    QTest::newRow("exit button") << true;
    QTest::newRow("close box") << false;
}

void MainWindowTest::exitClosesEveryWindow()
{
    QFETCH(bool, byExitButton);
    // Leave a hidden entry window behind: open it and press Done.
    whenModalShows<frmInput>([](frmInput* input) {
        QTest::mouseClick(input->findChild<QPushButton*>("cmdFertig"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>("btnEingabe"), Qt::LeftButton);
    auto* input = window->findChild<frmInput*>();
    QVERIFY(input != nullptr);
    QVERIFY(!input->isVisible());

    if (byExitButton)
        QTest::mouseClick(child<QPushButton>("btnStart1"), Qt::LeftButton);
    else
        window->close();
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
