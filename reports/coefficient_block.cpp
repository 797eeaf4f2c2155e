#include "coefficient_block.h"

#include "coefficients.h"
#include "decimal_reader.h"
#include "number_format.h"
#include "soil_factor.h"

#include <cmath>

namespace {

double ValueOf(const std::string &text)
{
    return ReadDecimal(text).value_or(0);
}

std::string Fixed(double value, int decimals)
{
    return FormatFixed(value, 15, decimals);
}

// The end points of the straight line an automatic coefficient was read from; none for a value
// taken straight from a table row.
struct TLine
{
    bool interpolated = false;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

struct TIndexLines
{
    TLine c1;
    TLine c2;
};

TIndexLines IndexLines(double kv)
{
    if (kv > 0.750001 || kv <= 0.350001)
        return {};
    if (kv > 0.550001)
        return {{true, 0.55, 0.5, 0.75, 0.6}, {true, 0.55, 0.04, 0.75, 0.05}};
    return {{true, 0.35, 0.4, 0.55, 0.5}, {true, 0.35, 0.03, 0.55, 0.04}};
}

class TBlock
{
public:
    TBlock(const TPileInput &input, const TPileResult &result)
        : m_input(input)
        , m_result(result)
    { }

    std::vector<std::string> Lines()
    {
        Add("系数取值");
        const std::size_t count = std::min(m_input.rockLayers.size(), m_result.rockResults.size());
        for (std::size_t i = 0; i < count; ++i)
            RockLayer(i);
        SoilFactorLines();
        FormulaLines();
        return std::move(m_lines);
    }

private:
    void Add(std::string line) { m_lines.push_back(std::move(line)); }

    bool Thin() const { return m_result.h < 0.5; }

    std::string ThinReason() const { return "嵌岩深度h=" + Fixed(m_result.h, 2) + " m<0.5 m"; }

    void RockLayer(std::size_t i)
    {
        const TRockLayer &rock = m_input.rockLayers[i];
        const TRockLayerResult &r = m_result.rockResults[i];
        const std::string n = std::to_string(i + 1);
        std::string head = "  岩层" + n + "：hi=" + rock.hi + " m，" + rock.weathering + "，";
        if (m_input.coefMode != TCoefMode::Specified) {
            head += m_input.interpBasis == TInterpBasis::IntegrityGrade
                ? rock.integrityGrade
                : "Kv=" + rock.integrityIndex;
            head += "，";
        }
        head += "frk=" + rock.frk + " MPa（" + r.hardnessClass + "）";
        Add(head);
        if (m_input.coefMode == TCoefMode::Specified) {
            Specified("c1", rock.c1Specified, r.c1, false);
            Specified("c2", rock.c2Specified, r.c2, true);
            return;
        }
        Automatic(i, true);
        Automatic(i, false);
    }

    void Specified(const char *name, const std::string &typed, double used, bool side)
    {
        std::string line = std::string("    ") + name + " = " + CoefficientText(ValueOf(typed))
            + "：人工指定（输入“" + typed + "”），不折减";
        Add(line);
        if (side && Thin())
            Add(std::string("    ") + name + " = 0：" + ThinReason() + "，不计嵌岩段侧阻力");
        Add(std::string("    采用 ") + name + " = " + CoefficientText(used));
    }

