#include "pdf_output.h"

#include "report_font.h"
#include "report_pages.h"

#include <QGuiApplication>

#include <memory>
#include <stdexcept>

namespace {

// Qt's own notes (a missing runtime folder and the like) are not the tool's messages.
void QuietQtMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        fprintf(stderr, "pilecalc: %s\n", message.toLocal8Bit().constData());
}

// The Qt Gui application object for the time of one document, where none exists yet: drawing
// into a PDF needs fonts, never a screen, so it runs on the offscreen platform.
class TGuiSession
{
public:
    TGuiSession()
    {
        if (QGuiApplication::instance())
            return;
        qInstallMessageHandler(QuietQtMessages);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        m_application = std::make_unique<QGuiApplication>(m_argc, m_argv);
    }

private:
    int m_argc = 1;
    char m_name[9] = "pilecalc";
    char *m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_application;
};

} // namespace

bool PdfSupported()
{
    return true;
}

std::string ReportPdf(const TPileReports &reports, const TProjectInfo &project, bool table)
{
    const TGuiSession session;
    if (ReportFontFamily().isEmpty())
        throw std::runtime_error("no CJK report font found (SimHei or Noto Sans Mono CJK SC; the "
                                 "Debian package fonts-noto-cjk has the latter)");
    const QByteArray pdf = table ? TablePdf(reports) : BookPdf(reports, project);
    return std::string(pdf.constData(), std::size_t(pdf.size()));
}
