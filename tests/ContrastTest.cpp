#include "Cell.h"
#include "Kalvoran.h"
#include "ModalHelper.h"
#include "SchemeColours.h"
#include "frmInput.h"
#include "frmMain.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>

using SchemeColours::contrast;

namespace {

// A scheme from its window and button colour, its document colour and its one text colour, which
// selected text is written in too.
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

// A band of a background of its own stands out from the window at this contrast; the standard
// scheme's white on light grey is 1.15:1.
constexpr double bandContrast = 1.1;

// A text as it is seen: the colour of its pixels and the background under them.
struct Seen {
    int pixels = 0;
    QColor text;
    QColor background;
    [[nodiscard]] double ratio() const { return pixels == 0 ? 1.0 : contrast(text, background); }
};

QImage shot(QWidget* window)
{
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The rendering is made at a whole multiple of the window's size.
QColor pixelAt(const QImage& image, QPoint point)
{
    return image.pixel(point * qRound(image.devicePixelRatio()));
}

QRect pixelsOf(const QWidget* widget, const QImage& image)
{
    const int scale = qRound(image.devicePixelRatio());
    return {widget->mapTo(widget->window(), QPoint()) * scale, widget->size() * scale};
}

// Renders the widget's window once as it is and once with the widget's text colours transparent:
// the pixels of the widget that differ are its text's, the second rendering holds the background
// under each of them. Glyph edges blend into the background, so the text's colour is that of its
// pixel that stands out most. Pixels under child widgets belong to those.
Seen seen(QWidget* widget)
{
    QWidget* window = widget->window();
    const QImage shown = shot(window);
    const QPalette own = widget->palette();
    const bool ownPalette = widget->testAttribute(Qt::WA_SetPalette);
    QPalette noText = own;
    for (const auto role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        noText.setColor(role, Qt::transparent);
    widget->setPalette(noText);
    const QImage bare = shot(window);
    widget->setPalette(ownPalette ? own : QPalette());

    QRegion region(pixelsOf(widget, shown));
    for (const QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible())
            region -= pixelsOf(child, shown);
    }
    Seen text;
    for (const QRect& rect : region) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor painted = shown.pixel(x, y);
                const QColor under = bare.pixel(x, y);
                if (painted == under)
                    continue;
                if (text.pixels++ == 0 || contrast(painted, under) > text.ratio()) {
                    text.text = painted;
                    text.background = under;
                }
            }
        }
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
    int texts = 0;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisible() || textOf(widget).isEmpty())
            continue;
        ++texts;
        const Seen text = seen(widget);
        QVERIFY2(text.pixels > 0 && text.ratio() >= minimum,
                 qPrintable(QStringLiteral("%1 \"%2\": %3 on %4, %5:1")
                                .arg(widget->objectName(), textOf(widget), text.text.name(),
                                     text.background.name())
                                .arg(text.ratio(), 0, 'f', 2)));
    }
    QVERIFY(texts > 0);
}

} // namespace

class ContrastTest : public QObject {
    Q_OBJECT

    std::unique_ptr<frmMain> window;

