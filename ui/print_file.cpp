#include "print_file.h"

#include <QDir>
#include <QLineEdit>
#include <QPrintDialog>

void ProposePrintFile(QPrintDialog &dialog, const QString &path)
{
    // Qt's own dialog proposes a file in the working folder or the home folder; its file field
    // is named by the dialog's form.
    if (auto *field = dialog.findChild<QLineEdit *>("filename"))
        field->setText(QDir::toNativeSeparators(path));
}
