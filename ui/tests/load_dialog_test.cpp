#include "ui_test_support.h"

#include "grid_columns.h"
#include "input_page.h"
#include "layer_grid.h"
#include "load_dialog.h"

#include "calculation.h"

#include <QComboBox>
#include <QPushButton>

namespace {

using namespace GridColumns;

class LoadDialog : public MainWindowTest
{
public:
    TInputPage *Page() const { return Find<TInputPage>("MainFormLayer"); }
    TLoadDialog *Dialog() const { return Find<TLoadDialog>("dlg_hezai"); }
    QPushButton *Button(const char *name) const { return Find<QPushButton>(name); }

    // "荷载" opens the dialog on the pile on show.
    void Open()
    {
        Click("cbt_hezai");
        ASSERT_TRUE(Dialog()->isVisible());
    }

    void Type(const char *field, const QString &text)
    {
        auto *edit = Find<QLineEdit>(field);
        edit->selectAll();
        QTest::keyClicks(edit, text.isEmpty() ? QString() : text);
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
    }
};

TEST_F(LoadDialog, ChecksThePileOnShowAsNAndGammaRAreTyped)
{
    Open();
    EXPECT_EQ(Text("edt_hezaiN"), "");
    EXPECT_EQ(Text("edt_kanglixishu"), "1.0");
    EXPECT_EQ(Text("lb_yansuan"), ""); // no load, no check
    EXPECT_FALSE(Button("cbt_caiyongshendu")->isEnabled());

    struct TCase
    {
        const char *load;
        const char *gammaR;
        const char *capacity;
        const char *utilization;
        const char *verdict;
    };
    const TCase cases[] = {
        {"10367", "1.0", "10367.26", "1.000", "满足"}, // the unrounded Ra
        {"10368", "1.0", "10367.26", "1.000", "不满足"},
        {"12000", "1.25", "12959.07", "0.926", "满足"},
        {"12000", "", "", "", "抗力系数γR数据有错"},
        {"12kN", "1.25", "", "", "桩顶轴力N数据有错"},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.load);
        Type("edt_hezaiN", c.load);
        Type("edt_kanglixishu", c.gammaR);
        EXPECT_EQ(Text("edt_chengzaili"), c.capacity);
        EXPECT_EQ(Text("edt_liyonglv"), c.utilization);
        EXPECT_EQ(Text("lb_yansuan"), c.verdict);
        EXPECT_EQ(TextColour(Find("lb_yansuan")),
                  std::string(c.verdict) == "满足" ? QColor("#008000") : QColor("#FF0000"));
    }
    // What was typed is the page's pile, and a calculation's result goes with the change.
    Click("cbt_guanbi");
    EXPECT_FALSE(Dialog()->isVisible());
    const TPileInput pile = Page()->ReadPileInput();
    EXPECT_EQ(pile.load, "12kN");
    EXPECT_EQ(pile.gammaR, "1.25");
    Click("cbt_compute");
    EXPECT_EQ(Text("edt_ra"), "10367");
    Open();
    Type("edt_hezaiN", "9000");
    EXPECT_EQ(Text("edt_ra"), "");
}

TEST_F(LoadDialog, SolvesAndAdoptsTheDepthAndTheSize)
{
    Open();
    Type("edt_hezaiN", "20000");
    EXPECT_EQ(Text("lb_yansuan"), "不满足");

    Click("cbt_qiushendu");
    EXPECT_TRUE(Text("lb_shendu").startsWith("末层嵌岩厚度 5.09 m"))
        << Text("lb_shendu").toStdString();
    Click("cbt_qiuchicun");
    EXPECT_TRUE(Text("lb_chicun").startsWith("d = 1470 mm")) << Text("lb_chicun").toStdString();
    ASSERT_TRUE(Button("cbt_caiyongshendu")->isEnabled());
    Click("cbt_caiyongshendu");
    EXPECT_EQ(Find<TLayerGrid>("StringGrid_YC1")->Cell(0, strgrd01_Flo_lr), "5.09");
    EXPECT_EQ(Text("lb_yansuan"), "满足");
    EXPECT_EQ(Text("lb_chicun"), ""); // answers belong to the pile they were found for
    EXPECT_FALSE(Button("cbt_caiyongchicun")->isEnabled());

    // "计算" then gives a pile that carries N.
    Click("cbt_guanbi");
    Click("cbt_compute");
    const TCalcOutcome outcome = Calculate(Page()->ReadPileInput());
    ASSERT_TRUE(outcome.ok());
    EXPECT_GE(outcome.result.Ra, 20000);
    EXPECT_EQ(Text("edt_ra"), "20004");

    // The size: d of the page, with the last rock layer back at 1 m.
    Find<TLayerGrid>("StringGrid_YC1")->SetCell(0, strgrd01_Flo_lr, "1.00");
    Open();
    Click("cbt_qiuchicun");
    Click("cbt_caiyongchicun");
    EXPECT_EQ(Find<QComboBox>("cbe_dd")->currentText(), "1470");
    EXPECT_EQ(Text("lb_yansuan"), "满足");

    // No answer: the message, and nothing to adopt.
    Type("edt_hezaiN", "1e9");
    Click("cbt_qiushendu");
    EXPECT_EQ(Text("lb_shendu"), "最后一层岩石嵌岩厚度至100m仍不满足桩顶轴力N");
    EXPECT_FALSE(Button("cbt_caiyongshendu")->isEnabled());
}

} // namespace
