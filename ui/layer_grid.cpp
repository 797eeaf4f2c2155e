#include "layer_grid.h"

#include "design_units.h"
#include "grid_delegate.h"
#include "grid_style.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStandardItemModel>

#include <utility>

namespace {

constexpr int DesignRowHeight = 22;

} // namespace

TLayerGrid::TLayerGrid(const QString &name, std::vector<TGridColumn> columns, QWidget *parent)
    : QTableView(parent)
    , m_columns(std::move(columns))
    , m_model(new QStandardItemModel(0, static_cast<int>(m_columns.size()), this))
    , m_frozen(new QTableView(this))
{
    setObjectName(name);
    for (int column = 0; column < ColumnCount(); ++column)
        m_model->setHorizontalHeaderItem(column, new QStandardItem(m_columns[column].header));
    setModel(m_model);
    auto *delegate = new TGridDelegate(m_columns, this);
    setItemDelegate(delegate);
    connect(delegate, &QAbstractItemDelegate::closeEditor, this, &TLayerGrid::EditingDone);

    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    StyleGridHeaders(this);

    // The number column stays in place when the grid scrolls sideways: a second view of the same
    // model and selection shows column 0 over the left edge.
    m_frozen->setObjectName(name + "_fixed");
    m_frozen->setModel(m_model);
    m_frozen->setSelectionModel(selectionModel());
    m_frozen->setItemDelegate(new TGridDelegate(m_columns, m_frozen));
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StyleGridHeaders(m_frozen);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setFrameShape(QFrame::NoFrame);
    for (int column = 1; column < ColumnCount(); ++column)
        m_frozen->setColumnHidden(column, true);
    viewport()->stackUnder(m_frozen);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, m_frozen->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_frozen->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);

    SetScale(1);
}

int TLayerGrid::RowCount() const
{
    return m_model->rowCount();
}

QStandardItem *TLayerGrid::NewItem(int column, const QString &text) const
{
    auto *item = new QStandardItem(text);
    item->setEditable(m_columns.at(column).editable);
    return item;
}

void TLayerGrid::SetRowCount(int rows)
{
    const int old = RowCount();
    if (rows < old)
        m_model->removeRows(rows, old - rows);
    for (int row = old; row < rows; ++row) {
        QList<QStandardItem *> items;
        for (int column = 0; column < ColumnCount(); ++column)
            items.append(NewItem(column, column == 0 ? QString::number(row + 1) : QString()));
        m_model->appendRow(items);
    }
}

QString TLayerGrid::Cell(int row, int column) const
{
    const QStandardItem *item = m_model->item(row, column);
    return item ? item->text() : QString();
}

void TLayerGrid::SetCell(int row, int column, const QString &text)
{
    if (QStandardItem *item = m_model->item(row, column))
        item->setText(text);
    else
        m_model->setItem(row, column, NewItem(column, text));
}

void TLayerGrid::ClearCells(int row, int firstColumn, int lastColumn)
{
    for (int column = firstColumn; column <= lastColumn; ++column)
        SetCell(row, column, QString());
}

void TLayerGrid::SetColumnShown(int column, bool shown)
{
    setColumnHidden(column, !shown);
}

void TLayerGrid::SetScale(double scale)
{
    m_scale = scale;
    for (int column = 0; column < ColumnCount(); ++column)
        setColumnWidth(column, ScaledExtent(m_columns[column].width, scale));
    m_frozen->setColumnWidth(0, columnWidth(0));
    verticalHeader()->setDefaultSectionSize(ScaledExtent(DesignRowHeight, scale));
    m_frozen->verticalHeader()->setDefaultSectionSize(ScaledExtent(DesignRowHeight, scale));
    UpdateFrozenGeometry();
}

bool TLayerGrid::AtTabEnd(bool next)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return false;
    // The view's own move wraps around at the ends.
    const QModelIndex to = moveCursor(next ? MoveNext : MovePrevious, Qt::NoModifier);
    if (!to.isValid() || to == current)
        return true;
    const auto place = [this](const QModelIndex &index) {
        return std::pair(index.row(), horizontalHeader()->visualIndex(index.column()));
    };
    return next ? place(to) < place(current) : place(current) < place(to);
}

bool TLayerGrid::focusNextPrevChild(bool next)
{
    if (AtTabEnd(next))
        return QWidget::focusNextPrevChild(next);
    return QTableView::focusNextPrevChild(next);
}

void TLayerGrid::keyPressEvent(QKeyEvent *event)
{
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && event->modifiers().testFlag(Qt::ControlModifier)) {
        const bool back =
            event->key() == Qt::Key_Backtab || event->modifiers().testFlag(Qt::ShiftModifier);
        QWidget::focusNextPrevChild(!back);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TLayerGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    if ((next || hint == QAbstractItemDelegate::EditPreviousItem) && AtTabEnd(next)) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        QWidget::focusNextPrevChild(next);
        return;
    }
    QTableView::closeEditor(editor, hint);
}

void TLayerGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    UpdateFrozenGeometry();
}

void TLayerGrid::UpdateFrozenGeometry()
{
    m_frozen->setGeometry(frameWidth(), frameWidth(), columnWidth(0),
                          viewport()->height() + horizontalHeader()->height());
}
