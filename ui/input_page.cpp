#include "input_page.h"

#include "grid_columns.h"
#include "layer_grid.h"
#include "load_dialog.h"
#include "logo_strip.h"
#include "program_title.h"
#include "qt_text.h"
#include "saved_file_note.h"

#include "decimal_reader.h"
#include "messages.h"
#include "pile_items.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

using namespace GridColumns;

namespace {

QStringList Items(auto const &texts)
{
    QStringList items;
    for (std::string_view text : texts)
        items.append(ToQ(text));
    return items;
}

QStringList Steps(int first, int last, int step)
{
    QStringList items;
    for (int value = first; value <= last; value += step)
        items.append(QString::number(value));
    return items;
}

TGridColumn Column(const QString &header, TColumnKind kind, int width, int decimals = 2,
                   bool editable = false, const QStringList &pickList = {})
{
    TGridColumn column;
    column.header = header;
    column.kind = kind;
    column.width = width;
    column.decimals = decimals;
    column.editable = editable;
    column.pickList = pickList;
    return column;
}

std::vector<TGridColumn> SoilColumns()
{
    using K = TColumnKind;
    std::vector<TGridColumn> columns(SoilColumnCount);
    columns[strgrd_t00_Int_Num] = Column("土层", K::Integer, 40);
    columns[strgrd_t01_Flo_li] = Column("土厚 li(m)", K::Number, 76, 2, true);
    columns[strgrd_t02_Flo_qik] = Column(" qik (KPa)", K::Number, 76, 2, true);
    columns[strgrd_t03_Flo_Kesais] = Column("侧阻力发挥系数 ζs", K::Number, 124, 3);
    columns[strgrd_t04_Flo_SegemaQsik] = Column(" ∑Rsik (kN)", K::Number, 86);
    columns[strgrd_t05_Flo_Qsik] = Column("  Rsik (kN)", K::Number, 86);
    columns[strgrd_t06_Str_percent] = Column("   Rsik/Ra", K::Text, 76);
    columns[strgrd_t07_Pic_percent] = Column("土侧阻占比图例", K::ProgressBar, 100);
    columns[strgrd_t08_Str_beizhu] = Column("       备        注", K::Text, 200);
    return columns;
}

std::vector<TGridColumn> RockColumns()
{
    using K = TColumnKind;
    std::vector<TGridColumn> columns(RockColumnCount);
    columns[strgrd00_Int_Nun] = Column("岩层", K::Integer, 40);
    columns[strgrd01_Flo_lr] = Column("嵌岩hi(m)", K::Number, 76, 2, true);
    columns[strgrd02_Str_fenghuachengdu] =
        Column(" 风化程度", K::PickList, 76, 0, true, Items(PileItems::Weatherings));
    columns[strgrd03_Str_wanzhengchengdu] =
        Column(" 完整程度", K::PickList, 76, 0, true, Items(PileItems::Grades));
    columns[strgrd04_Flo_wangzhengzhishu] = Column("完整性指数", K::Number, 76, 2, true);
    columns[strgrd05_Flo_frk] = Column("frki (MPa)", K::Number, 76, 2, true);
    columns[strgrd06_Flo_c1] = Column("端阻系数 c1", K::Number, 86, 3, true);
    columns[strgrd07_Flo_c2] = Column("侧阻系数c2", K::Number, 80, 3, true);
    columns[strgrd08_Flo_xishuC1] = Column("计算采用 c1", K::Number, 86, 3);
    columns[strgrd09_Flo_xishuC2] = Column("计算采用c2", K::Number, 80, 3);
    columns[strgrd10_Flo_qpk] = Column("端阻 qpa(kPa)", K::Number, 100);
    columns[strgrd11_Flo_qsrk] = Column("侧阻 qra(kPa)", K::Number, 100);
    columns[strgrd12_Flo_Quk] = Column("   Ra (kN)", K::Number, 86);
    columns[strgrd13_Flo_Qpk] = Column("   Rra (kN)", K::Number, 86);
    columns[strgrd14_Flo_SegemaQsrik] = Column(" ∑Rria (kN)", K::Number, 86);
    columns[strgrd15_Flo_Qsrik] = Column("   Rria (kN)", K::Number, 86);
    columns[strgrd16_Str_percent] = Column("   Rria/Ra", K::Text, 76);
    columns[strgrd17_Pic_percent] = Column("侧阻占比图例", K::ProgressBar, 100);
    columns[strgrd18_Str_beizhu] = Column("       备        注", K::Text, 200);
    columns[strgrd19_Str_Ysjycd] = Column("", K::Text, 70);
    columns[strgrd20_Flo_ChazhiC1] = Column("插值系数C1", K::Number, 86);
    columns[strgrd21_Flo_ChazhiC2] = Column("插值系数C2", K::Number, 86);
    return columns;
}

// The size fields take numbers; on touch devices they bring up the numeric keypad.
QComboBox *NumberCombo(QWidget *parent, const QString &name)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->lineEdit()->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    return combo;
}

