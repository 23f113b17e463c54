#include "QtGerman.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool installQtGerman(QCoreApplication& app)
{
    auto* texts = new QTranslator(&app);
    if (!texts->load(QStringLiteral("qtbase_de"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete texts;
        return false;
    }
    return QCoreApplication::installTranslator(texts);
}
