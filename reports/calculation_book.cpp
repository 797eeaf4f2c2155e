#include "calculation_book.h"

#include "column_cells.h"
#include "decimal_reader.h"
#include "number_format.h"
#include "pile_figures.h"
#include "result_texts.h"

#include <algorithm>
#include <array>

namespace {

const std::string Dash39 = "      ---------------------------------------";
const std::string Dash30 = "          ------------------------------";
const std::string Dash21 = "          ---------------------";

// A figure as its grid cell holds it, so the book agrees with what the page shows.
double Shown(double value)
{
    return CellValue(value);
}

double ValueOf(const std::string &text)
{
    return ReadDecimal(text).value_or(0);
}

std::string Fixed2(double value, int precision)
{
    return FormatFixed(value, precision, 2);
}

class TBookSection
{
public:
    TBookSection(std::vector<std::string> &lines, int n, const TPileInput &input,
                 const TPileResult &result, const TPageTexts &texts)
        : m_lines(lines)
        , m_n(n)
        , m_input(input)
        , m_result(result)
        , m_texts(texts)
        , m_rockCount(std::min(input.rockLayers.size(), result.rockResults.size()))
        , m_soilCount(std::min(input.soilLayers.size(), result.soilResults.size()))
    { }

    void Write(std::string_view timeStamp)
    {
        Add("================== 嵌岩桩计算书 ==================");
        Add("1.基桩编号: ZH" + std::to_string(m_n));
        Add("2.输入数据");
        Add("  2.1 基桩参数");
        if (IsRectangular(m_input.sectionType))
            Add("      桩身截面类型:                    矩形桩");
        else if (m_input.sectionType == TSectionType::Ellipse)
            Add("      桩身截面类型:                    椭圆桩");
        else
            Add("      桩身截面类型:                      圆桩");
        SizeLines();
        Add("  2.3 岩土参数");
        SoilInput();
        Add("      ②嵌岩段岩层数m:" + PadLeft(m_texts.rockCountText, " ", 23));
        CoefficientBlock();
        Formula();
        Add("4.承载力计算");
        Geometry();
        RockTables();
        SoilTables();
        Totals();
        Summary();
        Add(std::string(BookSectionEnd));
        Add("计算时间：" + std::string(timeStamp));
    }

private:
    void Add(std::string line) { m_lines.push_back(std::move(line)); }

    const std::array<std::string, 6> &RockCells(std::size_t i) const
    {
        static const std::array<std::string, 6> empty;
        return i < m_texts.rockCells.size() ? m_texts.rockCells[i] : empty;
    }

    const std::array<std::string, 3> &SoilCells(std::size_t j) const
    {
        static const std::array<std::string, 3> empty;
        return j < m_texts.soilCells.size() ? m_texts.soilCells[j] : empty;
    }

    // The size lines of the input data, repeated under the section of the calculation.
    void SizeLines()
    {
        const auto size = [](const char *label, const std::string &text) {
            return label + PadLeft(text, " ", 10) + " mm";
        };
        if (IsRectangular(m_input.sectionType)) {
            Add(size("      矩形长边尺寸a:               ", m_texts.dText));
            Add(size("      矩形短边尺寸b:               ", m_texts.cText));
            return;
        }
        Add(size("      桩身直径d:                   ", m_texts.dText));
        if (m_input.sectionType == TSectionType::Ellipse)
            Add(size("      椭圆直段长度c:               ", m_texts.cText));
    }

    void SoilInput()
    {
        Add("      ①覆盖层土层数n:" + PadLeft(m_texts.soilCountText, " ", 23));
        if (m_input.soilLayers.empty())
            return;
        Add("        土层参数:");
        Add(Dash21);
        Add("          土  土层厚度 土层侧阻");
        Add("          层    li(m)  qik(kPa)");
        Add(Dash21);
        for (std::size_t j = 0; j < m_input.soilLayers.size(); ++j) {
            const auto &cells = SoilCells(j);
            Add(Spaces(10) + CellL(cells[0], 2, 2) + CellL(cells[1], 6, 3) + CellL(cells[2], 8));
        }
        Add(Dash21);
    }

    std::string SpecifiedCells(std::size_t i) const
    {
        const TRockLayer &rock = m_input.rockLayers[i];
        return CellL(Fixed2(ValueOf(rock.c1Specified), 8), 6, 3)
            + CellL(Fixed2(ValueOf(rock.c2Specified), 8), 6, 3);
    }

