#include "candidate_grid.h"

#include "candidate_model.h"
#include "design_units.h"
#include "grid_style.h"
#include "qt_text.h"

#include "candidate.h"
#include "result_texts.h"
#include "text_columns.h"

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

    connect(m_model, &QAbstractItemModel::modelReset, this, &TCandidateGrid::FitNumberColumns);
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
    FitNumberColumns();
}

void TCandidateGrid::FitNumberColumns()
{
    const TCandidateTable &table = m_model->Table();
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 4);
    const auto fit = [&](int column, const QString &cell, const QString &header) {
        const int needed = std::max(fontMetrics().horizontalAdvance(cell),
                                    horizontalHeader()->fontMetrics().horizontalAdvance(header));
        setColumnWidth(column,
                       std::max(ScaledExtent(DesignWidth(column), m_scale), needed + margin));
    };
    // Digits drawn as the widest one.
    const auto widest = [](std::string text) {
        for (char &ch : text) {
            if (ch >= '0' && ch <= '9')
                ch = '8';
        }
        return ToQ(text);
    };
    // The labels the rows show are numbered by the sweep, those of the filtered grid included.
    const std::size_t count = table.store ? table.store->Size() : 0;
    fit(CandidateColumn::Number,
        widest(CandidateLabel(static_cast<std::int32_t>(count), table.context.labelDigits)),
        m_model->headerData(CandidateColumn::Number, Qt::Horizontal, Qt::DisplayRole).toString());
    // Ra: the text of the largest force in the rounding of the sweep, and the header with a mark.
    const double largest = table.store ? table.store->LargestRa() : 0;
    fit(CandidateColumn::Ra, widest(RaText(largest, table.context.rounding)),
        ToQ(PadLeft("Ra(kN)▲", " ", 8)));
}
