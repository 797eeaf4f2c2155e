#pragma once

#include "pile_reports.h"
#include "project_info.h"

#include <QByteArray>
#include <QPagedPaintDevice>
#include <QString>

#include <string>
#include <vector>

// The printed reports: the calculation book on A4 portrait, a cover with the project and the
// sign-off block first, then each pile's section followed by the derivation of its coefficients
// and its profile, every page after the cover headed by the project and the pile; and the summary
// table on A4 landscape. Both are painted in the fixed-width CJK report font on the column grid
// of the text files, with the program title and the page number in a footer; no page break falls
// inside a table or a block of one pile's figures.

// The footer's title.
inline constexpr const char *ReportFooterTitle = "嵌岩桩承载力计算 (JTG3363-2019)";

// Gives a paged device (a PDF writer, a printer) the page size, orientation and margins of a
// report. The printing entry calls these before the print dialog, which may change them; the
// painting follows the device's page whatever it is.
void SetBookPageLayout(QPagedPaintDevice &device);
void SetTablePageLayout(QPagedPaintDevice &device);

// The summary table as its PDF prints it: the table's lines with a column at their right for the
// check of each pile's design load ("未输入设计荷载" without a load), the rules drawn across it.
std::vector<std::string> PrintedTableLines(const TPileReports &reports);

// Paints every page of a report on a paged device that has no painter yet. Empty reports give one
// page with its footer; pages of the table after the first repeat its rule and header lines above
// their pile lines. Returns the number of pages.
int PaintBook(QPagedPaintDevice &device, const TPileReports &reports,
              const TProjectInfo &project = {});
int PaintTable(QPagedPaintDevice &device, const TPileReports &reports);

// A PDF of a report as Qt writes it, with its text layer mended (MendTextMaps) so that a reader
// copies the characters that were painted; a printer writing a file needs it too.
QByteArray MendReportPdf(QByteArray pdf);

// The whole report as a PDF document. Its creation date and its identifiers derive from the time
// stamp of the report's last pile (and its content), never from the clock, so the same piles
// with the same time stamps give the same bytes.
QByteArray BookPdf(const TPileReports &reports, const TProjectInfo &project = {});
QByteArray TablePdf(const TPileReports &reports);
