#include "ProgramIcon.h"

#include <QSize>
#include <QString>

namespace ProgramIcon {

QIcon icon()
{
    QIcon result;
    for (const int size : sizes) {
        result.addFile(QStringLiteral(":/icons/kalvora-%1.png").arg(size), QSize(size, size));
    }
    return result;
}

} // namespace ProgramIcon
