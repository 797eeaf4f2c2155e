#pragma once

#include <QStringList>
#include <QTableView>

#include <vector>

class QStandardItem;
class QStandardItemModel;

enum class TColumnKind {
    Integer, // the layer number, kept in place when the grid scrolls sideways
    Number, // shown with the column's decimals while the cell keeps its text
    Text,
    PickList, // edited by choosing one of the column's items
    ProgressBar // a number drawn as a bar from 0 to 100
};

struct TGridColumn
{
    QString header;
    TColumnKind kind = TColumnKind::Text;
    int width = 80; // design units
    int decimals = 2; // shown decimals of a number column
    bool editable = false;
    QStringList pickList;
};

// A string grid with typed columns. Cells hold texts; writing a cell from the program runs no
// handler, while a finished edit by the user reports EditingDone.
class TLayerGrid : public QTableView
{
    Q_OBJECT

public:
    TLayerGrid(const QString &name, std::vector<TGridColumn> columns, QWidget *parent);

    int RowCount() const;
    // Exactly `rows` rows: removed rows lose their values, added rows are empty apart from their
    // number in column 0.
    void SetRowCount(int rows);

    QString Cell(int row, int column) const;
    void SetCell(int row, int column, const QString &text);
    void ClearCells(int row, int firstColumn, int lastColumn);

    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    const TGridColumn &Column(int column) const { return m_columns.at(column); }
    void SetColumnShown(int column, bool shown);
    bool ColumnShown(int column) const { return !isColumnHidden(column); }

    void SetScale(double scale);

signals:
    void EditingDone();

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Tab and Shift+Tab go from cell to cell, while editing too, and leave the grid after its
    // last cell and before its first; Ctrl+Tab and Ctrl+Shift+Tab leave it from any cell.
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    QStandardItem *NewItem(int column, const QString &text) const;
    void UpdateFrozenGeometry();
    // The current cell is the last one Tab reaches (`next`), or the first one Shift+Tab reaches.
    bool AtTabEnd(bool next);

    std::vector<TGridColumn> m_columns;
    QStandardItemModel *m_model;
    QTableView *m_frozen; // column 0, drawn over the grid's left edge
    double m_scale = 1;
};
