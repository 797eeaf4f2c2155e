#pragma once

#include "layer_grid.h"

#include <QStyledItemDelegate>

#include <vector>

// Draws and edits the cells of a layer grid by the kind of their column.
class TGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    TGridDelegate(const std::vector<TGridColumn> &columns, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    const std::vector<TGridColumn> &m_columns;
};

// The text a number cell shows: its value with `decimals` decimals; a text that is no number is
// shown as it stands.
QString ShownNumber(const QString &cellText, int decimals);
