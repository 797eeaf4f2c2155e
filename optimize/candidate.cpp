#include "candidate.h"

#include "decimal_reader.h"
#include "number_format.h"
#include "pile_items.h"
#include "result_texts.h"
#include "text_columns.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

struct TColumnHeading
{
    std::string_view text;
    std::string_view name;
};

constexpr std::array<TColumnHeading, CandidateColumn::Count> Headings {{
    {"桩编号", "01_Str_YHzhuangbianhao"},
    {"截面类型", "02_Str_YHjiemianleixing"},
    {"d|a(mm)", "03_Str_YHzhuangD"},
    {"c|b(mm)", "04_Str_YHtuoyuanzhiduanC"},
    {"Ra(kN)", "05_Str_YHRa"},
    {"hr(m)", "06_Str_YHzhuangHr"},
    {"frk(MPa)", "07_Str_YHfrk"},
    {"风化程度", "08_Str_YHfhcd"},
    {"插值依据", "09_Str_YHczyj"},
    {"完整程度", "10_Str_YHwzcd"},
    {"系数 c1", "11_Str_YHxishuc1"},
    {"系数 c2", "12_Str_YHxishuc2"},
    {"Qsr(kN)", "13_Str_YHQrs"},
    {"侧阻占比", "14_Str_YHQrsper"},
    {"Qpr(kN)", "15_Str_YHQrp"},
    {"端阻占比", "16_Str_YHQrpper"},
    {"Qrk(kN)", "17_Str_YHQrk"},
    {"Rsk(kN)", "18_Str_YHRsk"},
    {"土侧阻占比", "19_Str_YHRskper"},
    {"备注", "20_Str_YHBeizhu"},
}};

// The forces as their grid cells give them back.
struct TForces
{
    double side = 0; // kN
    double tip = 0;
    double total = 0;
    double soil = 0;
};

TForces CellForces(const TOptCandidate &row)
{
    return {CellValue(row.socketSide), CellValue(row.socketTip), CellValue(row.socketTotal),
            CellValue(row.soilSide)};
}

// The three shares of Ra in whole percent. With overburden the tip and soil shares are read back
// from their texts and the socket side takes the rest, so that the three add up to 100; without
// it the side and tip shares are each rounded on their own.
struct TShareTexts
{
    std::string side;
    std::string tip;
    std::string soil;
};

TShareTexts ShareTexts(const TForces &forces, const TCandidateContext &context)
{
    const long double tip = forces.tip;
    const long double total = forces.total;
    TShareTexts shares;
    if (context.withOverburden) {
        const long double soil = forces.soil;
        const long double ra = total + soil;
        shares.tip = CandidateFixed(static_cast<double>(100 * tip / ra), 0);
        shares.soil = CandidateFixed(static_cast<double>(100 * soil / ra), 0);
        const double tp = ReadDecimal(shares.tip).value_or(0);
        const double rp = ReadDecimal(shares.soil).value_or(0);
        shares.side = CandidateFixed(100 - tp - rp, 0) + "%";
        shares.tip += "%";
        shares.soil += "%";
    } else {
        shares.side = CandidateFixed(static_cast<double>((1 - tip / total) * 100), 0) + "%";
        shares.tip = CandidateFixed(static_cast<double>(100 * tip / total), 0) + "%";
        shares.soil = "-";
    }
    return shares;
}

// The texts that come from the forces: columns 12 to 18.
void FillForceTexts(const TOptCandidate &row, const TCandidateContext &context,
                    TCandidateTexts &texts)
{
    using namespace CandidateColumn;
    const TForces forces = CellForces(row);
    texts[Qsr] = CandidateFixed(forces.side, 0);
    texts[Qpr] = CandidateFixed(forces.tip, 0);
    texts[Qrk] = CandidateFixed(forces.total, 0);
    texts[Rsk] = context.withOverburden ? CandidateFixed(forces.soil, 0) : "-";
    TShareTexts shares = ShareTexts(forces, context);
    texts[SideShare] = std::move(shares.side);
    texts[TipShare] = std::move(shares.tip);
    texts[SoilShare] = std::move(shares.soil);
}

} // namespace

std::string_view CandidateHeaderText(int column)
{
    return Headings.at(column).text;
}

std::string CandidateHeader(int column)
{
    return PadLeft(CandidateHeaderText(column), " ", 8);
}

std::string_view CandidateColumnName(int column)
{
    return Headings.at(column).name;
}

std::string_view SectionLabel(TOptSection section)
{
    switch (section) {
    case TOptSection::Circle:
        return "圆  桩";
    case TOptSection::Ellipse:
        return "椭圆桩";
    case TOptSection::Rectangle:
        return "矩形桩";
    case TOptSection::Square:
        return "方  桩";
    }
    return {};
}

std::string CandidateLabel(std::int32_t sequence, int labelDigits)
{
    if (labelDigits == 0)
        return std::to_string(sequence);
    return "ZH-" + PadLeft(std::to_string(sequence), "0", labelDigits);
}

std::string CandidateText(const TOptCandidate &row, const TCandidateContext &context, int column)
{
    using namespace CandidateColumn;
    switch (column) {
    case Number:
        return CandidateLabel(row.sequence, context.labelDigits);
    case Section:
        return std::string(SectionLabel(row.section));
    case SizeD:
        return GeneralText(row.d);
    case SizeC:
        return row.section == TOptSection::Circle ? "-" : GeneralText(row.c);
    case Ra:
        return RaText(row.Ra, context.rounding);
    case Hr:
        return CandidateFixed(row.hi, 2);
    case Frk:
        return CandidateFixed(row.frk, 2);
    case Weathering:
        return std::string(PileItems::Weatherings.at(row.weathering - 1));
    case Basis:
        return std::to_string(row.basis);
    case Integrity:
        if (row.basis == 1)
            return std::string(PileItems::Grades.at(row.grade - 1));
        return CandidateFixed(row.kv, 2);
    case C1:
        return CandidateFixed(CellValue(row.c1), 3);
    case C2:
        return CandidateFixed(CellValue(row.c2), 3);
    case Qsr:
    case SideShare:
    case Qpr:
    case TipShare:
    case Qrk:
    case Rsk:
    case SoilShare: {
        TCandidateTexts texts;
        FillForceTexts(row, context, texts);
        return std::move(texts[column]);
    }
    default:
        return {};
    }
}

