#include "report_printing.h"

#include "report_pages.h"

void SetUpPrinter(QPrinter &printer, TReportKind kind)
{
    printer.setFullPage(false);
    printer.setDocName(QString::fromUtf8(ReportFooterTitle));
    if (kind == TReportKind::Book)
        SetBookPageLayout(printer);
    else
        SetTablePageLayout(printer);
}

int PrintReport(QPrinter &printer, const TPileReports &reports, TReportKind kind,
                const TProjectInfo &project)
{
    return kind == TReportKind::Book ? PaintBook(printer, reports, project)
                                     : PaintTable(printer, reports);
}
