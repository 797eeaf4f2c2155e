// The input page's side of a calculation: reading the controls into a TPileInput and showing what
// the calculation gave, in the grid columns, the result fields and the status line.
#include "input_page.h"

#include "grid_columns.h"
#include "layer_grid.h"
#include "qt_text.h"

#include "number_format.h"
#include "result_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace GridColumns;

namespace {

QString CellText(double value)
{
    return ToQ(GeneralText(value));
}

QString ShareText(double share)
{
    return ToQ(FormatFixed(share, 15, 2)) + "%";
}

} // namespace

std::vector<TSoilLayer> TInputPage::ReadSoilLayers(int count) const
{
    std::vector<TSoilLayer> layers(count);
    for (int j = 0; j < count; ++j) {
        layers[j].li = ToStd(StringGrid_TC1->Cell(j, strgrd_t01_Flo_li));
        layers[j].qik = ToStd(StringGrid_TC1->Cell(j, strgrd_t02_Flo_qik));
    }
    return layers;
}

TPileInput TInputPage::ReadPileInput() const
{
    TPileInput input;
    input.sectionType = static_cast<TSectionType>(cbb_jmlx->currentIndex());
    input.d = ToStd(cbe_dd->currentText());
    input.c = ToStd(cbe_tyzd->currentText());
    input.soilLayers = ReadSoilLayers(cbb_tuchengshu->currentIndex());
    const int rockCount = cbb_yanchengshu->currentIndex() + 1;
    input.rockLayers.assign(rockCount, {});
    for (int i = 0; i < rockCount; ++i) {
        TRockLayer &rock = input.rockLayers[i];
        const auto cell = [&](int column) { return ToStd(StringGrid_YC1->Cell(i, column)); };
        rock.hi = cell(strgrd01_Flo_lr);
        rock.weathering = cell(strgrd02_Str_fenghuachengdu);
        rock.integrityGrade = cell(strgrd03_Str_wanzhengchengdu);
        rock.integrityIndex = cell(strgrd04_Flo_wangzhengzhishu);
        rock.frk = cell(strgrd05_Flo_frk);
        rock.c1Specified = cell(strgrd06_Flo_c1);
        rock.c2Specified = cell(strgrd07_Flo_c2);
    }
    input.coefMode = static_cast<TCoefMode>(cbb_chezhuxishu->currentIndex());
    input.interpBasis = static_cast<TInterpBasis>(cbb_chazhiyiju->currentIndex());
    input.boredPile = ckb_zhuankongzhuang->isChecked();
    input.rounding = static_cast<TRoundingMode>(popbox_jingdu->currentRow());
    input.load = m_load;
    input.gammaR = m_gammaR;
    return input;
}

TPileInput TInputPage::ReadSweepBase() const
{
    TPileInput input = ReadPileInput();
    input.soilLayers = ReadSoilLayers(StringGrid_TC1->RowCount());
    return input;
}

void TInputPage::ShowCalculation(const TPileInput &input, const TCalcOutcome &outcome)
{
    const TCalcFailure *failure = outcome.failure ? &*outcome.failure : nullptr;
    const auto showFailure = [&] { ShowStatus(ToQ(failure->message), Colours::Error); };

    // The section comes first: a failing side turns red, a passing one black.
    if (failure && failure->stage == TFailureStage::Section) {
        if (failure->field == TInputField::C)
            SetTextColour(cbe_dd, Colours::Note);
        SetTextColour(failure->field == TInputField::C ? cbe_tyzd : cbe_dd, Colours::Error);
        showFailure();
        return;
    }
    SetTextColour(cbe_dd, Colours::Note);
    SetTextColour(cbe_tyzd, Colours::Note);
    lb_shuoming->clear();
    if (outcome.result.sidesExchanged) {
        const auto [dText, cText] = ShownSizeTexts(input, outcome.result);
        cbe_dd->setEditText(ToQ(dText));
        cbe_tyzd->setEditText(ToQ(cText));
    }

    ShowRockResults(input, outcome);
    if (failure && failure->stage != TFailureStage::SoilLayer
        && failure->stage != TFailureStage::Result) {
        showFailure();
        return;
    }
    ShowSoilResults(outcome);
    if (failure) {
        showFailure();
        return;
    }

    const TPileResult &r = outcome.result;
    for (std::size_t i = 0; i < r.rockResults.size(); ++i) {
        const int row = static_cast<int>(i);
        StringGrid_YC1->SetCell(row, strgrd16_Str_percent, ShareText(r.rockResults[i].share));
        StringGrid_YC1->SetCell(row, strgrd17_Pic_percent, CellText(r.rockResults[i].share));
    }
    for (std::size_t j = 0; j < r.soilResults.size(); ++j) {
        const int row = static_cast<int>(j);
        StringGrid_TC1->SetCell(row, strgrd_t06_Str_percent, ShareText(r.soilResults[j].share));
        StringGrid_TC1->SetCell(row, strgrd_t07_Pic_percent, CellText(r.soilResults[j].share));
    }

    const QColor &verdict = r.specifiedAdopted == 0 ? Colours::Compliant : Colours::Hint;
    SetTextColour(edt_ra, verdict);
    SetTextColour(edt_percent, verdict);
    SetTextColour(edt_Quk, verdict);
    switch (r.statusKind) {
    case TStatusKind::None:
        break; // the emptied status text stands as it is
    case TStatusKind::Hint:
        ShowStatus(ToQ(r.statusText), Colours::Hint);
        break;
    case TStatusKind::Note:
        ShowStatus(ToQ(r.statusText), Colours::Note);
        break;
    }
    edt_ra->setText(ToQ(RaText(r.Ra, input.rounding)));
    edt_Quk->setText(edt_ra->text());
    edt_percent->setText(ToQ(TipShareText(r.tipShare, input.rounding)));
}