TCandidateTexts CandidateTexts(const TOptCandidate &row, const TCandidateContext &context)
{
    return TCandidateTextMaker(context).Texts(row);
}

TCandidateTextMaker::TCandidateTextMaker(const TCandidateContext &context)
    : m_context(context)
{ }

const TCandidateTexts &TCandidateTextMaker::Texts(const TOptCandidate &row)
{
    using namespace CandidateColumn;
    const auto general = [](double value) { return GeneralText(value); };
    const auto fixed2 = [](double value) { return CandidateFixed(value, 2); };
    const auto coefficient = [](double value) { return CandidateFixed(CellValue(value), 3); };
    m_texts[Number] = CandidateLabel(row.sequence, m_context.labelDigits);
    m_texts[Section] = SectionLabel(row.section);
    m_texts[SizeD] = m_d.Text(row.d, general);
    if (row.section == TOptSection::Circle)
        m_texts[SizeC] = "-";
    else
        m_texts[SizeC] = m_c.Text(row.c, general);
    m_texts[Hr] = m_hr.Text(row.hi, fixed2);
    m_texts[Frk] = m_frk.Text(row.frk, fixed2);
    m_texts[Weathering] = CandidateText(row, m_context, Weathering);
    m_texts[Basis] = CandidateText(row, m_context, Basis);
    if (row.basis == 1)
        m_texts[Integrity] = CandidateText(row, m_context, Integrity);
    else
        m_texts[Integrity] = m_kv.Text(row.kv, fixed2);
    m_texts[C1] = m_c1.Text(row.c1, coefficient);
    m_texts[C2] = m_c2.Text(row.c2, coefficient);
    const std::array<std::uint64_t, 5> forces {
        std::bit_cast<std::uint64_t>(row.Ra), std::bit_cast<std::uint64_t>(row.socketSide),
        std::bit_cast<std::uint64_t>(row.socketTip), std::bit_cast<std::uint64_t>(row.socketTotal),
        std::bit_cast<std::uint64_t>(row.soilSide)};
    if (!m_forcesFilled || forces != m_forces) {
        m_forcesFilled = true;
        m_forces = forces;
        m_texts[Ra] = RaText(row.Ra, m_context.rounding);
        FillForceTexts(row, m_context, m_texts);
    }
    m_texts[Remark].clear();
    return m_texts;
}

namespace {

// The Ra text read back, made by the text itself.
double RaTextValue(double Ra, TRoundingMode rounding)
{
    return ReadDecimal(RaText(Ra, rounding)).value_or(std::numeric_limits<double>::quiet_NaN());
}

// The nearest whole number to x when x is clearly not halfway between two (by more than the
// error of the arithmetic that gave x); nullopt otherwise.
std::optional<double> ClearRound(double x)
{
    const double below = std::floor(x);
    const double fraction = x - below;
    if (std::fabs(fraction - 0.5) < 1e-6)
        return std::nullopt;
    return fraction < 0.5 ? below : below + 1;
}

// The whole part of x when x is clearly not near a whole number; nullopt otherwise.
std::optional<double> ClearTruncate(double x)
{
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction < 1e-6 || fraction > 1 - 1e-6)
        return std::nullopt;
    return below;
}

// The Ra text's value worked out in binary for the usual forces, 1 to 9,999,990 kN, away from the
// places where the decimal rounding of the text could go either way; nullopt elsewhere. The text
// shows at most 7 significant digits and the decimals of the rounding mode; tens and hundreds are
// cut, not rounded.
std::optional<double> QuickRaValue(double Ra, TRoundingMode rounding)
{
    if (!(Ra >= 1 && Ra < 9'999'990))
        return std::nullopt;
    if (rounding == TRoundingMode::Tens || rounding == TRoundingMode::Hundreds) {
        const double step = rounding == TRoundingMode::Tens ? 10 : 100;
        const auto whole = ClearTruncate(Ra / step);
        return whole ? std::optional(*whole * step) : std::nullopt;
    }
    int digits = 1; // before the decimal point
    for (double power = 10; power <= Ra; power *= 10)
        ++digits;
    for (double power = 1; power <= 1e7; power *= 10) {
        if (std::fabs(Ra - power) < power * 1e-9)
            return std::nullopt; // the digit count could change with rounding
    }
    const int decimals = std::min(ModeDecimals(rounding), 7 - digits);
    const double scale = decimals == 2 ? 100 : decimals == 1 ? 10 : 1;
    const auto scaled = ClearRound(Ra * scale);
    return scaled ? std::optional(*scaled / scale) : std::nullopt;
}

} // namespace

double RaValue(double Ra, TRoundingMode rounding)
{
    if (const auto quick = QuickRaValue(Ra, rounding))
        return *quick;
    return RaTextValue(Ra, rounding);
}

double RaValue(const TOptCandidate &row, const TCandidateContext &context)
{
    return RaValue(row.Ra, context.rounding);
}

std::string CandidateFixed(double value, int decimals)
{
    return FormatFixed(value, 10, decimals);
}

int DecimalDigits(std::int64_t count)
{
    int digits = 1;
    for (; count >= 10; count /= 10)
        ++digits;
    return digits;
}