QComboBox *ListCombo(QWidget *parent, const QString &name, const QStringList &items)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(items);
    return combo;
}

} // namespace

TInputPage::TInputPage(QWidget *parent)
    : TScaledLayer("MainFormLayer", QSize(380, 800), parent)
{
    BuildFrame();
    BuildPileGroup();
    BuildGroundGroup();
    BuildResultGroup();
    // The values of a new page are those of a new pile input; the controls' looks above match them.
    ShowPileInput(TPileInput {});
    m_ddText = cbe_dd->currentText();
    m_tyzdText = cbe_tyzd->currentText();

    connect(cbb_jmlx, &QComboBox::currentIndexChanged, this, &TInputPage::cbb_jmlxChange);
    connect(cbe_dd, &QComboBox::editTextChanged, this, &TInputPage::cbe_ddChange);
    connect(cbe_tyzd, &QComboBox::editTextChanged, this, &TInputPage::cbe_tyzdChange);
    connect(cbb_tuchengshu, &QComboBox::currentIndexChanged, this,
            &TInputPage::cbb_tuchengshuChange);
    connect(cbb_yanchengshu, &QComboBox::currentIndexChanged, this,
            &TInputPage::cbb_yanchengshuChange);
    connect(cbb_chezhuxishu, &QComboBox::currentIndexChanged, this,
            &TInputPage::cbb_chezhuxishuChange);
    connect(cbb_chazhiyiju, &QComboBox::currentIndexChanged, this,
            &TInputPage::cbb_chazhiyijuChange);
    connect(ckb_zhuankongzhuang, &QCheckBox::toggled, this, &TInputPage::ResetResultDisplay);
    connect(cbt_kuozhanbiaoge, &QPushButton::clicked, this, &TInputPage::cbt_kuozhanbiaogeClick);
    connect(StringGrid_TC1, &TLayerGrid::EditingDone, this, &TInputPage::ResetResultDisplay);
    connect(StringGrid_YC1, &TLayerGrid::EditingDone, this, &TInputPage::ResetResultDisplay);
    connect(cbt_JingDu, &QPushButton::clicked, this, &TInputPage::cbt_JingDuClick);
    connect(popbox_jingdu, &QListWidget::currentRowChanged, this, &TInputPage::popbox_jingduChange);
    connect(cbt_compute, &QPushButton::clicked, this, &TInputPage::ComputeRequested);
    connect(cbt_View, &QPushButton::clicked, this, &TInputPage::ViewRequested);
    connect(cbt_YouHua, &QPushButton::clicked, this, &TInputPage::OptimizationRequested);
    connect(cbt_tuichu, &QPushButton::clicked, this, &TInputPage::ExitRequested);
    connect(cbt_CopyRight, &QPushButton::clicked, this, &TInputPage::CopyRightRequested);
    connect(cbt_dakai, &QPushButton::clicked, this, &TInputPage::OpenRequested);
    connect(cbt_baocunshuju, &QPushButton::clicked, this, &TInputPage::SaveDataRequested);
    connect(cbt_hezai, &QPushButton::clicked, this, &TInputPage::cbt_hezaiClick);
}

