#include "NumberText.h"
#include "ProgramIcon.h"
#include "frmMain.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvora"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setWindowIcon(ProgramIcon::icon());

    frmMain window(NumberText::separatorsOf(QLocale::system()));
    window.show();
    return QApplication::exec();
}
