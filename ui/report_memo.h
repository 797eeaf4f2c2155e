#pragma once

#include <QPlainTextEdit>

#include <string>
#include <vector>

// A read-only memo that shows the lines of a report. Showing the report again replaces only the
// lines from the first one that changed, so a long report costs the same on every calculation.
class TReportMemo : public QPlainTextEdit
{
    Q_OBJECT

public:
    TReportMemo(const QString &name, QWidget *parent);

    void ShowLines(const std::vector<std::string> &lines);

private:
    std::vector<std::string> m_shown;
};
