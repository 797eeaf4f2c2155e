#include "report_printing.h"

#include "report_pages.h"

#include <QFile>
#include <QSaveFile>

void SetUpPrinter(QPrinter &printer, TReportKind kind)
{
    printer.setFullPage(false);
    printer.setDocName(QString::fromUtf8(ReportFooterTitle));
    if (kind == TReportKind::Book)
        SetBookPageLayout(printer);
    else
        SetTablePageLayout(printer);
}

namespace {

// A printer that writes a PDF file ("Print to File") leaves the text layer as Qt writes it: it is
// mended as that of the PDF button's file. Only a whole mended file replaces the printed one.
void MendPrintedFile(const QString &path)
{
    QFile printed(path);
    if (!printed.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = printed.readAll();
    printed.close();
    const QByteArray mended = MendReportPdf(bytes);
    if (mended == bytes)
        return;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(mended) == mended.size())
        file.commit();
}

} // namespace

int PrintReport(QPrinter &printer, const TPileReports &reports, TReportKind kind,
                const TProjectInfo &project)
{
    const int pages = kind == TReportKind::Book ? PaintBook(printer, reports, project)
                                                : PaintTable(printer, reports);
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        MendPrintedFile(printer.outputFileName());
    return pages;
}
