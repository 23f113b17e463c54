#include "NumberText.h"
#include "ProgramIcon.h"
#include "QtGerman.h"
#include "frmMain.h"

#include <QApplication>
#include <QLocale>

#include <array>

int main(int argc, char* argv[])
{
    // The program reads no command line, and Qt reads none either (-platform, -style, -reverse
    // and the like): it is given the program's name alone.
    char fallbackName[] = "kalvora";
    std::array<char*, 2> arguments{argc > 0 ? argv[0] : fallbackName, nullptr};
    int argumentCount = 1;
    QApplication app(argumentCount, arguments.data());
    QApplication::setApplicationName(QStringLiteral("Kalvora"));
    QApplication::setApplicationVersion(QStringLiteral(KALVORA_VERSION));
    // Wayland desktops find the desktop entry (and so the icon) by this name.
    QApplication::setDesktopFileName(QStringLiteral(KALVORA_APP_ID));
    QApplication::setWindowIcon(ProgramIcon::icon());

    // The interface is German whatever the regional settings, Qt's own menus and buttons too.
    installQtGerman(app);

    frmMain window(NumberText::separatorsOf(QLocale::system()));
    window.show();
    return QApplication::exec();
}
