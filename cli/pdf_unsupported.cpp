#include "pdf_output.h"

#include <stdexcept>

// A build without the rendering layer (no Qt): the PDF formats are refused.

bool PdfSupported()
{
    return false;
}

std::string ReportPdf(const TPileReports &, const TProjectInfo &, bool)
{
    throw std::runtime_error("this pilecalc was built without PDF support");
}
