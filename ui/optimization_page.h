#pragma once

#include "scaled_layer.h"

class QLabel;
class QPushButton;

// The optimization page YouHuaFormLayer: its status line and the way back to the input page. The
// options table, the candidate grids and the sweep stand on it too.
class TOptimizationPage : public TScaledLayer
{
    Q_OBJECT

public:
    explicit TOptimizationPage(QWidget *parent);

    // The notice that a calculation run from this page stopped; the input page shows why.
    void ShowAbortNotice();

signals:
    void BackRequested();

private:
    QLabel *lb_YHxingxi;
    QPushButton *cbt_YHfanhui;
};
