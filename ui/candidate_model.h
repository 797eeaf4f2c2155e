#pragma once

#include "candidate.h"
#include "candidate_sort.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <memory>

// The rows of a candidate grid as a view over the sweep's compact candidates: a cell's text is made
// when the view asks for it, so a grid of a million rows costs the optimization layer's storage and
// nothing per row here. A view keeps a record per row and goes over all of them after every
// change, in a time that grows with the rows: the model therefore shows its view only a window of
// the table, the rows its grid has room for, which the grid moves over the table as it scrolls
// (see TCandidateGrid). Table(), Rows() and Text() are the whole table.
class TCandidateModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // `columnPrefix` starts the names of the grid's columns ("Grid2_").
    TCandidateModel(const QString &columnPrefix, QObject *parent);

    // The rows of the window.
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const TCandidateTable &Table() const { return m_table; }
    int Rows() const { return static_cast<int>(m_table.Size()); }
    // The text of a cell of the table; `row` counts from the table's first row.
    QString Text(int row, int column) const;
    // The row of the table the window starts with, and the most rows it shows.
    int FirstShownRow() const { return m_first; }
    int WindowRoom() const { return m_room; }
    // Shows the rows of the table from `first` on, as many as there are up to `room`.
    void SetWindow(int first, int room);
    // A click on the header of `column`: sorts or reverses the rows (see ClickHeader).
    TSortClick ClickHeader(TSortState &state, int column);

    // A new table, shown from its first row.
    void SetTable(TCandidateTable table);
    // The same candidates in another order, as a sort made on a copy of the table leaves them.
    void SetOrder(TCandidateTable table);
    void Clear();
    // The header of `column` as shown, padded.
    void SetHeader(int column, const QString &text);

private:
    const TCandidateTexts &RowTexts(int row) const;

    TCandidateTable m_table;
    int m_first = 0; // the window: the first row of the table it shows,
    int m_shown = 0; // the rows it shows
    int m_room = 0; // and the most it may show
    QString m_columnPrefix;
    QStringList m_headers;
    // A view asks for the cells of one row after another: the texts of the last row asked for are
    // kept.
    mutable std::unique_ptr<TCandidateTextMaker> m_maker;
    mutable int m_textsRow = -1;
    mutable const TCandidateTexts *m_texts = nullptr;
};
