#include "candidate.h"

#include "geometry.h"

#include <algorithm>

TCandidateStore::TCandidateStore(TSweepAxes axes, bool withSoil)
    : m_axes(std::move(axes))
    , m_withSoil(withSoil)
{ }

void TCandidateStore::Reserve(std::size_t count)
{
    m_side.resize(count);
    m_tip.resize(count);
    if (m_withSoil)
        m_soil.resize(count);
    m_coefficientIndex.resize(count);
}

std::uint32_t TCandidateStore::AddCoefficients(double c1, double c2)
{
    m_coefficients.push_back({c1, c2});
    return static_cast<std::uint32_t>(m_coefficients.size() - 1);
}

void TCandidateStore::Cut(std::size_t count)
{
    if (count < Size()) {
        const auto cut = [count](auto &column) {
            if (column.empty())
                return;
            column.resize(count);
            column.shrink_to_fit();
        };
        cut(m_side);
        cut(m_tip);
        cut(m_soil);
        cut(m_coefficientIndex);
    }
}

void TCandidateStore::Finish(std::size_t count)
{
    Cut(count);
    m_largestRa = 0;
    for (std::size_t i = 0; i < Size(); ++i)
        m_largestRa = std::max(m_largestRa, Ra(i));
}

void TCandidateStore::Finish(std::size_t count, double largestRa)
{
    Cut(count);
    m_largestRa = largestRa;
}

double TCandidateStore::SizeD(std::size_t index) const
{
    const TSweepPosition p = m_axes.Position(static_cast<std::int64_t>(index));
    const auto [d, c] = m_axes.SizeCells(p);
    return SectionGeometry(m_axes.SectionType(p), d, c).d;
}

TOptCandidate TCandidateStore::Row(std::size_t index) const
{
    const TSweepPosition p = m_axes.Position(static_cast<std::int64_t>(index));
    TOptCandidate row;
    const auto [d, c] = m_axes.SizeCells(p);
    const TSectionGeometry geometry = SectionGeometry(m_axes.SectionType(p), d, c);
    row.d = geometry.d;
    row.c = geometry.c;
    row.socketSide = m_side[index];
    row.socketTip = m_tip[index];
    row.socketTotal = row.socketTip + row.socketSide;
    row.soilSide = m_withSoil ? m_soil[index] : 0.0;
    row.Ra = row.socketTotal + row.soilSide;
    row.hi = m_axes.Thickness(p);
    row.frk = m_axes.Frk(p);
    const auto &[c1, c2] = m_coefficients[m_coefficientIndex[index]];
    row.c1 = c1;
    row.c2 = c2;
    row.sequence = static_cast<std::int32_t>(index + 1);
    row.section = p.code;
    row.weathering = static_cast<std::uint8_t>(m_axes.Weathering(p));
    row.basis = static_cast<std::uint8_t>(m_axes.Basis(p));
    if (row.basis == 1)
        row.grade = static_cast<std::uint8_t>(m_axes.Grade(p));
    else
        row.kv = m_axes.Index(p);
    return row;
}