    // The automatic value with its source, its reductions, and for the modes that weigh it
    // against the specified value the comparison.
    void Automatic(std::size_t i, bool tip)
    {
        const TRockLayer &rock = m_input.rockLayers[i];
        const TRockLayerResult &r = m_result.rockResults[i];
        const char *name = tip ? "c1" : "c2";
        double value = 0;
        std::string source;
        if (m_input.interpBasis == TInterpBasis::IntegrityGrade) {
            const auto byGrade = CoefficientsByGrade(rock.integrityGrade);
            value = byGrade ? (tip ? byGrade->c1 : byGrade->c2) : 0;
            source = "完整程度“" + rock.integrityGrade + "”查表";
        } else {
            const double kv = ValueOf(rock.integrityIndex);
            const TAutoCoefficients automatic = CoefficientsByIndex(kv);
            value = tip ? automatic.c1 : automatic.c2;
            const TIndexLines lines = IndexLines(kv);
            const TLine &line = tip ? lines.c1 : lines.c2;
            source = "Kv=" + rock.integrityIndex + "属" + std::string(automatic.integrityText);
            if (line.interpolated) {
                source += "，在(" + Fixed(line.x0, 2) + ", " + CoefficientText(line.y0) + ")与("
                    + Fixed(line.x1, 2) + ", " + CoefficientText(line.y1) + ")间线性插值";
            } else {
                source += "，查表";
            }
        }
        Add(std::string("    ") + name + " = " + CoefficientText(value) + "：" + source);
        // The reductions in the order the calculation applies them.
        std::string factors;
        double reduced = value;
        if (Thin()) {
            if (tip) {
                factors += " × 0.75（" + ThinReason() + "）";
                reduced = static_cast<double>(reduced * 0.75L);
            } else {
                factors += " → 0（" + ThinReason() + "，不计嵌岩段侧阻力）";
                reduced = 0;
            }
        }
        if (rock.weathering == "中风化") {
            factors += " × 0.75（中风化）";
            reduced = static_cast<double>(reduced * 0.75L);
        }
        if (m_input.boredPile) {
            factors += " × 0.8（钻孔桩）";
            reduced = static_cast<double>(reduced * 0.8L);
        }
        if (!factors.empty())
            Add("     " + factors + " = " + CoefficientText(reduced));
        else
            Add("      不折减");
        const double used = tip ? r.c1 : r.c2;
        if (m_input.coefMode == TCoefMode::Interpolated) {
            Add(std::string("    采用 ") + name + " = " + CoefficientText(used));
            return;
        }
        const std::string &typed = tip ? rock.c1Specified : rock.c2Specified;
        const double specified = ValueOf(typed);
        const bool larger = m_input.coefMode == TCoefMode::LargerOfBoth;
        const bool adopted = larger ? specified >= reduced : specified <= reduced;
        Add(std::string("    人工指定 ") + name + " = " + CoefficientText(specified) + "（输入“"
            + typed + "”）" + (larger ? (adopted ? " ≥ " : " < ") : (adopted ? " ≤ " : " > "))
            + CoefficientText(reduced) + "，取两者较" + (larger ? "大" : "小") + "者："
            + (adopted ? "人工指定值" : "自动插值"));
        if (!tip && Thin() && adopted)
            Add(std::string("    ") + name + " = 0：" + ThinReason() + "，不计嵌岩段侧阻力");
        Add(std::string("    采用 ") + name + " = " + CoefficientText(used));
    }

    void SoilFactorLines()
    {
        if (m_input.soilLayers.empty() || m_result.soilResults.empty()) {
            Add("  ζs：无覆盖土层，不计土的侧阻力");
            return;
        }
        const std::size_t m = m_input.rockLayers.size();
        const double frk = ValueOf(m_input.rockLayers.back().frk);
        std::string line = "  ζs = " + CoefficientText(m_result.zetaS) + "：桩端岩层（岩层"
            + std::to_string(m) + "）frk=" + m_input.rockLayers.back().frk + " MPa";
        struct
        {
            double x0, y0, x1, y1;
        } piece {};
        bool interpolated = true;
        if (frk < 15)
            piece = {2, 1.0, 15, 0.8};
        else if (frk < 30)
            piece = {15, 0.8, 30, 0.5};
        else if (frk < 60)
            piece = {30, 0.5, 60, 0.2};
        else
            interpolated = false;
        if (interpolated) {
            line += "，在(" + Fixed(piece.x0, 0) + ", " + CoefficientText(piece.y0) + ")与("
                + Fixed(piece.x1, 0) + ", " + CoefficientText(piece.y1) + ")间线性插值";
        } else {
            line += " ≥ 60 MPa，取下限";
        }
        Add(line);
    }

