#include "candidate_file.h"

#include "column_cells.h"
#include "file_names.h"
#include "text_file.h"

namespace {

constexpr std::string_view Header1 =
    " 基    桩  桩身截面  桩身直径  椭圆直段  矩形长边  矩形短边  嵌岩深度  岩石强度  岩石风化  "
    "完整程度  端阻系数  侧阻系数  嵌岩侧阻  嵌岩侧阻  嵌岩端阻  嵌岩端阻  嵌岩阻力  土侧阻力  "
    "土侧阻力  桩承载力 ";
constexpr std::string_view Header2 =
    " 编    号  类    型    d(mm)     c(mm)     a(mm)     b(mm)     hr(m)   frk(MPa)  程    度  "
    "或 指 数     c1        c2      Rsa(kN)  占百分比   Rpa(kN)  占百分比   Rra(kN)   Rsk(kN)  "
    "占百分比   Ra(kN)  ";

// Builds the rows of a file. Neighbouring rows mostly share their sizes, rock data and
// coefficients, so each column keeps its last text with that text's padded cell.
class TRowWriter
{
public:
    // The row of the candidate at `position` (from 1), built from its grid texts; its section
    // chooses the size columns.
    const std::string &Row(TOptSection section, const TCandidateTexts &t, std::size_t position,
                           int digits)
    {
        using namespace CandidateColumn;
        const auto centred = [](std::string_view text) { return CellC(text, 8, 2); };
        const auto right6 = [](std::string_view text) { return CellL(text, 6, 4); };
        const auto right7 = [](std::string_view text) { return CellL(text, 7, 3); };
        m_line = " ";
        m_line += centred("ZH-" + PadLeft(std::to_string(position), "0", digits));
        m_line += Cell(Section, t[Section], centred);
        switch (section) {
        case TOptSection::Circle:
            m_line += Cell(SizeD, t[SizeD], right6) + m_dash + m_dash + m_dash;
            break;
        case TOptSection::Ellipse:
            m_line +=
                Cell(SizeD, t[SizeD], right6) + Cell(SizeC, t[SizeC], right6) + m_dash + m_dash;
            break;
        case TOptSection::Rectangle:
        case TOptSection::Square:
            m_line +=
                m_dash + m_dash + Cell(SizeD, t[SizeD], right6) + Cell(SizeC, t[SizeC], right6);
            break;
        }
        m_line += Cell(Hr, t[Hr], right6);
        m_line += Cell(Frk, t[Frk], right6);
        m_line += Cell(Weathering, t[Weathering], right7);
        m_line += Cell(Integrity, t[Integrity], centred);
        m_line += Cell(C1, t[C1], centred);
        m_line += Cell(C2, t[C2], centred);
        m_line += CellL(t[Qsr], 7, 3);
        m_line += Cell(SideShare, t[SideShare], right6);
        m_line += CellL(t[Qpr], 7, 3);
        m_line += Cell(TipShare, t[TipShare], right6);
        m_line += CellL(t[Qrk], 7, 3);
        if (t[Rsk] == "-") {
            m_line += m_dash + centred(t[SoilShare]);
        } else {
            m_line += CellL(t[Rsk], 7, 3);
            m_line += Cell(SoilShare, t[SoilShare], right6);
        }
        m_line += CellL(t[Ra], 7, 2);
        return m_line;
    }

private:
    struct TMemo
    {
        bool filled = false;
        std::string text;
        std::string cell;
    };

    template<typename Pad>
    const std::string &Cell(int column, const std::string &text, Pad &&pad)
    {
        TMemo &memo = m_memos[column];
        if (!memo.filled || memo.text != text) {
            memo.filled = true;
            memo.text = text;
            memo.cell = pad(text);
        }
        return memo.cell;
    }

    const std::string m_dash = CellC("-", 8, 2);
    std::array<TMemo, CandidateColumn::Count> m_memos;
    std::string m_line;
};

} // namespace

bool WantsSoilAppendix(const TOptionTable &options)
{
    return options[OptionRow::Overburden].minimum == "1";
}

void ForEachCandidateFileLine(const TCandidateFile &file,
                              const std::function<void(std::string_view)> &line)
{
    const std::string dashes(200, '-');
    const char *title = file.kind == TCandidateFileKind::Raw ? " 嵌岩桩优化计算原始结果 "
                                                             : " 嵌岩桩优化计算筛选结果 ";
    line(std::string(87, '=') + title + std::string(89, '='));
    line(dashes);
    line(Header1);
    line(Header2);
    line(dashes);
    const TCandidateTable &table = *file.table;
    const int digits = DecimalDigits(static_cast<std::int64_t>(table.Size()));
    TCandidateTextMaker maker(table.context);
    TRowWriter writer;
    for (std::size_t i = 0; i < table.Size(); ++i) {
        const TOptCandidate &row = table.Row(i);
        line(writer.Row(row.section, maker.Texts(row), i + 1, digits));
    }
    line(dashes);
    line(" 注: 采用《公路桥涵地基与基础设计规范》(JTG 3363-2019)公式计算");
    line(std::string(200, '='));
    line("计算时间：" + file.timeStamp);
    line("");
    if (!file.soilAppendix)
        return;
    const std::string stars(50, '*');
    const std::string rule = "*        -------------------------------------   *";
    line(stars);
    line("*  附录：桩侧土体侧阻力参数                      *");
    line(rule);
    line("*        土层    土层    土层厚度    土层侧阻    *");
    line("*        数 n    序号      li(m)      qik(kPa)   *");
    line(rule);
    const std::string count = std::to_string(file.soilLayers.size());
    for (std::size_t j = 0; j < file.soilLayers.size(); ++j) {
        const TSoilLayer &layer = file.soilLayers[j];
        line("*" + Spaces(8) + CellL(count, 3, 5) + CellL(std::to_string(j + 1), 3, 5)
             + CellL(layer.li, 7, 5) + CellL(layer.qik, 7, 5) + "*");
    }
    line(rule);
    line(stars);
}

std::optional<std::string> SaveCandidateFile(const std::filesystem::path &folder,
                                             const TCandidateFile &file)
{
    const std::string_view name = file.kind == TCandidateFileKind::Raw
        ? FileNames::RawCandidates
        : FileNames::FilteredCandidates;
    TTextFileWriter writer(FilePath(folder, name));
    ForEachCandidateFileLine(file, [&writer](std::string_view text) { writer.WriteLine(text); });
    return writer.Commit();
}
