#include "load_dialog.h"

#include "colours.h"
#include "qt_text.h"

#include "calculation.h"
#include "design_load.h"
#include "number_format.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit *AddField(QWidget *parent, const char *name, bool readOnly)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    field->setReadOnly(readOnly);
    if (readOnly)
        field->setFocusPolicy(Qt::NoFocus);
    return field;
}

QLabel *AddLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton *AddButton(QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

void SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

} // namespace

TLoadDialog::TLoadDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName("dlg_hezai");
    setWindowTitle("荷载");
    auto *grid = new QGridLayout(this);
    edt_hezaiN = AddField(this, "edt_hezaiN", false);
    edt_kanglixishu = AddField(this, "edt_kanglixishu", false);
    edt_chengzaili = AddField(this, "edt_chengzaili", true);
    edt_liyonglv = AddField(this, "edt_liyonglv", true);
    lb_yansuan = AddLabel(this, "lb_yansuan", {});
    lb_yansuan->setWordWrap(true);
    grid->addWidget(AddLabel(this, "lb_hezaiN", "桩顶轴力 N (kN)"), 0, 0);
    grid->addWidget(edt_hezaiN, 0, 1, 1, 2);
    grid->addWidget(AddLabel(this, "lb_kanglixishu", "抗力系数 γR"), 1, 0);
    grid->addWidget(edt_kanglixishu, 1, 1, 1, 2);
    grid->addWidget(AddLabel(this, "lb_chengzaili", "γR·Ra (kN)"), 2, 0);
    grid->addWidget(edt_chengzaili, 2, 1, 1, 2);
    grid->addWidget(AddLabel(this, "lb_liyonglv", "N / (γR·Ra)"), 3, 0);
    grid->addWidget(edt_liyonglv, 3, 1, 1, 2);
    grid->addWidget(lb_yansuan, 4, 0, 1, 3);

    m_depth = {TDesignFor::SocketDepth,
               AddButton(this, "cbt_qiushendu", "求嵌岩深度"),
               AddLabel(this, "lb_shendu", {}),
               AddButton(this, "cbt_caiyongshendu", "采用"),
               {}};
    m_size = {TDesignFor::Size,
              AddButton(this, "cbt_qiuchicun", "求桩径"),
              AddLabel(this, "lb_chicun", {}),
              AddButton(this, "cbt_caiyongchicun", "采用"),
              {}};
    int line = 5;
    for (TSolveRow *row : {&m_depth, &m_size}) {
        row->answer->setMinimumWidth(220);
        row->answer->setWordWrap(true);
        row->adopt->setEnabled(false);
        grid->addWidget(row->solve, line, 0);
        grid->addWidget(row->answer, line, 1);
        grid->addWidget(row->adopt, line, 2);
        connect(row->solve, &QPushButton::clicked, this, [this, row] { Solve(*row); });
        connect(row->adopt, &QPushButton::clicked, this, [this, row] { Adopt(*row); });
        ++line;
    }
    cbt_guanbi = AddButton(this, "cbt_guanbi", "关闭");
    grid->addWidget(cbt_guanbi, line, 2);
    connect(cbt_guanbi, &QPushButton::clicked, this, &QDialog::accept);
    connect(edt_hezaiN, &QLineEdit::textEdited, this, &TLoadDialog::EditLoad);
    connect(edt_kanglixishu, &QLineEdit::textEdited, this, &TLoadDialog::EditLoad);
}

void TLoadDialog::SetPile(const TPileInput &pile)
{
    m_pile = pile;
    edt_hezaiN->setText(ToQ(pile.load));
    edt_kanglixishu->setText(ToQ(pile.gammaR));
    ClearAnswers();
    ShowCheck();
}

void TLoadDialog::EditLoad()
{
    m_pile.load = ToStd(edt_hezaiN->text());
    m_pile.gammaR = ToStd(edt_kanglixishu->text());
    ClearAnswers();
    ShowCheck();
    emit LoadEdited(m_pile.load, m_pile.gammaR);
}

void TLoadDialog::ShowCheck()
{
    edt_chengzaili->clear();
    edt_liyonglv->clear();
    const auto showVerdict = [this](std::string_view text, const QColor &colour) {
        lb_yansuan->setText(ToQ(text));
        SetTextColour(lb_yansuan, colour);
    };
    const TLoadReading reading = ReadDesignLoad(m_pile);
    if (!reading.ok()) {
        showVerdict(reading.error, Colours::Error);
        return;
    }
    if (!reading.load) {
        showVerdict({}, Colours::Note); // no load, no check
        return;
    }
    const TCalcOutcome outcome = Calculate(m_pile);
    if (!outcome.ok()) {
        showVerdict(outcome.failure->message, Colours::Error);
        return;
    }
    const TLoadCheck check = CheckLoad(*reading.load, outcome.result.Ra);
    if (!check.made()) {
        showVerdict(check.error, Colours::Error);
        return;
    }
    edt_chengzaili->setText(ToQ(FormatFixed(check.capacity, 15, 2)));
    edt_liyonglv->setText(ToQ(FormatFixed(check.utilization, 15, 3)));
    showVerdict(LoadVerdictText(check.ok), check.ok ? Colours::Compliant : Colours::Error);
}

void TLoadDialog::ClearAnswers()
{
    for (TSolveRow *row : {&m_depth, &m_size}) {
        row->value.clear();
        row->answer->clear();
        row->adopt->setEnabled(false);
    }
}

void TLoadDialog::Solve(TSolveRow &row)
{
    const bool depth = row.target == TDesignFor::SocketDepth;
    const TDesignAnswer answer =
        SolveDesign(m_pile, row.target, depth ? DefaultDepthStep : DefaultSizeStep);
    row.value = answer.ok ? answer.value : std::string();
    row.adopt->setEnabled(answer.ok);
    if (!answer.ok) {
        row.answer->setText(ToQ(answer.message));
        SetTextColour(row.answer, Colours::Error);
        return;
    }
    const std::string what = depth
        ? "末层嵌岩厚度 " + answer.value + " m"
        : (m_pile.sectionType == TSectionType::Circle ? "d = " : "a = ") + answer.value + " mm";
    row.answer->setText(ToQ(what + "，γR·Ra = " + FormatFixed(answer.capacity, 15, 2) + " kN"));
    SetTextColour(row.answer, Colours::Note);
}

void TLoadDialog::Adopt(TSolveRow &row)
{
    if (row.value.empty())
        return;
    const std::string value = row.value;
    m_pile = WithDesignValue(m_pile, row.target, value);
    ClearAnswers();
    ShowCheck();
    emit Adopted(row.target, value);
}
