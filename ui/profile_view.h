#pragma once

#include "pile_reports.h"

#include <QWidget>

#include <optional>

// The profile of the pile calculated last, drawn over the whole results page like a sheet laid on
// it: it hides the report until a click, a tap or Esc takes it away. It changes nothing of the
// page under it. Where the page is too small for legible labels (a small screen), the sheet is a
// popup over the whole screen instead, which a click beside it takes away too.
class TProfileView : public QWidget
{
    Q_OBJECT

public:
    explicit TProfileView(QWidget *page);

    // Shows pile ZH`n` over the page; the view keeps its own copy of the record.
    void ShowPile(const TPileRecord &pile, int n);
    int PileNumber() const { return m_n; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::optional<TPileRecord> m_pile;
    int m_n = 0;
};
