#include "candidate_grid.h"

#include "candidate_model.h"
#include "design_units.h"
#include "grid_style.h"
#include "qt_text.h"

#include "candidate.h"
#include "result_texts.h"
#include "text_columns.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace {

constexpr int DesignRowHeight = 22;
constexpr int DesignHeaderHeight = 22;
constexpr int FirstDetailColumn = CandidateColumn::Hr;

int DesignWidth(int column)
{
    return column == CandidateColumn::SizeD ? 80 : 70;
}

} // namespace

TCandidateGrid::TCandidateGrid(const QString &name, QWidget *parent)
    : QTableView(parent)
    , m_model(new TCandidateModel(name.left(name.indexOf('_') + 1), this))
{
    setObjectName(name);
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    StyleOneLineGrid(this);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(false);
    m_remarkWidth = horizontalHeader()->defaultSectionSize();
    ShowDetailColumns(false);
    // The scroll bar's value is the list's row at the top.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_selected = -1;
        FitShownColumns();
        FitWindow();
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TCandidateGrid::ShowRowsFrom);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &TCandidateGrid::HeaderClicked);
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { emit RowDoubleClicked(TopRow() + index.row()); });
    SetScale(1);
}

int TCandidateGrid::TopRow() const
{
    return m_model->FirstShownRow();
}

void TCandidateGrid::ShowDetailColumns(bool shown)
{
    for (int column = FirstDetailColumn; column < CandidateColumn::Count; ++column)
        setColumnHidden(column, !shown);
}

void TCandidateGrid::SelectFirstRow()
{
    if (m_model->Rows() > 0)
        SelectListRow(0);
}

void TCandidateGrid::ScrollToRow(int row)
{
    int top = TopRow();
    if (row < top)
        top = row;
    else if (row >= top + m_wholeRows)
        top = row - m_wholeRows + 1;
    verticalScrollBar()->setValue(top);
}

void TCandidateGrid::SelectListRow(int row)
{
    m_selected = row;
    ScrollToRow(row);
    ShowSelection();
}

void TCandidateGrid::ShowSelection()
{
    if (!selectionModel())
        return; // the model is being set
    m_windowMoving = true;
    const int row = m_selected - TopRow();
    if (m_selected >= 0 && row >= 0 && row < m_model->rowCount()) {
        selectionModel()->setCurrentIndex(m_model->index(row, m_currentColumn),
                                          QItemSelectionModel::ClearAndSelect
                                              | QItemSelectionModel::Rows);
    } else {
        selectionModel()->clear();
    }
    m_windowMoving = false;
}

void TCandidateGrid::ShowRowsFrom(int first)
{
    if (!m_fitting && first != TopRow())
        ShowWindow(first, m_model->WindowRoom());
}

void TCandidateGrid::ShowWindow(int first, int room)
{
    m_windowMoving = true;
    m_model->SetWindow(first, room);
    m_windowMoving = false;
    ShowSelection();
}

void TCandidateGrid::FitWindow()
{
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    const int height = viewport()->height();
    m_wholeRows = std::max(1, height / rowHeight);
    const int room = std::max(1, (height + rowHeight - 1) / rowHeight); // a cut row at the bottom
    const int lastTop = std::max(0, m_model->Rows() - m_wholeRows);
    ShowWindow(std::min(TopRow(), lastTop), room);
    // The bar follows the window: the value a new range clamps it to does not move the window. A
    // change of range may show or hide the bar and so fit the window again, after which the top
    // row is the fresh one.
    QScrollBar *bar = verticalScrollBar();
    const bool fitting = std::exchange(m_fitting, true);
    bar->setPageStep(m_wholeRows);
    bar->setRange(0, lastTop);
    bar->setValue(TopRow());
    m_fitting = fitting;
}

void TCandidateGrid::updateGeometries()
{
    {
        // The view sizes the scroll bar for the window; FitWindow sizes it for the list.
        const QSignalBlocker blocker(verticalScrollBar());
        QTableView::updateGeometries();
    }
    KeepFirstRowAtTop();
    FitWindow();
}

void TCandidateGrid::scrollContentsBy(int dx, int /*dy*/)
{
    // A vertical scroll moves the window (ShowRowsFrom), not the rows in the viewport.
    if (dx != 0)
        QTableView::scrollContentsBy(dx, 0);
}

void TCandidateGrid::scrollTo(const QModelIndex &index, ScrollHint)
{
    // Every row of the window is on screen (the keys scroll a cut row in whole themselves); only
    // the columns may need scrolling, which the view does for the window's first row.
    if (m_windowMoving || !index.isValid() || m_model->rowCount() == 0)
        return;
    QScrollBar *bar = verticalScrollBar();
    const QSignalBlocker blocker(bar);
    const int top = bar->value();
    QTableView::scrollTo(m_model->index(0, index.column()), EnsureVisible);
    bar->setValue(top);
    KeepFirstRowAtTop();
}

void TCandidateGrid::KeepFirstRowAtTop()
{
    if (verticalHeader()->offset() == 0)
        return;
    verticalHeader()->setOffset(0);
    viewport()->update();
}