    void CoefficientBlock()
    {
        const TCoefMode mode = m_input.coefMode;
        const bool byGrade = m_input.interpBasis == TInterpBasis::IntegrityGrade;
        const std::size_t count = m_input.rockLayers.size();
        Add("        侧阻端阻系数:" + PadLeft(m_texts.coefModeText, " ", 24));
        if (mode == TCoefMode::Specified) {
            Add("        岩层参数:");
            Add(Dash39);
            Add("      岩  嵌岩厚度 岩石强度 指定端阻 指定侧阻");
            Add("      层    hi(m)  frk(MPa) 系数 c1  系数 c2 ");
            Add(Dash39);
            for (std::size_t i = 0; i < count; ++i) {
                const auto &cells = RockCells(i);
                Add(Spaces(6) + CellL(cells[0], 2, 2) + CellL(cells[1], 6, 3)
                    + CellL(cells[5], 6, 3) + SpecifiedCells(i));
            }
            Add(Dash39);
            return;
        }
        Add("        自动插值依据:" + PadLeft(m_texts.basisText, " ", 24));
        Add("        岩层参数:");
        if (mode == TCoefMode::Interpolated) {
            Add(Dash39);
            Add("      岩  嵌岩厚度 岩石风化 岩体完整 岩石强度");
            Add(byGrade ? "      层    hi(m)  程    度 程    度 frk(MPa)"
                        : "      层    hi(m)  程    度 性 指 数 frk(MPa)");
            Add(Dash39);
            for (std::size_t i = 0; i < count; ++i) {
                const auto &cells = RockCells(i);
                Add(Spaces(6) + CellL(cells[0], 2, 2) + CellL(cells[1], 6, 3)
                    + CellC(cells[2], 8, 1)
                    + (byGrade ? CellC(cells[3], 8, 1) : CellL(cells[4], 6, 3))
                    + CellL(cells[5], 6, 2));
            }
            Add(Dash39);
            Add(m_input.boredPile ? "      基桩是否为钻孔桩：                   是"
                                  : "      基桩是否为钻孔桩：                   否");
            return;
        }
        Add(Dash30);
        Add("          岩  嵌岩厚度 岩石风化 岩体完整");
        Add(byGrade ? "          层    hi(m)  程    度 程    度"
                    : "          层    hi(m)  程    度 性 指 数");
        Add(Dash30);
        for (std::size_t i = 0; i < count; ++i) {
            const auto &cells = RockCells(i);
            Add(Spaces(10) + CellL(cells[0], 2, 2) + CellL(cells[1], 6, 3)
                + (byGrade ? CellC(cells[2], 8, 1) + CellC(cells[3], 8)
                           : CellC(cells[2], 8, 3) + CellC(cells[4], 8)));
        }
        Add(Dash30);
        Add("          岩  岩石强度 指定端阻 指定侧阻");
        Add("          层  frk(MPa) 系数 c1  系数 c2 ");
        Add(Dash30);
        for (std::size_t i = 0; i < count; ++i) {
            const auto &cells = RockCells(i);
            Add(Spaces(10) + CellL(cells[0], 2, 2) + CellL(cells[5], 6, 3) + SpecifiedCells(i));
            Add(Dash30);
        }
        Add(m_input.boredPile ? "       基桩是否为钻孔桩：                  是"
                              : "       基桩是否为钻孔桩：                  否");
    }

    void Formula()
    {
        Add("3.采用规范及公式");
        Add("  3.1 采用规范:");
        Add("              《公路桥涵地基与基础设计规范》");
        Add("                     (JTG 3363-2019)");
        Add("  3.2 规范公式:");
        Add("                    Ra=c1.Ap.frk");
        Add("          m                     n");
        Add("      +μ∑c2i.hi.frki+ζs.μ∑li.qik/2");
        Add("         i=1                   i=1   (6.3.7)");
    }

    void Geometry()
    {
        if (IsSquare(m_input, m_result))
            Add("  4.1 桩身截面类型:                      方桩");
        else if (IsRectangular(m_input.sectionType))
            Add("  4.1 桩身截面类型:                    矩形桩");
        else if (m_input.sectionType == TSectionType::Ellipse)
            Add("  4.1 桩身截面类型:                    椭圆桩");
        else
            Add("  4.1 桩身截面类型:                      圆桩");
        SizeLines();
        Add("      桩身截面面积Ap:              " + PadLeft(Fixed2(m_result.Ap, 6), " ", 10)
            + " m^2");
        Add("      桩身截面周长μ:              " + PadLeft(Fixed2(m_result.u, 6), " ", 10) + " m");
    }

