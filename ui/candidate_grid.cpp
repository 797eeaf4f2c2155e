#include "candidate_grid.h"

#include "candidate_model.h"
#include "design_units.h"
#include "grid_style.h"

#include "candidate.h"

#include <QHeaderView>
#include <QStyle>

#include <algorithm>

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

    connect(m_model, &QAbstractItemModel::modelReset, this, &TCandidateGrid::FitNumberColumn);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &TCandidateGrid::HeaderClicked);
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { emit RowDoubleClicked(index.row()); });
    SetScale(1);
}

void TCandidateGrid::ShowDetailColumns(bool shown)
{
    for (int column = FirstDetailColumn; column < CandidateColumn::Count; ++column)
        setColumnHidden(column, !shown);
}

void TCandidateGrid::SelectFirstRow()
{
    if (m_model->rowCount() == 0)
        return;
    selectRow(0);
    scrollToTop();
}

void TCandidateGrid::SetScale(double scale)
{
    m_scale = scale;
    for (int column = 0; column < CandidateColumn::Remark; ++column)
        setColumnWidth(column, ScaledExtent(DesignWidth(column), scale));
    setColumnWidth(CandidateColumn::Remark, ScaledExtent(m_remarkWidth, scale));
    verticalHeader()->setDefaultSectionSize(ScaledExtent(DesignRowHeight, scale));
    horizontalHeader()->setFixedHeight(ScaledExtent(DesignHeaderHeight, scale));
    FitNumberColumn();
}

void TCandidateGrid::FitNumberColumn()
{
    const int rows = m_model->rowCount();
    // The widest label: "ZH-" and as many digits as the count has, or the plain running number.
    const QString widest = "ZH-" + QString(QString::number(rows).size(), '8');
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 4);
    const int needed = fontMetrics().horizontalAdvance(widest) + margin;
    setColumnWidth(CandidateColumn::Number,
                   std::max(ScaledExtent(DesignWidth(CandidateColumn::Number), m_scale), needed));
}
