#pragma once

#include "design_solver.h"
#include "pile_input.h"

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// The dialog "荷载" of the input page: the pile's design load N and resistance factor γR, the
// check of the pile on show against them (capacity γR·Ra, utilization, 满足/不满足), and the least
// socket depth and size that carry N, each with "采用" to write it into the page. The dialog works
// on a copy of the page's pile; what changes goes out as LoadEdited and Adopted.
class TLoadDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TLoadDialog(QWidget *parent);

    // The pile on show: its load fills the fields, the check is made anew, old answers go.
    void SetPile(const TPileInput &pile);

signals:
    // N or γR was edited: the page keeps the texts with its pile.
    void LoadEdited(const std::string &load, const std::string &gammaR);
    // "采用": the page writes the value into the last rock layer's thickness or d.
    void Adopted(TDesignFor target, const std::string &value);

private:
    struct TSolveRow
    {
        TDesignFor target;
        QPushButton *solve;
        QLabel *answer;
        QPushButton *adopt;
        std::string value; // the answer shown, empty when none
    };

    void EditLoad();
    void ShowCheck();
    void ClearAnswers();
    void Solve(TSolveRow &row);
    void Adopt(TSolveRow &row);

    QLineEdit *edt_hezaiN;
    QLineEdit *edt_kanglixishu;
    QLineEdit *edt_chengzaili;
    QLineEdit *edt_liyonglv;
    QLabel *lb_yansuan;
    TSolveRow m_depth;
    TSolveRow m_size;
    QPushButton *cbt_guanbi;

    TPileInput m_pile;
};
