#pragma once

#include "project_info.h"

#include <QDialog>

class QLineEdit;

// The project fields of the printed book's cover and page headers: the project, the structure or
// pier, the book's number and who calculated, checked and reviewed. Opened by "项目" on the
// results page; "确定" hands the fields to the window, which keeps them for the PDF and the pile
// file, "取消" leaves them as they were.
class TProjectDialog : public QDialog
{
    Q_OBJECT

public:
    TProjectDialog(const TProjectInfo &project, QWidget *parent);

    TProjectInfo Project() const;

private:
    QLineEdit *edt_ProjectName;
    QLineEdit *edt_Structure;
    QLineEdit *edt_BookNo;
    QLineEdit *edt_Designer;
    QLineEdit *edt_Checker;
    QLineEdit *edt_Reviewer;
};
