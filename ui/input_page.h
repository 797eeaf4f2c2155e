#pragma once

#include "colours.h"
#include "scaled_layer.h"

#include "calculation.h"
#include "design_solver.h"
#include "pile_input.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TLayerGrid;
class TLoadDialog;
class TLogoStrip;
// The input page MainFormLayer: the pile's section and size, the soil and rock layer grids, the
// coefficient choices, the result display and the status line. Every change of an input value
// clears the shown result; the page is filled from a TPileInput, reads itself into one and shows a
// calculation.
class TInputPage : public TScaledLayer
{
    Q_OBJECT

public:
    explicit TInputPage(QWidget *parent);

    // Clears the result fields and brings "计算" back in place of "结果".
    void ResetResultDisplay();
    // Shows a message in the status line, which from then on stands in place of the logo strip.
    void ShowStatus(const QString &text, const QColor &colour);
    // The status line names a saved file, black.
    void ShowSavedFile(const QString &path);

    // Fills the page from `input` through its own controls, so that each change runs its change
    // behaviour: the section before d and c, the rock layers, the coefficient mode and the basis,
    // the bored-pile flag, the precision (which does not calculate), and the soil layers last (none
    // hides the soil grid with the rows it holds). A new page shows TPileInput {}; a pick-back
    // shows the candidate written over the page. The result display is left to the caller.
    void ShowPileInput(const TPileInput &input);
    // The page as a pile input: the selected layer counts, the cells as they stand.
    TPileInput ReadPileInput() const;
    // Writes what a calculation gave: the result columns as far as the run got, the exchanged
    // sides of a rectangle, Ra and the tip share, their colours and the status line.
    void ShowCalculation(const TPileInput &input, const TCalcOutcome &outcome);
    // After a calculation that went to the reports: "结果" in place of "计算", precision list
    // closed.
    void ShowResultsButton();

    // What a sweep starts from: the page as it stands, with every row the soil grid holds, shown or
    // not.
    TPileInput ReadSweepBase() const;
    // The status label in place of the logo strip, its text as it stands.
    void ShowStatusStrip();

signals:
    void ComputeRequested();
    void ViewRequested();
    void OptimizationRequested();
    void ExitRequested();
    void CopyRightRequested();
    // The pile file actions beside "©": open a file of piles, save the piles of the reports.
    void OpenRequested();
    void SaveDataRequested();

private:
    void BuildFrame();
    void BuildPileGroup();
    void BuildGroundGroup();
    void BuildResultGroup();
    void SetTextColour(QWidget *widget, const QColor &colour);

    void cbb_jmlxChange(int index);
    void cbe_ddChange(const QString &text);
    void cbe_tyzdChange(const QString &text);
    void cbb_tuchengshuChange(int index);
    void cbb_yanchengshuChange(int index);
    void cbb_chezhuxishuChange(int index);
    void cbb_chazhiyijuChange(int index);
    void cbt_kuozhanbiaogeClick();
    void cbt_hezaiClick();
    void AdoptDesignValue(TDesignFor target, const std::string &value);
    void cbt_JingDuClick();
    void popbox_jingduChange();
    void ShowBasisColumns();
    // The first `count` rows of the soil grid.
    std::vector<TSoilLayer> ReadSoilLayers(int count) const;
    void ShowRockResults(const TPileInput &input, const TCalcOutcome &outcome);
    void ShowSoilResults(const TCalcOutcome &outcome);

    QLabel *lb_cxm;
    QPushButton *cbt_CopyRight;
    QPushButton *cbt_dakai;
    QPushButton *cbt_baocunshuju;
    QPushButton *cbt_hezai; // the load dialog
    QGroupBox *gpb_srcs;
    QGroupBox *gpb_yscs;
    QGroupBox *gpb_scjg;
    QLabel *lb_jmlx;
    QComboBox *cbb_jmlx;
    QLabel *lb_dd;
    QComboBox *cbe_dd;
    QLabel *lb_tyzd;
    QComboBox *cbe_tyzd;
    QComboBox *cbe_zhuanchongkong;
    QCheckBox *ckb_dixiashui;
    QLabel *lb_tuchengshu;
    QComboBox *cbb_tuchengshu;
    QLabel *lb_yanchengshu;
    QComboBox *cbb_yanchengshu;
    QLabel *lb_chezhuxishu;
    QComboBox *cbb_chezhuxishu;
    QLabel *lb_chazhiyiju;
    QComboBox *cbb_chazhiyiju;
    QCheckBox *ckb_zhuankongzhuang;
    QPushButton *cbt_kuozhanbiaoge;
    TLayerGrid *StringGrid_TC1;
    TLayerGrid *StringGrid_YC1;
    QLabel *lb_ra;
    QLineEdit *edt_ra;
    QLabel *lb_rc;
    QLineEdit *edt_percent;
    QLabel *lb_kesair;
    QLineEdit *edt_Quk;
    QLabel *lb_guifan1;
    QLabel *lb_guifan2;
    QPushButton *cbt_JingDu;
    QListWidget *popbox_jingdu;
    QPushButton *cbt_compute;
    QPushButton *cbt_View;
    QPushButton *cbt_YouHua;
    QPushButton *cbt_tuichu;
    TLogoStrip *img_logo;
    QLabel *lb_shuoming;
    TLoadDialog *m_loadDialog = nullptr; // made at the first press of "荷载"

    bool m_gridsExpanded = false; // cbt_kuozhanbiaoge shows "折叠" while the grids are expanded
    // The last texts seen, so that a size field's change runs only when its text really changed.
    QString m_ddText;
    QString m_tyzdText;
    // The design load of the pile on show, edited in the load dialog.
    std::string m_load; // kN
    std::string m_gammaR = TPileInput {}.gammaR;
};
