#pragma once

class QPrintDialog;
class QString;

// Proposes `path` as the file of the print dialog's "Print to File", without choosing that
// printer; a dialog without such a field (the system's own on Windows) is left as it is.
void ProposePrintFile(QPrintDialog &dialog, const QString &path);
