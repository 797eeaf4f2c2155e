#include "report_memo.h"

#include "qt_text.h"
#include "report_font.h"

#include <QFontDatabase>
#include <QTextBlock>

#include <algorithm>

TReportMemo::TReportMemo(const QString &name, QWidget *parent)
    : QPlainTextEdit(parent)
{
    setObjectName(name);
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // The printed reports' font, so that a Chinese character is exactly as wide as two Latin ones
    // and the report columns line up; the system's fixed font where no CJK one is installed.
    const QString family = ReportFontFamily();
    QFont font(family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont).family()
                                : family);
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
}

void TReportMemo::ShowLines(const std::vector<std::string> &lines)
{
    const auto [firstChanged, _] =
        std::mismatch(m_shown.begin(), m_shown.end(), lines.begin(), lines.end());
    const int keep = static_cast<int>(firstChanged - m_shown.begin());
    if (keep == static_cast<int>(m_shown.size()) && m_shown.size() == lines.size())
        return;

    QString tail;
    for (std::size_t i = keep; i < lines.size(); ++i) {
        if (i > 0)
            tail += '\n';
        tail += ToQ(lines[i]);
    }
    QTextCursor cursor(document());
    if (keep == 0) {
        cursor.select(QTextCursor::Document);
    } else {
        // From the end of the last kept line, so its line break goes with what is replaced.
        const QTextBlock last = document()->findBlockByNumber(keep - 1);
        cursor.setPosition(last.position() + last.length() - 1);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    }
    cursor.insertText(tail);
    m_shown.resize(keep);
    m_shown.insert(m_shown.end(), lines.begin() + keep, lines.end());
}