void TInputPage::cbt_hezaiClick()
{
    if (!m_loadDialog) {
        m_loadDialog = new TLoadDialog(this);
        m_loadDialog->setWindowModality(Qt::WindowModal);
        connect(m_loadDialog, &TLoadDialog::LoadEdited, this,
                [this](const std::string &load, const std::string &gammaR) {
                    m_load = load;
                    m_gammaR = gammaR;
                    ResetResultDisplay(); // the pile is no longer the one calculated
                });
        connect(m_loadDialog, &TLoadDialog::Adopted, this, &TInputPage::AdoptDesignValue);
    }
    m_loadDialog->SetPile(ReadPileInput());
    m_loadDialog->open();
}

void TInputPage::AdoptDesignValue(TDesignFor target, const std::string &value)
{
    if (target == TDesignFor::Size) {
        cbe_dd->setEditText(ToQ(value)); // runs the field's change behaviour
        return;
    }
    StringGrid_YC1->SetCell(cbb_yanchengshu->currentIndex(), strgrd01_Flo_lr, ToQ(value));
    ResetResultDisplay();
}

void TInputPage::SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
    if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->lineEdit())
        combo->lineEdit()->setPalette(palette);
}

void TInputPage::BuildFrame()
{
    lb_cxm = AddLabel(this, "lb_cxm", QString::fromUtf8(ProgramTitle), 88, 2, 209, 33);
    lb_cxm->setAlignment(Qt::AlignCenter);
    SetFontPixels(lb_cxm, 24);
    SetTextColour(lb_cxm, QColor(0x8A, 0x2B, 0xE2));

    cbt_CopyRight = AddButton(this, "cbt_CopyRight", "©", 336, 6, 21, 21);
    cbt_CopyRight->setToolTip("版权信息");
    cbt_CopyRight->setProperty("small", true);

    // The pile file actions stand left of the title, where the page has nothing else.
    cbt_dakai = AddButton(this, "cbt_dakai", "打开", 6, 6, 34, 21);
    cbt_dakai->setToolTip("打开桩数据文件（*.json、*.csv）  Ctrl+O");
    cbt_dakai->setShortcut(QKeySequence::Open);
    cbt_baocunshuju = AddButton(this, "cbt_baocunshuju", "保存数据", 43, 6, 44, 21);
    cbt_baocunshuju->setToolTip("把计算书中各桩的输入数据保存为桩数据文件  Ctrl+S");
    cbt_baocunshuju->setShortcut(QKeySequence::Save);
    // The load dialog's button stands right of the title, where the page has nothing else.
    cbt_hezai = AddButton(this, "cbt_hezai", "荷载", 299, 6, 34, 21);
    cbt_hezai->setToolTip("桩顶轴力N、抗力系数γR：验算与求解嵌岩深度、桩径");
    for (QPushButton *button : {cbt_dakai, cbt_baocunshuju, cbt_hezai}) {
        button->setProperty("small", true);
        SetFontPixels(button, 10);
    }

    gpb_srcs = new QGroupBox("基桩参数", this);
    gpb_srcs->setObjectName("gpb_srcs");
    Place(gpb_srcs, 5, 40, 370, 145);
    gpb_yscs = new QGroupBox("岩土参数", this);
    gpb_yscs->setObjectName("gpb_yscs");
    Place(gpb_yscs, 5, 188, 370, 389);
    gpb_scjg = new QGroupBox("计算结果", this);
    gpb_scjg->setObjectName("gpb_scjg");
    Place(gpb_scjg, 5, 580, 370, 149);

    cbt_compute = AddButton(this, "cbt_compute", "计算", 40, 732, 100, 33);
    cbt_View = AddButton(this, "cbt_View", "结果", 40, 732, 100, 33);
    cbt_View->hide();
    cbt_YouHua = AddButton(this, "cbt_YouHua", "★", 172, 738, 20, 20);
    cbt_YouHua->setToolTip("筛选优化");
    cbt_YouHua->setProperty("round", true);
    SetFontPixels(cbt_YouHua, 14);
    // Round at every scale: the corner radius is half the scaled side.
    OnScale([this](double) {
        const int radius = std::min(cbt_YouHua->width(), cbt_YouHua->height()) / 2;
        cbt_YouHua->setStyleSheet(QString("QPushButton { border-radius: %1px; }").arg(radius));
    });
    SetTextColour(cbt_YouHua, Colours::Error);
    cbt_tuichu = AddButton(this, "cbt_tuichu", "退出", 224, 732, 100, 33);

    img_logo = new TLogoStrip(this);
    Place(img_logo, 0, 768, 380, 32);
    lb_shuoming = AddLabel(this, "lb_shuoming", QString(), 10, 768, 360, 33);
    SetTextColour(lb_shuoming, Colours::Error);
    lb_shuoming->hide();
}