void TCandidateGrid::keyPressEvent(QKeyEvent *event)
{
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    const int rows = m_model->Rows();
    std::optional<int> row;
    switch (event->key()) {
    case Qt::Key_Up:
        row = m_selected - 1;
        break;
    case Qt::Key_Down:
        row = m_selected + 1;
        break;
    case Qt::Key_PageUp:
        row = m_selected - m_wholeRows;
        break;
    case Qt::Key_PageDown:
        row = m_selected + m_wholeRows;
        break;
    case Qt::Key_Home:
        if (control)
            row = 0;
        break;
    case Qt::Key_End:
        if (control)
            row = rows - 1;
        break;
    default:
        break;
    }
    if (!row) { // sideways, or not a move
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
    if (rows == 0)
        return;
    // With nothing selected an arrow or page key selects the row at the top.
    if (m_selected < 0 && !control)
        row = TopRow();
    SelectListRow(std::clamp(*row, 0, rows - 1));
}

void TCandidateGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (current.isValid())
        m_currentColumn = current.column();
    QTableView::currentChanged(current, previous);
}

void TCandidateGrid::selectionChanged(const QItemSelection &selected,
                                      const QItemSelection &deselected)
{
    QTableView::selectionChanged(selected, deselected);
    if (m_windowMoving)
        return;
    const QItemSelection selection = selectionModel()->selection();
    m_selected = selection.isEmpty() ? -1 : TopRow() + selection.front().top();
}

void TCandidateGrid::SetScale(double scale)
{
    m_scale = scale;
    for (int column = 0; column < CandidateColumn::Remark; ++column)
        setColumnWidth(column, ScaledExtent(DesignWidth(column), scale));
    setColumnWidth(CandidateColumn::Remark, ScaledExtent(m_remarkWidth, scale));
    verticalHeader()->setDefaultSectionSize(ScaledExtent(DesignRowHeight, scale));
    horizontalHeader()->setFixedHeight(ScaledExtent(DesignHeaderHeight, scale));
    FitShownColumns();
    FitWindow();
}

void TCandidateGrid::FitShownColumns()
{
    using namespace CandidateColumn;
    const TCandidateTable &table = m_model->Table();
    const QFontMetrics cells = fontMetrics();
    const QFontMetrics headers = horizontalHeader()->fontMetrics();
    // The margins the cells and the header sections draw their texts in, and a pixel or two.
    const int cellMargin =
        2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 2);
    const int headerMargin =
        2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader()) + 2;
    // Digits drawn as the widest one.
    const auto widest = [](std::string text) {
        for (char &ch : text) {
            if (ch >= '0' && ch <= '9')
                ch = '8';
        }
        return ToQ(text);
    };
    // The header as shown, and with the sort mark it may carry.
    const auto header = [this](int column) {
        return m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    };
    const auto marked = [](int column) {
        return ToQ(PadLeft(std::string(CandidateHeaderText(column)) + "▲", " ", 8));
    };
    std::array<int, FirstDetailColumn> need {};
    const auto fit = [&](int column, const QStringList &texts, const QStringList &heads) {
        for (const QString &text : texts)
            need[column] = std::max(need[column], cells.horizontalAdvance(text) + cellMargin);
        for (const QString &text : heads)
            need[column] = std::max(need[column], headers.horizontalAdvance(text) + headerMargin);
    };
    // The labels the rows show are numbered by the sweep, those of the filtered grid included.
    const std::size_t count = table.store ? table.store->Size() : 0;
    fit(Number,
        {widest(CandidateLabel(static_cast<std::int32_t>(count), table.context.labelDigits))},
        {header(Number)});
    fit(Section, {"椭圆桩", "方  桩"}, {header(Section)});
    // Sizes in mm of up to five digits; the d header with a sort mark.
    fit(SizeD, {"88888"}, {header(SizeD), marked(SizeD)});
    fit(SizeC, {"88888"}, {header(SizeC)});
    // Ra: the text of the largest force in the rounding of the sweep, and the header with a mark.
    const double largest = table.store ? table.store->LargestRa() : 0;
    fit(Ra, {widest(RaText(largest, table.context.rounding))}, {header(Ra), marked(Ra)});

    // Each column is as wide as its design unless its texts need more. The columns always shown
    // fit the grid's width, beside a vertical scroll bar, where they can: one wider than its texts
    // gives way to one that must grow; only when their texts alone are too wide does the grid
    // scroll sideways, and then no figure is cut either.
    int room = contentsRect().width() - verticalScrollBar()->sizeHint().width();
    if (verticalScrollBar()->isVisible())
        room = std::min(room, viewport()->width());
    std::array<int, FirstDetailColumn> width {};
    int excess = -room;
    for (int column = 0; column < FirstDetailColumn; ++column) {
        width[column] = std::max(ScaledExtent(DesignWidth(column), m_scale), need[column]);
        excess += width[column];
    }
    for (const int column : {Section, SizeC, SizeD, Number, Ra}) {
        const int give = std::clamp(width[column] - need[column], 0, std::max(excess, 0));
        width[column] -= give;
        excess -= give;
    }
    for (int column = 0; column < FirstDetailColumn; ++column)
        setColumnWidth(column, width[column]);
}