void TInputPage::ShowRockResults(const TPileInput &input, const TCalcOutcome &outcome)
{
    TLayerGrid *grid = StringGrid_YC1;
    const int rows = static_cast<int>(input.rockLayers.size());
    // Every run starts on cleared result columns; qpa and qra are only overwritten.
    for (int row = 0; row < rows; ++row) {
        grid->ClearCells(row, strgrd08_Flo_xishuC1, strgrd09_Flo_xishuC2);
        grid->ClearCells(row, strgrd12_Flo_Quk, strgrd21_Flo_ChazhiC2);
    }
    const TPileResult &r = outcome.result;
    for (std::size_t i = 0; i < r.rockResults.size(); ++i) {
        const TRockLayerResult &rock = r.rockResults[i];
        const int row = static_cast<int>(i);
        grid->SetCell(row, strgrd19_Str_Ysjycd, ToQ(rock.hardnessClass));
        grid->SetCell(row, strgrd08_Flo_xishuC1, CellText(rock.c1));
        grid->SetCell(row, strgrd09_Flo_xishuC2, CellText(rock.c2));
        grid->SetCell(row, strgrd10_Flo_qpk, CellText(rock.qpa));
        grid->SetCell(row, strgrd11_Flo_qsrk, CellText(rock.qra));
        grid->SetCell(row, strgrd20_Flo_ChazhiC1, CellText(rock.c1Interpolated));
        grid->SetCell(row, strgrd21_Flo_ChazhiC2, CellText(rock.c2Interpolated));
        grid->SetCell(row, strgrd14_Flo_SegemaQsrik, CellText(rock.sumRria));
        grid->SetCell(row, strgrd15_Flo_Qsrik, CellText(rock.Rria));
        grid->SetCell(row, strgrd18_Str_beizhu, ToQ(rock.remark));
    }
    if (static_cast<int>(r.rockResults.size()) == rows) {
        grid->SetCell(rows - 1, strgrd12_Flo_Quk, CellText(r.socketTotal));
        grid->SetCell(rows - 1, strgrd13_Flo_Qpk, CellText(r.socketTip));
    } else if (outcome.failure && outcome.failure->stage == TFailureStage::RockLayer) {
        // The failing layer's hardness class was found before the check that stopped the run.
        grid->SetCell(outcome.failure->layer - 1, strgrd19_Str_Ysjycd,
                      ToQ(outcome.failure->layerHardnessClass));
    }
}

void TInputPage::ShowSoilResults(const TCalcOutcome &outcome)
{
    const TPileResult &r = outcome.result;
    const int rows = cbb_tuchengshu->currentIndex();
    if (rows == 0)
        return; // without soil layers the soil grid keeps what it shows
    TLayerGrid *grid = StringGrid_TC1;
    for (int row = 0; row < rows; ++row)
        grid->ClearCells(row, strgrd_t03_Flo_Kesais, strgrd_t08_Str_beizhu);
    for (std::size_t j = 0; j < r.soilResults.size(); ++j) {
        const TSoilLayerResult &soil = r.soilResults[j];
        const int row = static_cast<int>(j);
        grid->SetCell(row, strgrd_t03_Flo_Kesais, CellText(soil.zetaS));
        grid->SetCell(row, strgrd_t04_Flo_SegemaQsik, CellText(soil.sumRsik));
        grid->SetCell(row, strgrd_t05_Flo_Qsik, CellText(soil.Rsik));
    }
}