    template <class T> T* child(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void setOrderText(const char* text) const
    {
        child<QLineEdit>("txtEingabe")->setText(QString::fromLatin1(text));
    }

private slots:
    void init()
    {
        QApplication::setPalette(QApplication::style()->standardPalette());
        Kalvoran::MatrixD = Kalvoran::Matrix(2, 2);
        Kalvoran::MatrixD(0, 0) = 1.5;
        Kalvoran::MatrixD(1, 1) = -2;
        window = std::make_unique<frmMain>(separatorsOf("de_DE"));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTest::mouseClick(child<QAbstractButton>("btnStart0"), Qt::LeftButton);
    }
    void cleanup() { window.reset(); }

    void contrastRatio()
    {
        // Black on white, equal luminance, a grey just at the minimum, and blue that weighs least.
        const std::tuple<QRgb, QRgb, double> rows[] = {{0x000000, 0xffffff, 21.0},
                                                       {0x777777, 0x777777, 1.0},
                                                       {0xffffff, 0x767676, 4.54},
                                                       {0x0000ff, 0x000000, 2.44}};
        for (const auto& [first, second, ratio] : rows)
            QCOMPARE(std::round(contrast(first, second) * 100) / 100, ratio);
    }

    // The window is built in the standard scheme; each scheme is switched to while it runs.
    void textsAreLegible_data()
    {
        QTest::addColumn<QPalette>("scheme");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<bool>("bandStandsOut");
        QTest::newRow("light") << QApplication::style()->standardPalette()
                               << SchemeColours::minimumContrast << true;
        // What Qt's GTK theme gives for GTK's Adwaita in its dark variant.
        QTest::newRow("dark") << schemePalette(0x323232, 0x242424, 0xf0f0f0)
                              << SchemeColours::minimumContrast << true;
        // Black and white are 21:1, black on a yellow selection 19.6:1.
        QPalette high = schemePalette(0x000000, 0x000000, 0xffffff);
        high.setColor(QPalette::Highlight, QRgb{0xffff00});
        high.setColor(QPalette::HighlightedText, Qt::black);
        QTest::newRow("high contrast") << high << 19.0 << false;
    }
    void textsAreLegible()
    {
        QFETCH(QPalette, scheme);
        QFETCH(double, minimum);
        const auto openEntryWindow = [this] {
            QTest::mouseClick(child<QAbstractButton>("btnEingabe"), Qt::LeftButton);
        };
        // The entry window exists, hidden, when the scheme changes.
        whileShowing<frmInput>(openEntryWindow, [](frmInput* input) { input->hide(); });
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QApplication::setPalette(scheme);
        QCoreApplication::processEvents();
        checkTexts(window.get(), minimum);

        const QImage shown = shot(window.get());
        const QColor betweenBandAndFrame = pixelAt(shown, {200, 60});
        const double band = contrast(seen(child<QLabel>("Label1")).background, betweenBandAndFrame);
        QTEST(band >= bandContrast, "bandStandsOut");

        // Labels in the frame show the frame's own background, seen just beside them.
        const auto* inFrame = child<QLabel>("lblEingabe");
        const QPoint corner = inFrame->mapTo(window.get(), QPoint(inFrame->width() - 1, 0));
        QCOMPARE(pixelAt(shown, corner), pixelAt(shown, corner + QPoint(2, 0)));

        // The order arrows with the focus are framed in a colour that stands out from the window.
        auto* spin = child<QWidget>("udEingabe");
        spin->setFocus();
        const QImage focused = shot(window.get());
        double ring = 1;
        for (int x = 0; x < spin->width(); ++x) {
            const QPoint top = spin->mapTo(window.get(), QPoint(x, 0));
            ring = std::max(ring, contrast(pixelAt(focused, top), scheme.color(QPalette::Window)));
        }
        QVERIFY2(ring >= minimum, qPrintable(QString::number(ring)));

        setOrderText("x");
        auto* orderBox = child<QLineEdit>("txtEingabe");
        const Seen mark = seen(orderBox);
        QVERIFY2(mark.ratio() >= minimum, qPrintable(QString::number(mark.ratio())));
        QVERIFY(mark.text != scheme.color(QPalette::Text));
        QCOMPARE(mark.background, scheme.color(QPalette::Base));
        // Selected text in the mark still shows as selected: on a background of its own.
        orderBox->selectAll();
        const Seen selected = seen(orderBox);
        QVERIFY2(contrast(selected.background, mark.background) >= 3.0,
                 qPrintable(selected.background.name() + " on " + mark.background.name()));

        setOrderText("3");
        whileShowing<frmInput>(openEntryWindow, [minimum](frmInput* input) {
            const auto hide = qScopeGuard([input] { input->hide(); });
            checkTexts(input, minimum);
            // The focused cell shows its text selected, in the selection colours.
            Cell* focused = input->cell(0, 0);
            QCOMPARE(focused->selectedText(), focused->text());
            QCOMPARE(seen(focused).background.rgb(),
                     focused->palette().color(QPalette::Highlight).rgb());
        });
    }

    void standardSchemeKeepsTheDesignColours()
    {
        const QPalette standard = QApplication::palette();
        const Seen band = seen(child<QLabel>("Label1"));
        QCOMPARE(band.background, QColor(Qt::white));
        QCOMPARE(band.text, standard.color(QPalette::WindowText));
        QCOMPARE(seen(child<QLabel>("lblAusgabe")).text, QColor(0, 0, 192));
        setOrderText("x");
        QCOMPARE(seen(child<QLineEdit>("txtEingabe")).text, QColor(192, 0, 0));
    }
};

int main(int argc, char* argv[])
{
    // Glyph edges blend into the background, and the thin strokes of small text may have no pixel
    // that is wholly text. At twice the size they do, and the text colour itself is seen.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    ContrastTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "ContrastTest.moc"
