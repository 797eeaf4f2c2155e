#include "summary_table.h"

#include "column_cells.h"
#include "number_format.h"
#include "pile_figures.h"
#include "result_texts.h"

namespace {

const std::string RuleLine(190, '-');
const std::string DoubleRuleLine(190, '=');

// A size text, or a centred "-" where the section has no such size.
std::string SizeCell(const std::string &text, bool shown)
{
    return shown ? CellL(text, 6, 4) : CellC("-", 8, 2);
}

// Whole-number modes print narrower figures in wider margins.
std::string ForceCell(double value, TRoundingMode mode)
{
    const std::string text = PrecisionText(value, mode, 10);
    return ModeDecimals(mode) > 0 ? CellL(text, 8, 2) : CellL(text, 7, 3);
}

// Shares are rounded in every mode, never cut.
std::string ShareCell(double share, TRoundingMode mode)
{
    const std::string text = FormatFixed(share, 10, ModeDecimals(mode)) + "%";
    return ModeDecimals(mode) > 0 ? CellL(text, 7, 3) : CellL(text, 6, 4);
}

} // namespace

void AppendSummaryHeader(std::vector<std::string> &lines)
{
    lines.push_back(std::string(88, '=') + " 嵌岩桩计算书 " + std::string(88, '='));
    lines.push_back(RuleLine);
    lines.push_back(
        " 基    桩  桩身截面  桩身直径  椭圆直段  矩形长边  矩形短边  桩身面积  桩身周长  "
        "嵌岩厚度  嵌岩侧阻  嵌岩侧阻  嵌岩端阻  嵌岩端阻  嵌岩阻力  土层厚度  土侧阻力  "
        "土侧阻力  桩承载力  计算结果 ");
    lines.push_back(
        " 编    号  类    型    d(mm)     c(mm)     a(mm)     b(mm)    Ap(m^2)   μ(m)    "
        "  h(m)     Rsa(kN)  占百分比   Rpa(kN)  占百分比   Rra(kN)    ls(m)    Rsk(kN)  "
        "占百分比   Ra(kN)   合规判定 ");
    lines.push_back(RuleLine);
}

std::string SummaryPileLine(int n, const TPileInput &input, const TPileResult &result,
                            const TPageTexts &texts)
{
    const TRoundingMode mode = input.rounding;
    const bool rectangular = IsRectangular(input.sectionType);
    const bool ellipse = input.sectionType == TSectionType::Ellipse;
    std::string line = Spaces(3) + CellR("ZH" + std::to_string(n), 6, 2);
    line += CellC(SectionLabel(input, result), 8, 2);
    line += SizeCell(texts.dText, !rectangular);
    line += SizeCell(texts.cText, ellipse);
    line += SizeCell(texts.dText, rectangular);
    line += SizeCell(texts.cText, rectangular);
    line += CellL(FormatFixed(result.Ap, 6, 2), 6, 4);
    line += CellL(FormatFixed(result.u, 6, 2), 6, 4);
    line += CellL(FormatFixed(result.h, 6, 2), 6, 4);
    line += ForceCell(result.socketSide, mode);
    line += ShareCell(SocketSideShare(result), mode);
    line += ForceCell(result.socketTip, mode);
    line += ShareCell(result.tipShare, mode);
    line += ForceCell(result.socketTotal, mode);
    line += CellL(FormatFixed(result.ls, 6, 2), 6, 4);
    line += ForceCell(result.soilSide, mode);
    line += ShareCell(SoilShare(result), mode);
    line += ForceCell(result.Ra, mode);
    line += CellC(result.compliant ? "合规" : "超规", 8, 1);
    return line;
}

void AppendSummaryClosing(std::vector<std::string> &lines, std::string_view timeStamp)
{
    lines.push_back(RuleLine);
    lines.push_back(" 注: 采用《公路桥涵地基与基础设计规范》(JTG 3363-2019)公式计算");
    lines.push_back(DoubleRuleLine);
    lines.push_back("计算时间：" + std::string(timeStamp));
}
