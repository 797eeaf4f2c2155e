#include "grid_delegate.h"

#include "qt_text.h"

#include "decimal_reader.h"
#include "number_format.h"

#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QStyleOptionProgressBar>

#include <algorithm>
#include <cmath>

QString ShownNumber(const QString &cellText, int decimals)
{
    if (cellText.isEmpty())
        return cellText;
    const auto value = ReadDecimal(ToStd(cellText));
    if (!value)
        return cellText;
    return ToQ(FormatFixed(*value, 15, decimals));
}

TGridDelegate::TGridDelegate(const std::vector<TGridColumn> &columns, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_columns(columns)
{ }

void TGridDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const TGridColumn &column = m_columns.at(index.column());
    switch (column.kind) {
    case TColumnKind::Integer:
        option->displayAlignment = Qt::AlignCenter;
        break;
    case TColumnKind::Number:
        option->text = ShownNumber(option->text, column.decimals);
        option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
        break;
    default:
        option->displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        break;
    }
}

void TGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const
{
    if (m_columns.at(index.column()).kind != TColumnKind::ProgressBar) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QString text = index.data().toString();
    if (text.isEmpty())
        return;
    const double value = ReadDecimal(ToStd(text)).value_or(0);
    QStyleOptionProgressBar bar;
    bar.rect = option.rect.adjusted(2, 3, -2, -3);
    bar.minimum = 0;
    bar.maximum = 100;
    bar.progress = static_cast<int>(std::lround(std::clamp(value, 0.0, 100.0)));
    bar.textVisible = false;
    bar.state = option.state | QStyle::State_Horizontal;
    QApplication::style()->drawControl(QStyle::CE_ProgressBar, &bar, painter);
}

QWidget *TGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    const TGridColumn &column = m_columns.at(index.column());
    if (column.kind != TColumnKind::PickList)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *editor = new QComboBox(parent);
    editor->addItems(column.pickList);
    // A pick finishes the edit at once, as a pick list in a grid cell does. The signals are not
    // const, though making an editor is.
    auto *self = const_cast<TGridDelegate *>(this);
    connect(editor, &QComboBox::activated, self, [self, editor] {
        emit self->commitData(editor);
        emit self->closeEditor(editor);
    });
    return editor;
}

void TGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        combo->setCurrentIndex(combo->findText(index.data().toString()));
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void TGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                 const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        model->setData(index, combo->currentText());
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}
