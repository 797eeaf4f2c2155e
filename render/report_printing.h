#pragma once

#include "pile_reports.h"
#include "project_info.h"

#include <QPrinter>

// Printing a report: the same pages as its PDF, painted on a printer.

enum class TReportKind { Book, Table };

// Gives the printer the report's page size and orientation, before the print dialog is shown.
void SetUpPrinter(QPrinter &printer, TReportKind kind);

// Paints the report on the printer as the dialog left it; returns the number of pages.
int PrintReport(QPrinter &printer, const TPileReports &reports, TReportKind kind,
                const TProjectInfo &project = {});