    void RockTables()
    {
        const bool specified = m_input.coefMode == TCoefMode::Specified;
        Add("  4.2 岩层阻力计算");
        Add(Dash39);
        Add("      岩  嵌岩厚度 岩石强度 插值端阻 插值侧阻");
        Add("      层    hi(m)  frk(MPa) 系数 c1  系数 c2 ");
        Add(Dash39);
        for (std::size_t i = 0; i < m_rockCount; ++i) {
            const auto &cells = RockCells(i);
            const TRockLayerResult &rock = m_result.rockResults[i];
            Add(Spaces(6) + CellL(cells[0], 2, 2) + CellL(cells[1], 6, 3) + CellL(cells[5], 6, 3)
                + (specified ? CellC("-", 8, 1) + CellC("-", 8)
                             : CellL(Fixed2(Shown(rock.c1Interpolated), 8), 6, 3)
                           + CellL(Fixed2(Shown(rock.c2Interpolated), 8), 6, 2)));
        }
        Add(Dash39);
        Add("      岩  计算采用 计算采用 总 阻 力 端 阻 力");
        Add("      层  系数 c1  系数 c2   Rra(kN)  Rpa(kN)");
        Add(Dash39);
        for (std::size_t i = 0; i < m_rockCount; ++i) {
            const auto &cells = RockCells(i);
            const TRockLayerResult &rock = m_result.rockResults[i];
            // Only the bottom row of the grid holds the socket total and the tip resistance.
            const bool bottom = i + 1 == m_rockCount;
            Add(Spaces(6) + CellL(cells[0], 2, 2) + CellL(Fixed2(Shown(rock.c1), 8), 6, 3)
                + CellL(Fixed2(Shown(rock.c2), 8), 6, 3)
                + (bottom ? CellL(Fixed2(Shown(m_result.socketTotal), 8), 8, 1)
                           + CellL(Fixed2(Shown(m_result.socketTip), 8), 8)
                          : CellC("-", 8, 1) + CellC("-", 8)));
        }
        Add(Dash39);
        Add("      岩   ∑Rsia  层侧阻力 侧阻比例 岩石坚硬");
        Add("      层    (kN)   Rsia(kN)  Rsia/Ra 程    度");
        Add(Dash39);
        for (std::size_t i = 0; i < m_rockCount; ++i) {
            const auto &cells = RockCells(i);
            const TRockLayerResult &rock = m_result.rockResults[i];
            Add(Spaces(6) + CellL(cells[0], 2, 2) + CellL(Fixed2(Shown(rock.sumRria), 9), 8, 1)
                + CellL(Fixed2(Shown(rock.Rria), 9), 8, 1)
                + CellL(Fixed2(Shown(rock.share), 7) + "%", 7, 2) + CellC(rock.hardnessClass, 8));
        }
        Add(Dash39);
    }

    void SoilTables()
    {
        Add("  4.3 覆盖层阻力计算");
        if (m_input.soilLayers.empty()) {
            Add("      无覆盖土层，土层侧阻力Rsk:         0.00 kN");
            return;
        }
        // The soil rows repeat the tip strength that ζs was interpolated from.
        const std::string frk =
            Fixed2(m_input.rockLayers.empty() ? 0 : ValueOf(m_input.rockLayers.back().frk), 9);
        Add(Dash39);
        Add("      土  土层厚度 土层侧阻 岩石强度 侧阻发挥");
        Add("      层    li(m)  qik(kPa) (插值用) 系数ζs ");
        Add(Dash39);
        for (std::size_t j = 0; j < m_soilCount; ++j) {
            const auto &cells = SoilCells(j);
            Add(Spaces(6) + CellL(cells[0], 2, 2) + CellL(cells[1], 6, 3) + CellL(cells[2], 8, 1)
                + CellL(frk, 6, 3) + CellL(Fixed2(Shown(m_result.soilResults[j].zetaS), 9), 6, 2));
        }
        Add(Dash39);
        Add("      土   ∑Rsik  侧阻比例 层侧阻力 侧阻比例");
        Add("      层    (kN)  ∑Rsik/Ra Rsik(kN)  Rsik/Ra");
        Add(Dash39);
        for (std::size_t j = 0; j < m_soilCount; ++j) {
            const auto &cells = SoilCells(j);
            const double sumRsik = Shown(m_result.soilResults[j].sumRsik);
            const double Rsik = Shown(m_result.soilResults[j].Rsik);
            Add(Spaces(6) + CellL(cells[0], 2, 2) + CellL(Fixed2(sumRsik, 9), 8, 1)
                + CellL(Fixed2(100 * sumRsik / m_result.Ra, 9) + "%", 7, 2)
                + CellL(Fixed2(Rsik, 9), 8, 1)
                + CellL(Fixed2(100 * Rsik / m_result.Ra, 9) + "%", 7, 1));
        }
        Add(Dash39);
    }

