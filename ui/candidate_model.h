#pragma once

#include "candidate.h"
#include "candidate_sort.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <memory>

// The rows of a candidate grid as a view over the sweep's compact candidates: a cell's text is made
// when the view asks for it, so a grid of a million rows costs the optimization layer's storage and
// nothing per row here. A view keeps a record per row, which it builds for a whole table at once in
// a time that grows with the rows: a new table is therefore handed to the views 200,000 rows at
// a time, one portion per turn of the event loop, so that a window keeps painting while ten million
// rows arrive. Table() is the whole table from the start.
class TCandidateModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // `columnPrefix` starts the names of the grid's columns ("Grid2_").
    TCandidateModel(const QString &columnPrefix, QObject *parent);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const TCandidateTable &Table() const { return m_table; }
    // False while rows of the table wait to be handed to the views.
    bool AllRowsShown() const { return m_shownRows == static_cast<int>(m_table.Size()); }
    // A click on the header of `column`: sorts or reverses the rows (see ClickHeader).
    TSortClick ClickHeader(TSortState &state, int column);

    void SetTable(TCandidateTable table);
    // The same candidates in another order, as a sort made on a copy of the table leaves them.
    void SetOrder(TCandidateTable table);
    void Clear();
    // The header of `column` as shown, padded.
    void SetHeader(int column, const QString &text);

private:
    const TCandidateTexts &RowTexts(int row) const;
    // Hands the views the next portion of the table's rows.
    void ShowMoreRows();

    TCandidateTable m_table;
    int m_shownRows = 0; // the rows the views were told of so far
    QString m_columnPrefix;
    QStringList m_headers;
    // A view asks for the cells of one row after another: the texts of the last row asked for are
    // kept.
    mutable std::unique_ptr<TCandidateTextMaker> m_maker;
    mutable int m_textsRow = -1;
    mutable const TCandidateTexts *m_texts = nullptr;
};
