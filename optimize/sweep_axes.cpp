#include "sweep_axes.h"

#include "number_format.h"

namespace {

template<typename T>
std::vector<T> Values(const TOptRange<T> &range)
{
    std::vector<T> values;
    values.reserve(static_cast<std::size_t>(range.count));
    ForEachValue(range, [&values](T value) { values.push_back(value); });
    return values;
}

std::int64_t Size(const auto &values)
{
    return static_cast<std::int64_t>(values.size());
}

} // namespace

TSweepAxes::TSweepAxes(const TOptSettings &s)
    : m_sections(Values(s.sectionTypes))
    , m_depths(Values(s.socketDepth))
    , m_depthInMultiples(s.socketDepthInMultiples)
    , m_frks(Values(s.frkRange))
    , m_weatherings(Values(s.weatheringCodes))
    , m_bases(Values(s.basisCodes))
    , m_grades(Values(s.gradeCodes))
    , m_indexes(Values(s.indexRange))
{
    const auto axis = [](const TOptValueRange &range) {
        TSizeAxis sizes;
        sizes.values = Values(range);
        sizes.cells.reserve(sizes.values.size());
        for (const double value : sizes.values)
            sizes.cells.push_back(CellValue(value));
        return sizes;
    };
    // Only the sizes of the chosen sections are listed.
    for (const int code : m_sections) {
        if (code == 1 || code == 2) {
            if (m_diameters.values.empty())
                m_diameters = axis(s.diameter);
            if (code == 2 && m_ellipseLengths.values.empty())
                m_ellipseLengths = axis(s.ellipseLength);
        } else if (code == 3) {
            if (m_rectLongs.values.empty()) {
                m_rectLongs = axis(s.rectLong);
                m_rectShorts = axis(s.rectShort);
            }
        } else if (m_squareSides.values.empty()) {
            m_squareSides = axis(s.squareSide);
        }
    }
    m_basisStarts.push_back(0);
    for (const int basis : m_bases)
        m_basisStarts.push_back(
            m_basisStarts.back()
            + static_cast<int>(basis == 1 ? m_grades.size() : m_indexes.size()));
    m_innermost = m_basisStarts.back();
    m_perSize = Size(m_depths) * Size(m_frks) * Size(m_weatherings) * m_innermost;
    m_sectionStarts.push_back(0);
    for (const int code : m_sections) {
        std::int64_t sizes = 0;
        switch (code) {
        case 1:
            sizes = Size(m_diameters.values);
            break;
        case 2:
            sizes = Size(m_diameters.values) * Size(m_ellipseLengths.values);
            break;
        case 3:
            sizes = Size(m_rectLongs.values) * Size(m_rectShorts.values);
            break;
        default:
            sizes = Size(m_squareSides.values);
            break;
        }
        m_sectionStarts.push_back(m_sectionStarts.back() + sizes * m_perSize);
    }
    m_count = m_sectionStarts.back();
}

TSweepPosition TSweepAxes::Position(std::int64_t index) const
{
    TSweepPosition p;
    while (index >= m_sectionStarts[p.section + 1])
        ++p.section;
    p.code = static_cast<TOptSection>(m_sections[p.section]);
    const std::int64_t local = index - m_sectionStarts[p.section];
    const std::int64_t size = local / m_perSize;
    if (p.code == TOptSection::Ellipse) {
        p.size = static_cast<int>(size / Size(m_ellipseLengths.values));
        p.size2 = static_cast<int>(size % Size(m_ellipseLengths.values));
    } else if (p.code == TOptSection::Rectangle) {
        p.size = static_cast<int>(size / Size(m_rectShorts.values));
        p.size2 = static_cast<int>(size % Size(m_rectShorts.values));
    } else {
        p.size = static_cast<int>(size);
    }
    std::int64_t rest = local % m_perSize;
    const std::int64_t perDepth = m_perSize / Size(m_depths);
    p.depth = static_cast<int>(rest / perDepth);
    rest %= perDepth;
    const std::int64_t perFrk = perDepth / Size(m_frks);
    p.frk = static_cast<int>(rest / perFrk);
    rest %= perFrk;
    p.weathering = static_cast<int>(rest / m_innermost);
    const int inner = static_cast<int>(rest % m_innermost);
    while (inner >= m_basisStarts[p.basis + 1])
        ++p.basis;
    p.inner = inner - m_basisStarts[p.basis];
    return p;
}

