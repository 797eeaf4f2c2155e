#pragma once

class QCoreApplication;

// Qt's own texts in Chinese: the buttons of the message boxes, the file and print dialogs, the
// program's --help. The translations are built into the program. True when they were installed.
bool InstallQtTranslations(QCoreApplication &application);
