#include "NumberText.h"
#include "ProgramIcon.h"
#include "frmMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvora"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // Wayland desktops find the desktop entry (and so the icon) by this name.
    QApplication::setDesktopFileName(QStringLiteral(KALVORA_APP_ID));
    QApplication::setWindowIcon(ProgramIcon::icon());

    // The interface is German whatever the regional settings, Qt's own menus and buttons too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_de"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    frmMain window(NumberText::separatorsOf(QLocale::system()));
    window.show();
    return QApplication::exec();
}