    void FormulaLines()
    {
        const TPileResult &r = m_result;
        const std::size_t m = std::min(m_input.rockLayers.size(), r.rockResults.size());
        const std::size_t n = std::min(m_input.soilLayers.size(), r.soilResults.size());
        Add("  Ra = c1·Ap·frk + u·Σc2i·hi·frki + ½·ζs·u·Σli·qik");
        Add("  其中 c1     桩端岩层（岩层" + std::to_string(m) + "）的端阻系数，无量纲");
        Add("       Ap     桩身截面面积，m²");
        Add("       frk    桩端岩层的单轴抗压强度，MPa（代入时 ×1000 为 kPa）");
        Add("       u      桩身截面周长，m");
        Add("       c2i    第i岩层的侧阻系数，无量纲");
        Add("       hi     第i岩层的嵌岩厚度，m");
        Add("       frki   第i岩层的单轴抗压强度，MPa（代入时 ×1000 为 kPa）");
        Add("       ζs     覆盖层土的侧阻力发挥系数，无量纲");
        Add("       li     第i土层的厚度，m");
        Add("       qik    第i土层的侧阻力标准值，kPa");
        Add("  代入 Ap = " + Fixed(r.Ap, 4) + " m²，u = " + Fixed(r.u, 4) + " m");
        if (m > 0) {
            const TRockLayer &tip = m_input.rockLayers[m - 1];
            Add("    c1·Ap·frk = " + CoefficientText(r.rockResults[m - 1].c1) + " × "
                + Fixed(r.Ap, 4) + " × " + tip.frk + " × 1000 = " + Fixed(r.socketTip, 2) + " kN");
        }
        for (std::size_t i = 0; i < m; ++i) {
            const TRockLayer &rock = m_input.rockLayers[i];
            Add("    岩层" + std::to_string(i + 1) + " u·c2i·hi·frki = " + Fixed(r.u, 4) + " × "
                + CoefficientText(r.rockResults[i].c2) + " × " + rock.hi + " × " + rock.frk
                + " × 1000 = " + Fixed(r.rockResults[i].Rria, 2) + " kN");
        }
        Add("    u·Σc2i·hi·frki = " + Fixed(r.socketSide, 2) + " kN");
        for (std::size_t j = 0; j < n; ++j) {
            const TSoilLayer &soil = m_input.soilLayers[j];
            Add("    土层" + std::to_string(j + 1) + " ½·ζs·u·li·qik = 0.5 × "
                + CoefficientText(r.zetaS) + " × " + Fixed(r.u, 4) + " × " + soil.li + " × "
                + soil.qik + " = " + Fixed(r.soilResults[j].Rsik, 2) + " kN");
        }
        Add("    ½·ζs·u·Σli·qik = " + Fixed(r.soilSide, 2) + " kN");
        Add("  Ra = " + Fixed(r.socketTip, 2) + " + " + Fixed(r.socketSide, 2) + " + "
            + Fixed(r.soilSide, 2) + " = " + Fixed(r.Ra, 2) + " kN");
    }

    const TPileInput &m_input;
    const TPileResult &m_result;
    std::vector<std::string> m_lines;
};

} // namespace

std::string CoefficientText(double value)
{
    std::string text = FormatFixed(value, 15, 6);
    const std::size_t point = text.find('.');
    if (point == std::string::npos)
        return text;
    std::size_t keep = text.size();
    while (keep > point + 4 && text[keep - 1] == '0')
        --keep;
    text.resize(keep);
    return text;
}

std::vector<std::string> CoefficientBlockLines(const TPileInput &input, const TPileResult &result)
{
    return TBlock(input, result).Lines();
}