void TInputPage::BuildPileGroup()
{
    QWidget *group = gpb_srcs;
    lb_jmlx = AddLabel(group, "lb_jmlx", "桩身截面类型", 12, 26, 180, 28);
    cbb_jmlx = ListCombo(group, "cbb_jmlx", Items(PileItems::Sections));
    Place(cbb_jmlx, 200, 26, 156, 28);

    lb_dd = AddLabel(group, "lb_dd", "桩  身   直   径    d (mm)", 12, 64, 180, 28);
    cbe_dd = NumberCombo(group, "cbe_dd");
    cbe_dd->addItems(Steps(1000, 2000, 100));
    Place(cbe_dd, 200, 64, 156, 28);

    lb_tyzd = AddLabel(group, "lb_tyzd", "椭圆直段长度    c (mm)", 12, 102, 180, 28);
    cbe_tyzd = NumberCombo(group, "cbe_tyzd");
    cbe_tyzd->addItems(Steps(100, 1200, 100));
    Place(cbe_tyzd, 200, 102, 156, 28);
    lb_tyzd->setEnabled(false);
    cbe_tyzd->setEnabled(false);

    // Kept from the design; neither takes part in the calculation.
    cbe_zhuanchongkong = NumberCombo(group, "cbe_zhuanchongkong");
    cbe_zhuanchongkong->addItems({"0.70", "0.75", "0.80", "0.85", "0.90"});
    cbe_zhuanchongkong->hide();
    ckb_dixiashui = new QCheckBox("钻冲孔桩", group);
    ckb_dixiashui->setObjectName("ckb_dixiashui");
    ckb_dixiashui->hide();
}

void TInputPage::BuildGroundGroup()
{
    QWidget *group = gpb_yscs;
    const auto addCountRow = [&](QLabel *&label, QComboBox *&combo, const QString &name,
                                 const QString &text, const QStringList &items, int y) {
        label = AddLabel(group, "lb_" + name, text, 12, y, 130, 26);
        combo = ListCombo(group, "cbb_" + name, items);
        // The four choices of this group are drawn smaller than the section's, but their text
        // keeps the page's font, which at the 80 % of the design would be unreadable on a
        // small screen.
        Place(combo, 146, y + 2, 210, 22);
    };
    addCountRow(lb_tuchengshu, cbb_tuchengshu, "tuchengshu", "覆盖层土层数", Steps(0, 9, 1), 22);
    addCountRow(lb_yanchengshu, cbb_yanchengshu, "yanchengshu", "嵌岩段岩层数", Steps(1, 9, 1), 52);
    addCountRow(lb_chezhuxishu, cbb_chezhuxishu, "chezhuxishu", "侧阻端阻系数",
                Items(PileItems::CoefModes), 82);
    addCountRow(lb_chazhiyiju, cbb_chazhiyiju, "chazhiyiju", "系数插值依据",
                Items(PileItems::Bases), 112);

    ckb_zhuankongzhuang = new QCheckBox("钻孔桩", group);
    ckb_zhuankongzhuang->setObjectName("ckb_zhuankongzhuang");
    Place(ckb_zhuankongzhuang, 12, 146, 120, 28);
    cbt_kuozhanbiaoge = AddButton(group, "cbt_kuozhanbiaoge", "展开", 296, 148, 60, 26);
    cbt_kuozhanbiaoge->setProperty("small", true);

    StringGrid_TC1 = new TLayerGrid("StringGrid_TC1", SoilColumns(), group);
    Place(StringGrid_TC1, 8, 184, 352, 100);
    StringGrid_YC1 = new TLayerGrid("StringGrid_YC1", RockColumns(), group);
    Place(StringGrid_YC1, 8, 286, 352, 100);
    for (TLayerGrid *grid : {StringGrid_TC1, StringGrid_YC1}) {
        OnScale([grid](double scale) { grid->SetScale(scale); });
    }
    for (int column = SoilExpandFirst; column <= SoilExpandLast; ++column)
        StringGrid_TC1->SetColumnShown(column, false);
    for (int column = strgrd04_Flo_wangzhengzhishu; column < RockColumnCount; ++column)
        StringGrid_YC1->SetColumnShown(column, column == strgrd05_Flo_frk);
}

