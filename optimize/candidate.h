#pragma once

#include "pile_input.h"
#include "sweep_axes.h"
#include "uninitialized_vector.h"

#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One candidate of a sweep as numbers and codes, rebuilt from the store on demand; its 20 grid
// texts are produced from these and the table's context by CandidateText, and are the texts the
// sweep would have written.
struct TOptCandidate
{
    double d = 0; // mm, as calculated: the diameter, or the longer side of a rectangle
    double c = 0; // mm, as calculated
    double Ra = 0; // kN, unrounded
    double hi = 0; // m, the socket thickness before its 2-decimal text
    double frk = 0; // MPa
    double kv = 0; // integrity index (basis 2)
    double c1 = 0; // coefficients used
    double c2 = 0;
    double socketSide = 0; // kN, as calculated (the texts read them back through their cells)
    double socketTip = 0; // kN
    double socketTotal = 0; // kN
    double soilSide = 0; // kN
    std::int32_t sequence = 0; // running number in the sweep, from 1
    TOptSection section = TOptSection::Circle;
    std::uint8_t weathering = 1; // 1 "微风化", 2 "中风化"
    std::uint8_t basis = 1; // 1 integrity grade, 2 integrity index
    std::uint8_t grade = 1; // 1 "完整" … 5 "极破碎" (basis 1)
};

// What every row of one sweep shares.
struct TCandidateContext
{
    TRoundingMode rounding = TRoundingMode::Units; // of the Ra text
    bool withOverburden = false; // soil columns show figures, not "-"
    int labelDigits = 0; // 0: plain running numbers; else "ZH-" and the number padded to this width
};

// The candidates of one sweep, in the order they were calculated. A candidate keeps only what
// cannot be rebuilt: its position in the ranges is its index, and of the figures the calculation
// produced it keeps the socket's side and tip resistance, the soil's side resistance (with
// overburden) and its coefficients c1 and c2, shared by the candidates that have the same ones.
// The socket's total and Ra are their sums, added as the calculation adds them.
class TCandidateStore
{
public:
    TCandidateStore() = default;
    TCandidateStore(TSweepAxes axes, bool withSoil);

    std::size_t Size() const { return m_side.size(); }
    TOptCandidate Row(std::size_t index) const;
    double Ra(std::size_t index) const // kN, unrounded
    {
        // As the calculation adds them: the socket's total, then the soil.
        const double total = m_tip[index] + m_side[index];
        return total + (m_withSoil ? m_soil[index] : 0.0);
    }
    double SizeD(std::size_t index) const; // mm, as calculated
    std::size_t SizeSlot(std::size_t index) const // the same for candidates of the same size
    {
        return static_cast<std::size_t>(m_axes.SizeSlot(static_cast<std::int64_t>(index)));
    }
    const TSweepAxes &Axes() const { return m_axes; }

    // Filled by the sweep: room for `count` candidates, left unwritten until each is written once
    // at its index (by whichever thread calculated it), a coefficient pair given by its index in
    // the list of pairs; then cut to the candidates kept, which also notes the largest Ra (found
    // here, or given by the sweep that found it while it filled the store).
    void Reserve(std::size_t count);
    void Put(std::size_t index, double socketSide, double socketTip, double soilSide,
             std::uint32_t coefficients)
    {
        m_side[index] = socketSide;
        m_tip[index] = socketTip;
        if (m_withSoil)
            m_soil[index] = soilSide;
        m_coefficientIndex[index] = coefficients;
    }
    std::uint32_t AddCoefficients(double c1, double c2);
    std::size_t CoefficientCount() const { return m_coefficients.size(); }
    void Finish(std::size_t count);
    void Finish(std::size_t count, double largestRa);
    double LargestRa() const { return m_largestRa; } // kN, 0 before Finish

private:
    void Cut(std::size_t count);

    TSweepAxes m_axes;
    bool m_withSoil = false;
    TUninitializedVector<double> m_side; // kN
    TUninitializedVector<double> m_tip; // kN
    TUninitializedVector<double> m_soil; // kN, empty without overburden
    TUninitializedVector<std::uint32_t> m_coefficientIndex;
    std::vector<std::array<double, 2>> m_coefficients; // c1, c2
    double m_largestRa = 0;
};

// Indices into a store; resize() leaves them unwritten.
using TRowOrder = TUninitializedVector<std::uint32_t>;

