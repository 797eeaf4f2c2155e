#pragma once

#include "scaled_layer.h"

#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QSlider;
class TPileReports;
class TReportMemo;

// Bits of UnsavedReports: the report has content not yet saved.
inline constexpr int UnsavedBook = 1;
inline constexpr int UnsavedTable = 2;

// The results page JieGuo_DocLayer: the calculation book or the summary table, one at a time, with
// saving, deleting the last pile, a text size slider and the way back.
class TResultsPage : public TScaledLayer
{
    Q_OBJECT

public:
    // The page reads the program's UnsavedReports whenever it switches the report on show.
    TResultsPage(const int &unsavedReports, QWidget *parent);

    // Shows the reports as they now stand; after a calculation that extended them, from the top.
    void ShowReports(const TPileReports &reports, bool fromTop);
    bool BookShown() const;
    bool TableShown() const;
    // The save button by UnsavedReports and the report on show.
    void UpdateSaveButton(int unsavedReports);
    void EnableSave(bool enabled);
    void EnableDelete(bool enabled);

signals:
    void SaveRequested();
    void DeleteLastRequested();
    void BackRequested();

private:
    void cbt_PageBookClick();
    void tcb_meoFontSizeChange(int size);

    QLabel *lb_jisuanjieguo;
    QPushButton *cbt_PageBook;
    TReportMemo *meo_jisuanjieguo_Doc;
    TReportMemo *meo_jisuanjieguo_Xls;
    QPushButton *cbt_Exit;
    QPushButton *cbt_Save;
    QPushButton *cbt_sanchu;
    QSlider *tcb_meoFontSize;
    const int &m_unsavedReports;
};
