#include "NumberText.h"
#include "frmMain.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvora"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));

    QIcon icon;
    for (int size : {16, 32, 48, 64, 72})
        icon.addFile(QStringLiteral(":/icons/kalvora-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    frmMain window(NumberText::separatorsOf(QLocale::system()));
    window.setWindowIcon(icon);
    window.show();
    return QApplication::exec();
}
