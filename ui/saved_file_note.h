#pragma once

class QLabel;
class QString;

// Where a save went, on a status line: `verb` ("已保存：") and the saved file's name, a little
// smaller when the line is too narrow for it and only then shortened in the middle, and the whole
// path as the line's tooltip.
void ShowSavedFile(QLabel *label, const QString &verb, const QString &path);
