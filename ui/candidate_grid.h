#pragma once

#include <QTableView>

class TCandidateModel;

// A candidate grid of the optimization page (Grid2_Youhuajieguo, Grid3_Youhuasaixuan): read-only,
// whole rows selected, rows of one fixed height, 20 columns of which 0 to 4 are always shown and 5
// to 19 only with the detail columns on.
// Its view holds only the rows it has room for (see TCandidateModel), however long the list: the
// vertical scroll bar, the wheel and the keys move that window over the list, and the selection
// and a double click count in rows of the whole list.
class TCandidateGrid : public QTableView
{
    Q_OBJECT

public:
    TCandidateGrid(const QString &name, QWidget *parent);

    TCandidateModel *Model() const { return m_model; }
    void ShowDetailColumns(bool shown);
    void SelectFirstRow();
    void SetScale(double scale);

    // Rows of the whole list: the selected one (-1 if none) and the one at the top.
    int SelectedRow() const { return m_selected; }
    int TopRow() const;
    // Scrolls as little as shows `row` whole.
    void ScrollToRow(int row);

signals:
    void HeaderClicked(int column);
    // `row` counts in the whole list.
    void RowDoubleClicked(int row);

protected:
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    void keyPressEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override;

private:
    // Sizes the columns always shown for their texts and headers, a sort mark included (the
    // "ZH-0000001" of a long sweep, a large Ra), within the grid's width where they fit.
    void FitShownColumns();
    // Sizes the window for the viewport and the scroll bar for the whole list.
    void FitWindow();
    void ShowRowsFrom(int first);
    // Moves or sizes the window; the selection follows it.
    void ShowWindow(int first, int room);
    void SelectListRow(int row);
    // Selects the selected row in the window when it is there, and nothing otherwise.
    void ShowSelection();
    // The view's own scrolling within the window is undone: its first row stays at the top.
    void KeepFirstRowAtTop();

    TCandidateModel *m_model;
    double m_scale = 1;
    int m_remarkWidth; // design units: the toolkit's default width of a column
    int m_wholeRows = 1; // the rows the viewport shows whole
    int m_selected = -1;
    int m_currentColumn = 0;
    bool m_windowMoving = false; // the view's selection follows the window, not the user
    bool m_fitting = false; // the scroll bar follows the window, not the user
};
