#include "ui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool installSwedishTranslations(QCoreApplication& app)
{
    // Qt's catalogue first: the program's, installed after it, is asked first and so wins.
    auto* qt = new QTranslator(&app);
    if (qt->load(QStringLiteral("qt_sv"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    auto* own = new QTranslator(&app);
    if (!own->load(QStringLiteral(":/i18n/skenbrus_sv.qm"))) {
        delete own;
        return false;
    }
    QCoreApplication::installTranslator(own);
    return true;
}
