#pragma once

#include "opt_options.h"
#include "pile_input.h"

#include <array>
#include <cstdint>
#include <vector>

// Option codes of the section types.
enum class TOptSection : std::uint8_t { Circle = 1, Ellipse = 2, Rectangle = 3, Square = 4 };

// Where a candidate stands in the ranges of a sweep: an index into each value list.
struct TSweepPosition
{
    int section = 0; // into the section codes
    TOptSection code = TOptSection::Circle;
    int size = 0; // diameter, long side or square side
    int size2 = 0; // ellipse length or short side
    int depth = 0;
    int frk = 0;
    int weathering = 0;
    int basis = 0; // into the basis codes
    int inner = 0; // into the grades (basis 1) or the integrity indexes (basis 2)
};

// The values of the ranges of one sweep, in the order the sweep visits them, so that the position
// of a candidate is its running number and every value it was calculated with follows from it.
class TSweepAxes
{
public:
    TSweepAxes() = default;
    explicit TSweepAxes(const TOptSettings &settings);

    std::int64_t Count() const { return m_count; }
    TSweepPosition Position(std::int64_t index) const;
    // Moves a position to the next candidate's: Position(index + 1) from Position(index), for an
    // index before the last.
    void Advance(TSweepPosition &p) const;
    // Candidates of one section size are neighbours: the number of the size a candidate has,
    // counted over all sections.
    std::int64_t SizeSlot(std::int64_t index) const { return index / m_perSize; }

    TSectionType SectionType(const TSweepPosition &p) const;
    // The size texts the input page receives: d and c (the sides a and b of a rectangle).
    std::array<double, 2> Sizes(const TSweepPosition &p) const
    {
        return Pair(p, &TSizeAxis::values);
    }
    // Those sizes as the calculation reads them back from their general-form texts.
    std::array<double, 2> SizeCells(const TSweepPosition &p) const
    {
        return Pair(p, &TSizeAxis::cells);
    }
    // The socket thickness hi, m: the depth, or the depth times the diameter, the shorter side or
    // the square's side.
    double Thickness(const TSweepPosition &p) const;
    double Frk(const TSweepPosition &p) const { return m_frks[p.frk]; } // MPa
    int Weathering(const TSweepPosition &p) const { return m_weatherings[p.weathering]; }
    int Basis(const TSweepPosition &p) const { return m_bases[p.basis]; }
    int Grade(const TSweepPosition &p) const { return m_grades[p.inner]; } // basis 1
    double Index(const TSweepPosition &p) const { return m_indexes[p.inner]; } // basis 2
    // The innermost values of one weathering, every basis with its values: `InnerCount` of them,
    // the candidate's among them at `InnerSlot`.
    int InnerCount() const { return static_cast<int>(m_innermost); }
    int InnerSlot(const TSweepPosition &p) const { return m_basisStarts[p.basis] + p.inner; }
    // The position of the first candidate with this weathering and inner slot.
    TSweepPosition InnerPosition(int weathering, int slot) const;
    int WeatheringCount() const { return static_cast<int>(m_weatherings.size()); }

    // The integrity cell that candidate `index` does not read, as earlier candidates left it: the
    // grade code (under basis 2) or the index (under basis 1) of the last candidate before it with
    // the other basis; false when there is none and the input page keeps its own.
    bool LeftGrade(std::int64_t index, const TSweepPosition &p, int &grade) const;
    bool LeftIndex(std::int64_t index, const TSweepPosition &p, double &kv) const;

private:
    struct TSizeAxis
    {
        std::vector<double> values; // mm
        std::vector<double> cells; // read back from their texts
    };
    // The two sizes of the candidate's section from `list` of each size axis.
    std::array<double, 2> Pair(const TSweepPosition &p, std::vector<double> TSizeAxis::*list) const;
    // The last position before `p` in its innermost loop, or in the loop before it, whose basis
    // code is `code`; -1 when there is none.
    int LastBasisBefore(std::int64_t index, const TSweepPosition &p, int code) const;

    std::vector<int> m_sections;
    std::vector<std::int64_t> m_sectionStarts; // first running index of each section code, and end
    TSizeAxis m_diameters, m_ellipseLengths, m_rectLongs, m_rectShorts, m_squareSides;
    std::vector<double> m_depths;
    bool m_depthInMultiples = false;
    std::vector<double> m_frks;
    std::vector<int> m_weatherings, m_bases, m_grades;
    std::vector<double> m_indexes;
    std::vector<int> m_basisStarts; // first innermost index of each basis, and end
    std::int64_t m_innermost = 0; // candidates of one weathering: every basis with its values
    std::int64_t m_perSize = 0; // candidates of one section size
    std::int64_t m_count = 0;
};
