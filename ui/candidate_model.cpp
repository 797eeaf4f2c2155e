#include "candidate_model.h"

#include "qt_text.h"

#include <algorithm>

TCandidateModel::TCandidateModel(const QString &columnPrefix, QObject *parent)
    : QAbstractTableModel(parent)
    , m_columnPrefix(columnPrefix)
{
    for (int column = 0; column < CandidateColumn::Count; ++column)
        m_headers.append(ToQ(CandidateHeader(column)));
}

int TCandidateModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int TCandidateModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : CandidateColumn::Count;
}

const TCandidateTexts &TCandidateModel::RowTexts(int row) const
{
    if (row != m_textsRow || !m_texts) {
        if (!m_maker)
            m_maker = std::make_unique<TCandidateTextMaker>(m_table.context);
        m_texts = &m_maker->Texts(m_table.Row(static_cast<std::size_t>(row)));
        m_textsRow = row;
    }
    return *m_texts;
}

QString TCandidateModel::Text(int row, int column) const
{
    return ToQ(RowTexts(row)[column]);
}

QVariant TCandidateModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return Text(m_first + index.row(), index.column());
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(index.column() == CandidateColumn::Remark
                                       ? Qt::AlignLeft | Qt::AlignVCenter
                                       : Qt::AlignCenter);
    }
    return {};
}

QVariant TCandidateModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= CandidateColumn::Count)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_headers.at(section);
    if (role == Qt::UserRole) // the column's name
        return m_columnPrefix + ToQ(CandidateColumnName(section));
    return {};
}

TSortClick TCandidateModel::ClickHeader(TSortState &state, int column)
{
    emit layoutAboutToBeChanged();
    TSortClick click = ::ClickHeader(m_table, state, column);
    m_textsRow = -1;
    emit layoutChanged();
    return click;
}

void TCandidateModel::SetOrder(TCandidateTable table)
{
    emit layoutAboutToBeChanged();
    m_table = std::move(table);
    m_textsRow = -1;
    emit layoutChanged();
}

void TCandidateModel::SetTable(TCandidateTable table)
{
    beginResetModel();
    m_table = std::move(table);
    m_first = 0;
    m_shown = std::min(Rows(), m_room);
    m_maker.reset(); // the context may differ
    m_textsRow = -1;
    m_texts = nullptr;
    endResetModel();
}

void TCandidateModel::SetWindow(int first, int room)
{
    const int shown = std::clamp(Rows() - first, 0, room);
    const bool moved = first != m_first;
    m_first = first;
    m_room = room;
    if (shown < m_shown) {
        beginRemoveRows({}, shown, m_shown - 1);
        m_shown = shown;
        endRemoveRows();
    } else if (shown > m_shown) {
        beginInsertRows({}, m_shown, shown - 1);
        m_shown = shown;
        endInsertRows();
    }
    if (moved && m_shown > 0)
        emit dataChanged(index(0, 0), index(m_shown - 1, CandidateColumn::Count - 1));
}

void TCandidateModel::Clear()
{
    SetTable({});
}

void TCandidateModel::SetHeader(int column, const QString &text)
{
    m_headers[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}
