#include "qt_translations.h"

#include <QCoreApplication>
#include <QTranslator>
#include <QtGlobal>

bool InstallQtTranslations(QCoreApplication &application)
{
    Q_INIT_RESOURCE(qt_translations); // a static library's resources are not kept without it
    auto *translator = new QTranslator(&application);
    if (!translator->load(":/translations/qtbase_zh_CN.qm")
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}
