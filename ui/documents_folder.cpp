#include "documents_folder.h"

#include <QDir>
#include <QStandardPaths>

std::filesystem::path DocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder); // a failure shows as the save's own error
    return std::filesystem::path(folder.toStdU16String());
}
