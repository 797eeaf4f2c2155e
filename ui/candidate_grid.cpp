#include "candidate_grid.h"

#include "candidate_model.h"
#include "grid_style.h"

#include "candidate.h"

#include <QHeaderView>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace {

constexpr int DesignRowHeight = 22;
constexpr int DesignHeaderHeight = 22;
constexpr int FirstDetailColumn = CandidateColumn::Hr;

int Scaled(int units, double scale)
{
    return std::max(1, static_cast<int>(std::lround(units * scale)));
}

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
        setColumnWidth(column, Scaled(DesignWidth(column), scale));
    setColumnWidth(CandidateColumn::Remark, Scaled(m_remarkWidth, scale));
    verticalHeader()->setDefaultSectionSize(Scaled(DesignRowHeight, scale));
    horizontalHeader()->setFixedHeight(Scaled(DesignHeaderHeight, scale));
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
                   std::max(Scaled(DesignWidth(CandidateColumn::Number), m_scale), needed));
}
