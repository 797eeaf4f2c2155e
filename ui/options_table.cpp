#include "options_table.h"

#include "design_units.h"
#include "grid_style.h"
#include "qt_text.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

#include <algorithm>
#include <array>

namespace {

constexpr int ColumnCount = 5;
constexpr int NoteColumn = 4;
constexpr std::array<int, ColumnCount> DesignWidths {160, 54, 54, 54, 300};
constexpr int DesignRowHeight = 23;
constexpr int DesignHeaderHeight = 22;
const char *const Headers[ColumnCount] = {"优化项", "最小值", "最大值", "步进值", "说  明"};

template<typename Option>
auto &CellOf(Option &option, int column)
{
    switch (column) {
    case 0:
        return option.item;
    case 1:
        return option.minimum;
    case 2:
        return option.maximum;
    case 3:
        return option.step;
    default:
        return option.note;
    }
}

// Tells each editor which cell it edits: when the selection moves on, the editor of the cell left
// behind closes after the current cell has already changed.
class TOptionsDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->setProperty("optionRow", index.row());
        editor->setProperty("optionColumn", index.column());
        return editor;
    }
};

} // namespace

TOptionsModel::TOptionsModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(DefaultOptionTable())
{ }

int TOptionsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : OptionRowCount;
}

int TOptionsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TOptionsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        return ToQ(CellOf(m_table[index.row()], index.column()));
    }
    if (role == Qt::TextAlignmentRole && index.column() >= 1 && index.column() <= 3)
        return QVariant::fromValue(Qt::AlignCenter);
    return {};
}

bool TOptionsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole
        || !IsEditableOptionCell(index.row(), index.column()))
        return false;
    // The text stays as typed: the sweep and the filter read and check it.
    CellOf(m_table[index.row()], index.column()) = ToStd(value.toString());
    emit dataChanged(index, index);
    return true;
}

QVariant TOptionsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < ColumnCount)
        return QString::fromUtf8(Headers[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TOptionsModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsEditableOptionCell(index.row(), index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

TOptionsGrid::TOptionsGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new TOptionsModel(this))
{
    setObjectName("Grid1_Youhuaxuanxiang");
    setModel(m_model);
    setItemDelegate(new TOptionsDelegate(this));
    setAlternatingRowColors(true);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Selecting an editable cell opens its editor at once.
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked
                    | QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    StyleOneLineGrid(this);
    SetScale(1);
}

void TOptionsGrid::ShowNoteColumn(bool shown)
{
    setColumnHidden(NoteColumn, !shown);
}

void TOptionsGrid::SetScale(double scale)
{
    for (int column = 0; column < ColumnCount; ++column)
        setColumnWidth(column, ScaledExtent(DesignWidths[column], scale));
    verticalHeader()->setDefaultSectionSize(ScaledExtent(DesignRowHeight, scale));
    // The 15 rows fit the table's height at every scale.
    horizontalHeader()->setFixedHeight(ScaledExtent(DesignHeaderHeight, scale));
}

void TOptionsGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // An editor may be closed more than once (a commit, then the loss of focus); its edit ends
    // once.
    const bool first = editor && !editor->property("optionDone").toBool();
    const QVariant row = editor ? editor->property("optionRow") : QVariant();
    const QVariant column = editor ? editor->property("optionColumn") : QVariant();
    if (editor)
        editor->setProperty("optionDone", true);
    QTableView::closeEditor(editor, hint);
    if (first && row.isValid() && column.isValid())
        emit EditingDone(row.toInt(), column.toInt());
}
