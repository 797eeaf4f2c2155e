#pragma once

#include "scaled_layer.h"

#include <string>
#include <vector>

class QAction;
class QLabel;
class QPushButton;
class QSlider;
class TPileReports;
class TProfileView;
class TReportMemo;

// Bits of UnsavedReports: the report has content not yet saved.
inline constexpr int UnsavedBook = 1;
inline constexpr int UnsavedTable = 2;

// The results page JieGuo_DocLayer: the calculation book or the summary table, one at a time, with
// saving, deleting the last pile, a text size slider and the way back. Beside the page's own
// controls, in its free top corners: "PDF" saves the report on show as a PDF (its context menu
// and Ctrl+P print it), and "剖面" lays the profile of the last pile over the page. A note over the
// foot of the report names the file a PDF went to.
class TResultsPage : public TScaledLayer
{
    Q_OBJECT

public:
    // The page derives its save button from the program's UnsavedReports and the report on show.
    TResultsPage(const int &unsavedReports, QWidget *parent);

    // Shows the reports as they now stand, after a calculation that extended them from the top,
    // with the save button by UnsavedReports and delete-last enabled while there is a pile.
    void ShowReports(const TPileReports &reports, bool fromTop);
    bool BookShown() const { return !m_tableShown; }
    bool TableShown() const { return m_tableShown; }
    // The save button by UnsavedReports and the report on show, after UnsavedReports changed.
    void UpdateSaveButton();

    // Names a saved file on a note over the foot of the report, until the report on show or the
    // reports change or the page is left.
    void ShowSavedFile(const QString &path);

    // The profile over the page, while it is shown.
    const TProfileView *ProfileView() const { return m_profileView; }

signals:
    void SaveRequested();
    void PdfRequested();
    void ProjectRequested();
    void PrintRequested();
    void DeleteLastRequested();
    void BackRequested();

private:
    void cbt_PageBookClick();
    void tcb_meoFontSizeChange(int size);
    void cbt_ProfileClick();

    QLabel *lb_jisuanjieguo;
    QPushButton *cbt_PageBook;
    TReportMemo *meo_jisuanjieguo_Doc;
    TReportMemo *meo_jisuanjieguo_Xls;
    QPushButton *cbt_Exit;
    QPushButton *cbt_Save;
    QPushButton *cbt_sanchu;
    QSlider *tcb_meoFontSize;
    QPushButton *cbt_Pdf;
    QPushButton *cbt_Profile;
    QLabel *lb_JGxingxi; // the note of a saved file
    QPushButton *cbt_xiangmu;
    QAction *act_Print;
    TProfileView *m_profileView;
    const TPileReports *m_reports = nullptr; // as last shown
    const int &m_unsavedReports;
    bool m_tableShown = false; // cbt_PageBook shows "2" for the table, "1" for the book
};
