#include "project_dialog.h"

#include "qt_text.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit *Field(QWidget *parent, const char *name, const std::string &text)
{
    auto *edit = new QLineEdit(ToQ(text), parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(260);
    return edit;
}

} // namespace

TProjectDialog::TProjectDialog(const TProjectInfo &project, QWidget *parent)
    : QDialog(parent)
{
    setObjectName("frm_Project");
    setWindowTitle("项目信息");
    auto *form = new QFormLayout(this);
    edt_ProjectName = Field(this, "edt_ProjectName", project.name);
    edt_Structure = Field(this, "edt_Structure", project.structure);
    edt_BookNo = Field(this, "edt_BookNo", project.bookNo);
    edt_Designer = Field(this, "edt_Designer", project.designer);
    edt_Checker = Field(this, "edt_Checker", project.checker);
    edt_Reviewer = Field(this, "edt_Reviewer", project.reviewer);
    form->addRow("项目名称", edt_ProjectName);
    form->addRow("结构物/墩台", edt_Structure);
    form->addRow("计算书编号", edt_BookNo);
    form->addRow("计算", edt_Designer);
    form->addRow("复核", edt_Checker);
    form->addRow("审核", edt_Reviewer);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("bbx_Project");
    buttons->button(QDialogButtonBox::Ok)->setText("确定");
    buttons->button(QDialogButtonBox::Ok)->setObjectName("cbt_ProjectOk");
    buttons->button(QDialogButtonBox::Cancel)->setText("取消");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cbt_ProjectCancel");
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TProjectInfo TProjectDialog::Project() const
{
    return {ToStd(edt_ProjectName->text()), ToStd(edt_Structure->text()),
            ToStd(edt_BookNo->text()),      ToStd(edt_Designer->text()),
            ToStd(edt_Checker->text()),     ToStd(edt_Reviewer->text())};
}
