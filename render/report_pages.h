#pragma once

#include "pile_reports.h"

#include <QByteArray>
#include <QPagedPaintDevice>
#include <QString>

// The printed reports: the calculation book on A4 portrait with each pile's profile after its
// section, and the summary table on A4 landscape. Both are painted in the fixed-width CJK report
// font on the column grid of the text files, with the program title and the page number in a
// footer; no page break falls inside a table.

// The footer's title.
inline constexpr const char *ReportFooterTitle = "嵌岩桩承载力计算 (JTG3363-2019)";

// Gives a paged device (a PDF writer, a printer) the page size, orientation and margins of a
// report. The printing entry calls these before the print dialog, which may change them; the
// painting follows the device's page whatever it is.
void SetBookPageLayout(QPagedPaintDevice &device);
void SetTablePageLayout(QPagedPaintDevice &device);

// Paints every page of a report on a paged device that has no painter yet. Empty reports give one
// page with its footer; pages of the table after the first repeat its rule and header lines above
// their pile lines. Returns the number of pages.
int PaintBook(QPagedPaintDevice &device, const TPileReports &reports);
int PaintTable(QPagedPaintDevice &device, const TPileReports &reports);

// A PDF of a report as Qt writes it, with its text layer mended (MendTextMaps) so that a reader
// copies the characters that were painted; a printer writing a file needs it too.
QByteArray MendReportPdf(QByteArray pdf);

// The whole report as a PDF document.
QByteArray BookPdf(const TPileReports &reports);
QByteArray TablePdf(const TPileReports &reports);