void TInputPage::BuildResultGroup()
{
    QWidget *group = gpb_scjg;
    const auto addField = [&](const QString &name, int y) {
        auto *field = new QLineEdit(group);
        field->setObjectName(name);
        field->setReadOnly(true);
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        field->setFocusPolicy(Qt::NoFocus);
        Place(field, 222, y, 136, 32);
        SetFontPixels(field, 18);
        SetTextColour(field, Colours::Compliant);
        return field;
    };
    lb_ra = AddLabel(group, "lb_ra", "单桩竖向承载力特征值Ra(kN)", 12, 30, 206, 32);
    edt_ra = addField("edt_ra", 30);
    lb_rc = AddLabel(group, "lb_rc", "其中桩端总端阻力所占百分比", 12, 66, 206, 32);
    edt_percent = addField("edt_percent", 66);
    lb_kesair = AddLabel(group, "lb_kesair", "桩端总端阻力特征值  Rpa(kN)", 12, 66, 206, 32);
    edt_Quk = addField("edt_Quk", 66);
    lb_kesair->hide();
    edt_Quk->hide();
    lb_guifan1 = AddLabel(group, "lb_guifan1", "《公路桥涵地基与基础设计规范》(JTG3363-2019)", 0,
                          104, 370, 20);
    lb_guifan2 = AddLabel(group, "lb_guifan2", "单桩轴向受压承载力特征值计算依据：第6.3.7条", 0,
                          124, 370, 20);
    lb_guifan1->setAlignment(Qt::AlignCenter);
    lb_guifan2->setAlignment(Qt::AlignCenter);

    cbt_JingDu = AddButton(group, "cbt_JingDu", "≈", 340, 4, 22, 22);
    cbt_JingDu->setToolTip("调整精度");
    cbt_JingDu->setProperty("small", true);
    popbox_jingdu = new QListWidget(group);
    popbox_jingdu->setObjectName("popbox_jingdu");
    popbox_jingdu->addItems(Items(PileItems::Roundings));
    Place(popbox_jingdu, 248, 4, 90, 104);
    popbox_jingdu->hide();
}

void TInputPage::ResetResultDisplay()
{
    edt_ra->clear();
    edt_percent->clear();
    edt_Quk->clear();
    cbt_compute->setEnabled(true);
    cbt_compute->show();
    cbt_View->hide();
}

void TInputPage::ShowStatus(const QString &text, const QColor &colour)
{
    img_logo->hide();
    lb_shuoming->show();
    SetTextColour(lb_shuoming, colour);
    lb_shuoming->setText(text);
    lb_shuoming->setToolTip({});
}

void TInputPage::ShowSavedFile(const QString &path)
{
    ShowStatus({}, Colours::Note);
    ::ShowSavedFile(lb_shuoming, "已保存：", path);
}

void TInputPage::ShowStatusStrip()
{
    img_logo->hide();
    lb_shuoming->show();
}

