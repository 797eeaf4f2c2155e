#pragma once

#include "opt_options.h"

#include <QAbstractTableModel>
#include <QTableView>

// The cells of the options table, as typed: a cell is editable exactly where the table allows it.
class TOptionsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TOptionsModel(QObject *parent);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const TOptionTable &Table() const { return m_table; }

private:
    TOptionTable m_table;
};

// The options table Grid1_Youhuaxuanxiang: the editor opens as soon as an editable cell is
// selected, and the end of every edit is reported with the cell's row and column.
class TOptionsGrid : public QTableView
{
    Q_OBJECT

public:
    explicit TOptionsGrid(QWidget *parent);

    const TOptionTable &Table() const { return m_model->Table(); }
    void ShowNoteColumn(bool shown);
    void SetScale(double scale);

signals:
    void EditingDone(int row, int column);

protected:
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    TOptionsModel *m_model;
};
