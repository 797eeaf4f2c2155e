#pragma once

#include "pile_reports.h"
#include "project_info.h"

#include <optional>
#include <string>

// The PDF formats of the batch tool, present only where the build has the rendering layer.

// Whether this build can write PDF.
bool PdfSupported();

// The calculation book or the summary table of the reports as a PDF document, painted as the
// desktop program prints it. Makes the Qt Gui application object on first use, on the offscreen
// platform, so no display is needed. Throws std::runtime_error without a CJK report font.
std::string ReportPdf(const TPileReports &reports, const TProjectInfo &project, bool table);