void TInputPage::ShowPileInput(const TPileInput &input)
{
    // The section first: its change behaviour sets the pick list and default of c, which the
    // input's own d and c then replace.
    cbb_jmlx->setCurrentIndex(IsRectangular(input.sectionType)
                                  ? static_cast<int>(TSectionType::Rectangle)
                                  : static_cast<int>(input.sectionType));
    cbe_dd->setEditText(ToQ(input.d));
    cbe_tyzd->setEditText(ToQ(input.c));

    const int rockCount = static_cast<int>(input.rockLayers.size());
    StringGrid_YC1->SetRowCount(rockCount);
    cbb_yanchengshu->setCurrentIndex(rockCount - 1);
    cbb_chezhuxishu->setCurrentIndex(static_cast<int>(input.coefMode));
    cbb_chazhiyiju->setCurrentIndex(static_cast<int>(input.interpBasis));
    for (int i = 0; i < rockCount; ++i) {
        const TRockLayer &rock = input.rockLayers[i];
        TLayerGrid *grid = StringGrid_YC1;
        grid->SetCell(i, strgrd01_Flo_lr, ToQ(rock.hi));
        grid->SetCell(i, strgrd02_Str_fenghuachengdu, ToQ(rock.weathering));
        grid->SetCell(i, strgrd03_Str_wanzhengchengdu, ToQ(rock.integrityGrade));
        grid->SetCell(i, strgrd04_Flo_wangzhengzhishu, ToQ(rock.integrityIndex));
        grid->SetCell(i, strgrd05_Flo_frk, ToQ(rock.frk));
        grid->SetCell(i, strgrd06_Flo_c1, ToQ(rock.c1Specified));
        grid->SetCell(i, strgrd07_Flo_c2, ToQ(rock.c2Specified));
    }
    ckb_zhuankongzhuang->setChecked(input.boredPile);
    m_load = input.load;
    m_gammaR = input.gammaR;
    {
        // A precision written from a record waits for the next calculation, as one chosen while
        // the list is closed.
        const QSignalBlocker quiet(popbox_jingdu);
        popbox_jingdu->setCurrentRow(static_cast<int>(input.rounding));
    }

    // The soil layers last. Without any, the grid is hidden and keeps the rows it holds, which come
    // back with a count above 0.
    const int soilCount = static_cast<int>(input.soilLayers.size());
    if (soilCount > 0) {
        StringGrid_TC1->SetRowCount(soilCount);
        for (int j = 0; j < soilCount; ++j) {
            StringGrid_TC1->SetCell(j, strgrd_t01_Flo_li, ToQ(input.soilLayers[j].li));
            StringGrid_TC1->SetCell(j, strgrd_t02_Flo_qik, ToQ(input.soilLayers[j].qik));
        }
    }
    cbb_tuchengshu->setCurrentIndex(soilCount);
}

void TInputPage::ShowResultsButton()
{
    cbt_compute->hide();
    cbt_View->show();
    popbox_jingdu->hide();
}

void TInputPage::cbb_jmlxChange(int index)
{
    const auto type = static_cast<TSectionType>(index);
    const bool rectangle = type == TSectionType::Rectangle;
    lb_dd->setText(rectangle ? "矩形长边尺寸    a (mm)" : "桩  身   直   径    d (mm)");
    lb_tyzd->setText(rectangle ? "矩形短边尺寸    b (mm)" : "椭圆直段长度    c (mm)");
    lb_tyzd->setEnabled(type != TSectionType::Circle);
    cbe_tyzd->setEnabled(type != TSectionType::Circle);
    cbe_tyzd->clear();
    cbe_tyzd->addItems(rectangle ? Steps(1000, 2000, 100) : Steps(100, 1200, 100));
    if (type == TSectionType::Circle)
        cbe_tyzd->setEditText(ToQ(PileItems::SectionDefaultC[0]));
    else
        cbe_tyzd->setCurrentIndex(cbe_tyzd->findText(ToQ(PileItems::SectionDefaultC[index])));
    ResetResultDisplay();
}

void TInputPage::cbe_ddChange(const QString &text)
{
    if (text == m_ddText)
        return;
    m_ddText = text;
    ResetResultDisplay();
    const auto d = ReadDecimal(ToStd(text));
    if (d && *d > 0) {
        lb_shuoming->clear();
        SetTextColour(cbe_dd, Colours::Note);
    } else {
        ShowStatus(ToQ(Messages::DiameterError), Colours::Error);
        SetTextColour(cbe_dd, Colours::Error);
    }
}