    void Totals()
    {
        const auto force = [](const char *label, double value) {
            return label + PadLeft(Fixed2(value, 10), " ", 10) + " kN";
        };
        const auto share = [](const char *label, double value) {
            return label + PadLeft(Fixed2(value, 10), " ", 9) + "%";
        };
        Add(force("  4.4 嵌岩段端阻力Rra：            ", m_result.socketTip));
        Add(force("      嵌岩段侧阻力Rsa:             ", m_result.socketSide));
        Add(force("  4.5 嵌岩段总阻力Rpa:             ", m_result.socketTotal));
        Add(share("      嵌岩段端阻力占百分比:        ", m_result.tipShare));
        Add(share("      嵌岩段侧阻力占百分比:        ", SocketSideShare(m_result)));
        Add(force("  4.6 土的侧阻力Rsk:               ", m_result.soilSide));
        Add(share("      土的侧阻力占百分比:          ", SoilShare(m_result)));
        Add(force("  4.7 桩轴向受压承载力特征值Ra:    ", m_result.Ra));
        Add(m_result.compliant ? "      计算结果合规性判定:                合规"
                               : "      计算结果合规性判定:                超规");
    }

    void Summary()
    {
        const TRoundingMode mode = m_input.rounding;
        const auto force = [mode](double value) { return PrecisionText(value, mode, 10); };
        // Shares are rounded in every mode, never cut.
        const auto share = [mode](double value) {
            return FormatFixed(value, 10, ModeDecimals(mode)) + "%";
        };
        const bool rectangular = IsRectangular(m_input.sectionType);
        const bool circle = !rectangular && m_input.sectionType != TSectionType::Ellipse;
        Add("5.基桩主要数据汇总");
        Add(Dash39);
        if (rectangular) {
            Add("      基    桩  桩身截面  矩形长边  矩形短边 ");
            Add("      编    号  类    型    a(mm)     b(mm)  ");
        } else {
            Add("      基    桩  桩身截面  桩身直径  椭圆直段 ");
            Add("      编    号  类    型    d(mm)     c(mm)  ");
        }
        Add(Dash39);
        Add(Spaces(8) + CellR("ZH" + std::to_string(m_n), 6, 2)
            + CellC(SectionLabel(m_input, m_result), 8, 2) + CellC(m_texts.dText, 8, 2)
            + CellC(circle ? std::string("-") : m_texts.cText, 8, 1));
        Add(Dash39);
        Add("      嵌岩深度  端 阻 力  侧 阻 力  土侧阻力 ");
        Add("        h(m)     Rpa(kN)   Rsa(kN)   Rsk(kN) ");
        Add(Dash39);
        Add(Spaces(6) + CellC(Fixed2(m_result.h, 6), 8, 2) + CellC(force(m_result.socketTip), 8, 2)
            + CellC(force(m_result.socketSide), 8, 2) + CellC(force(m_result.soilSide), 8, 1));
        Add(Dash39);
        Add("      桩承载力  端 阻 力  侧 阻 力  土侧阻力 ");
        Add("       Ra(kN)   占百分比  占百分比  占百分比 ");
        Add(Dash39);
        Add(Spaces(6) + CellC(force(m_result.Ra), 8, 2) + CellC(share(m_result.tipShare), 8, 2)
            + CellC(share(SocketSideShare(m_result)), 8, 2)
            + CellC(share(SoilShare(m_result)), 8, 1));
        Add(Dash39);
    }

    std::vector<std::string> &m_lines;
    const int m_n;
    const TPileInput &m_input;
    const TPileResult &m_result;
    const TPageTexts &m_texts;
    const std::size_t m_rockCount; // layers with a result; all of them after a success
    const std::size_t m_soilCount;
};

} // namespace

void AppendBookSection(std::vector<std::string> &lines, int n, const TPileInput &input,
                       const TPileResult &result, const TPageTexts &texts,
                       std::string_view timeStamp)
{
    TBookSection(lines, n, input, result, texts).Write(timeStamp);
}