// The rows of a candidate grid, top down: candidates of one sweep, in the grid's present order. The
// raw and the filtered grid share the sweep's candidates; sorting and filtering only arrange
// indices.
struct TCandidateTable
{
    TCandidateContext context;
    std::shared_ptr<const TCandidateStore> store;
    TRowOrder order; // row k of the grid is (*store)[order[k]]

    std::size_t Size() const { return order.size(); }
    bool Empty() const { return order.empty(); }
    TOptCandidate Row(std::size_t k) const { return store->Row(order[k]); }
};

// Columns of the candidate grids.
namespace CandidateColumn {
inline constexpr int Number = 0;
inline constexpr int Section = 1;
inline constexpr int SizeD = 2;
inline constexpr int SizeC = 3;
inline constexpr int Ra = 4;
inline constexpr int Hr = 5;
inline constexpr int Frk = 6;
inline constexpr int Weathering = 7;
inline constexpr int Basis = 8;
inline constexpr int Integrity = 9;
inline constexpr int C1 = 10;
inline constexpr int C2 = 11;
inline constexpr int Qsr = 12;
inline constexpr int SideShare = 13;
inline constexpr int Qpr = 14;
inline constexpr int TipShare = 15;
inline constexpr int Qrk = 16;
inline constexpr int Rsk = 17;
inline constexpr int SoilShare = 18;
inline constexpr int Remark = 19;
inline constexpr int Count = 20;
} // namespace CandidateColumn

using TCandidateTexts = std::array<std::string, CandidateColumn::Count>;

// The header texts as written (unpadded) and as the grids show them, padded on the left to a
// display width of 8; and the column names that follow the grid's prefix ("Grid2_").
std::string_view CandidateHeaderText(int column);
std::string CandidateHeader(int column);
std::string_view CandidateColumnName(int column);

// The section label of a code: "圆  桩", "椭圆桩", "矩形桩", "方  桩".
std::string_view SectionLabel(TOptSection section);

// The candidate's label in column 0: "7" while numbering is plain, else "ZH-0007".
std::string CandidateLabel(std::int32_t sequence, int labelDigits);

// The fixed form of the rows and of the rock cells the sweep writes: at most 10 significant digits.
std::string CandidateFixed(double value, int decimals);

// The Ra text of a row read back as a number: the key of the filter and of the Ra sort, kN.
double RaValue(const TOptCandidate &row, const TCandidateContext &context);
double RaValue(double Ra, TRoundingMode rounding);

// The texts of recent values, a slot per value chosen by its bits: a sweep formats few distinct
// sizes, depths, strengths and coefficients many times over.
class TValueTexts
{
public:
    template<typename Format>
    const std::string &Text(double value, Format &&format)
    {
        const auto bits = std::bit_cast<std::uint64_t>(value);
        TSlot &slot = m_slots[(bits * 0x9E3779B97F4A7C15ull) >> 58];
        if (!slot.filled || slot.bits != bits) {
            slot.filled = true;
            slot.bits = bits;
            slot.text = format(value);
        }
        return slot.text;
    }

private:
    struct TSlot
    {
        bool filled = false;
        std::uint64_t bits = 0;
        std::string text;
    };
    std::array<TSlot, 64> m_slots;
};

// One text of a row, or all twenty.
std::string CandidateText(const TOptCandidate &row, const TCandidateContext &context, int column);
TCandidateTexts CandidateTexts(const TOptCandidate &row, const TCandidateContext &context);

// The texts of row after row of one table, as CandidateTexts gives them. It keeps the texts of
// the sizes, depths, strengths, Kv and coefficients it formatted, of which a sweep has few distinct
// values, and the force texts of the previous row, so that a long table is written quickly.
class TCandidateTextMaker
{
public:
    explicit TCandidateTextMaker(const TCandidateContext &context);

    const TCandidateTexts &Texts(const TOptCandidate &row);

private:
    TCandidateContext m_context;
    TCandidateTexts m_texts;
    TValueTexts m_d, m_c, m_hr, m_frk, m_kv, m_c1, m_c2;
    // The forces of the previous row, whose texts (Ra and columns 12 to 18) stand in m_texts:
    // neighbouring candidates of equal coefficients often have equal forces.
    bool m_forcesFilled = false;
    std::array<std::uint64_t, 5> m_forces {};
};

// The number of decimal digits of a count (1 for 0 to 9).
int DecimalDigits(std::int64_t count);