void TInputPage::cbe_tyzdChange(const QString &text)
{
    if (text == m_tyzdText)
        return;
    m_tyzdText = text;
    ResetResultDisplay();
    const auto c = ReadDecimal(ToStd(text));
    if (c && *c >= 0) {
        lb_shuoming->clear();
        SetTextColour(cbe_tyzd, Colours::Note);
    } else {
        ShowStatus(ToQ(Messages::EllipseLengthError), Colours::Error);
        SetTextColour(cbe_tyzd, Colours::Error);
    }
}

void TInputPage::cbb_tuchengshuChange(int index)
{
    if (index == 0) {
        StringGrid_TC1->hide();
        StringGrid_TC1->setEnabled(false);
        Place(StringGrid_YC1, 8, 184, 352, 202);
    } else {
        StringGrid_TC1->show();
        StringGrid_TC1->setEnabled(true);
        Place(StringGrid_YC1, 8, 286, 352, 100);
        StringGrid_TC1->SetRowCount(index);
    }
    ResetResultDisplay();
}

void TInputPage::cbb_yanchengshuChange(int index)
{
    StringGrid_YC1->SetRowCount(index + 1);
    ResetResultDisplay();
}

void TInputPage::ShowBasisColumns()
{
    const bool byGrade = cbb_chazhiyiju->currentIndex() == 0;
    StringGrid_YC1->SetColumnShown(strgrd03_Str_wanzhengchengdu, byGrade);
    StringGrid_YC1->SetColumnShown(strgrd04_Flo_wangzhengzhishu, !byGrade);
}

void TInputPage::cbb_chezhuxishuChange(int index)
{
    const auto mode = static_cast<TCoefMode>(index);
    const bool specified = mode == TCoefMode::Specified;
    if (specified) {
        for (int column : {strgrd02_Str_fenghuachengdu, strgrd03_Str_wanzhengchengdu,
                           strgrd04_Flo_wangzhengzhishu})
            StringGrid_YC1->SetColumnShown(column, false);
    } else {
        StringGrid_YC1->SetColumnShown(strgrd02_Str_fenghuachengdu, true);
        ShowBasisColumns();
    }
    StringGrid_YC1->SetColumnShown(strgrd05_Flo_frk, true);
    const bool withSpecified = mode != TCoefMode::Interpolated;
    StringGrid_YC1->SetColumnShown(strgrd06_Flo_c1, withSpecified);
    StringGrid_YC1->SetColumnShown(strgrd07_Flo_c2, withSpecified);
    lb_chazhiyiju->setEnabled(!specified);
    cbb_chazhiyiju->setEnabled(!specified);
    ckb_zhuankongzhuang->setEnabled(!specified);
    SetTextColour(lb_chezhuxishu, withSpecified ? Colours::Hint : Colours::Note);
    if (withSpecified)
        ShowStatus("提示：指定的系数需自行确定其合理性", Colours::Hint);
    else
        ShowStatus(QString(), Colours::Note);
    ResetResultDisplay();
}

void TInputPage::cbb_chazhiyijuChange(int)
{
    ShowBasisColumns();
    cbb_chazhiyiju->setEnabled(true);
    ResetResultDisplay();
}

void TInputPage::cbt_kuozhanbiaogeClick()
{
    m_gridsExpanded = !m_gridsExpanded;
    for (int column = SoilExpandFirst; column <= SoilExpandLast; ++column)
        StringGrid_TC1->SetColumnShown(column, m_gridsExpanded);
    for (int column = RockExpandFirst; column <= RockExpandLast; ++column)
        StringGrid_YC1->SetColumnShown(column, m_gridsExpanded);
    cbt_kuozhanbiaoge->setText(m_gridsExpanded ? "折叠" : "展开");
}

void TInputPage::cbt_JingDuClick()
{
    popbox_jingdu->setVisible(popbox_jingdu->isHidden());
    popbox_jingdu->raise();
}

void TInputPage::popbox_jingduChange()
{
    // A precision chosen while the list is closed waits for the next calculation.
    if (!popbox_jingdu->isHidden())
        emit ComputeRequested();
}