void TSweepAxes::Advance(TSweepPosition &p) const
{
    // An odometer over the loops, innermost first; a basis without values is passed over as
    // Position passes it.
    const auto nextBasis = [this, &p] {
        while (++p.basis < Size(m_bases)) {
            if (m_basisStarts[p.basis + 1] > m_basisStarts[p.basis])
                return true;
        }
        return false;
    };
    ++p.inner;
    if (m_basisStarts[p.basis] + p.inner < m_basisStarts[p.basis + 1])
        return;
    p.inner = 0;
    if (nextBasis())
        return;
    p.basis = -1;
    nextBasis();
    if (++p.weathering < Size(m_weatherings))
        return;
    p.weathering = 0;
    if (++p.frk < Size(m_frks))
        return;
    p.frk = 0;
    if (++p.depth < Size(m_depths))
        return;
    p.depth = 0;
    if (p.code == TOptSection::Ellipse || p.code == TOptSection::Rectangle) {
        const auto &second =
            p.code == TOptSection::Ellipse ? m_ellipseLengths.values : m_rectShorts.values;
        if (++p.size2 < Size(second))
            return;
        p.size2 = 0;
    }
    const auto &first = p.code == TOptSection::Circle || p.code == TOptSection::Ellipse
        ? m_diameters.values
        : p.code == TOptSection::Rectangle ? m_rectLongs.values
                                           : m_squareSides.values;
    if (++p.size < Size(first))
        return;
    p.size = 0;
    // The next section with candidates.
    do
        ++p.section;
    while (m_sectionStarts[p.section + 1] == m_sectionStarts[p.section]);
    p.code = static_cast<TOptSection>(m_sections[p.section]);
}

TSweepPosition TSweepAxes::InnerPosition(int weathering, int slot) const
{
    TSweepPosition p;
    p.weathering = weathering;
    while (slot >= m_basisStarts[p.basis + 1])
        ++p.basis;
    p.inner = slot - m_basisStarts[p.basis];
    return p;
}

TSectionType TSweepAxes::SectionType(const TSweepPosition &p) const
{
    switch (p.code) {
    case TOptSection::Circle:
        return TSectionType::Circle;
    case TOptSection::Ellipse:
        return TSectionType::Ellipse;
    default:
        return TSectionType::Rectangle;
    }
}

std::array<double, 2> TSweepAxes::Pair(const TSweepPosition &p,
                                       std::vector<double> TSizeAxis::*list) const
{
    switch (p.code) {
    case TOptSection::Circle:
        return {(m_diameters.*list)[p.size], 0};
    case TOptSection::Ellipse:
        return {(m_diameters.*list)[p.size], (m_ellipseLengths.*list)[p.size2]};
    case TOptSection::Rectangle:
        return {(m_rectLongs.*list)[p.size], (m_rectShorts.*list)[p.size2]};
    case TOptSection::Square:
        return {(m_squareSides.*list)[p.size], (m_squareSides.*list)[p.size]};
    }
    return {};
}

double TSweepAxes::Thickness(const TSweepPosition &p) const
{
    const auto [first, second] = Sizes(p);
    // A multiple refers to the diameter, the shorter side or the square's side.
    const double size = p.code == TOptSection::Rectangle && second < first ? second : first;
    const double depth = m_depths[p.depth];
    const long double mm = m_depthInMultiples ? static_cast<long double>(depth) * size : depth;
    return static_cast<double>(mm / 1000);
}

int TSweepAxes::LastBasisBefore(std::int64_t index, const TSweepPosition &p, int code) const
{
    for (int b = p.basis; b-- > 0;) {
        if (m_bases[b] == code)
            return b;
    }
    if (index < m_innermost)
        return -1;
    for (int b = static_cast<int>(m_bases.size()); b-- > 0;) {
        if (m_bases[b] == code)
            return b;
    }
    return -1;
}

bool TSweepAxes::LeftGrade(std::int64_t index, const TSweepPosition &p, int &grade) const
{
    if (LastBasisBefore(index, p, 1) < 0 || m_grades.empty())
        return false;
    grade = m_grades.back();
    return true;
}

bool TSweepAxes::LeftIndex(std::int64_t index, const TSweepPosition &p, double &kv) const
{
    if (LastBasisBefore(index, p, 2) < 0 || m_indexes.empty())
        return false;
    kv = m_indexes.back();
    return true;
}
