// The icon images must be linked into every program that links kalvora_resources, at the
// paths and in the sizes the program asks for.

#include "ProgramIcon.h"

#include <QFile>
#include <QImage>
#include <QList>
#include <QSize>
#include <QTest>

#include <iterator>

class ProgramIconTest : public QObject {
    Q_OBJECT

private slots:
    void imagesAreEmbedded_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : ProgramIcon::sizes) {
            QTest::addRow("%d px", size) << size;
        }
    }

    void imagesAreEmbedded()
    {
        QFETCH(int, size);
        const QString path = QStringLiteral(":/icons/kalvora-%1.png").arg(size);
        QVERIFY2(QFile::exists(path), qPrintable(path));
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY(!image.hasAlphaChannel());
    }

    void iconOffersEverySize()
    {
        const QIcon icon = ProgramIcon::icon();
        QVERIFY(!icon.isNull());
        const QList<QSize> available = icon.availableSizes();
        QCOMPARE(available.size(), qsizetype(std::size(ProgramIcon::sizes)));
        for (const int size : ProgramIcon::sizes) {
            QVERIFY2(available.contains(QSize(size, size)), QByteArray::number(size));
            QCOMPARE(icon.pixmap(QSize(size, size)).size(), QSize(size, size));
        }
    }
};

QTEST_MAIN(ProgramIconTest)
#include "ProgramIconTest.moc"
