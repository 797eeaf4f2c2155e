#include "report_pages.h"

#include "column_text.h"
#include "page_flow.h"
#include "pdf_text_map.h"
#include "pile_profile.h"
#include "report_font.h"
#include "summary_table.h"
#include "text_columns.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <utility>

namespace {

constexpr double PointsPerMm = 72 / 25.4;
constexpr double BookPointSize = 11; // the largest size; smaller only if a line would not fit
constexpr double TablePointSize = 10;
constexpr double LineSpacing = 1.42; // baseline to baseline, in font heights of an em
constexpr double FooterPointSize = 8.5;
constexpr double FigureShare = 0.62; // of the text height of a page, for a pile's profile

int WidestLine(const std::vector<std::string> &lines, int atLeast)
{
    int widest = atLeast;
    for (const std::string &line : lines)
        widest = std::max(widest, DisplayWidth(line));
    return widest;
}

class TReportPainter
{
public:
    TReportPainter(QPagedPaintDevice &device, const std::vector<std::string> &lines,
                   double pointSize, int columns)
        : m_device(device)
        , m_lines(lines)
        , m_dpi(device.logicalDpiY())
        , m_paint(device.pageLayout().paintRectPixels(device.logicalDpiX()))
        , m_text(FittedFont(pointSize, columns), &device)
        , m_footer(ReportFont(FooterPointSize), &device)
    {
        m_pitch = m_text.Font().pointSizeF() * LineSpacing * m_dpi / 72;
        m_footerHeight = m_footer.Height() * 2;
        m_bodyHeight = m_paint.height() - m_footerHeight;
        m_left = (m_paint.width() - columns * m_text.ColumnWidth()) / 2;
    }

    double Pitch() const { return m_pitch; }
    double BodyHeight() const { return m_bodyHeight; }

    std::vector<TFlowItem> LineFlow() const
    {
        const std::vector<TBreak> breaks = TableBreaks(m_lines);
        std::vector<TFlowItem> flow;
        flow.reserve(m_lines.size());
        for (std::size_t i = 0; i < m_lines.size(); ++i)
            flow.push_back({false, i, m_pitch, breaks[i]});
        return flow;
    }

    // Paints the pages; `figure` paints the figure of a flow item in its rectangle.
    template<typename FigurePainter>
    int Paint(const std::vector<std::vector<TFlowItem>> &pages, FigurePainter figure)
    {
        QPainter painter(&m_device);
        const int count = std::max<int>(1, int(pages.size()));
        for (int p = 0; p < count; ++p) {
            if (p > 0)
                m_device.newPage();
            double y = 0;
            if (p < int(pages.size())) {
                for (const TFlowItem &item : pages[std::size_t(p)]) {
                    if (item.figure) {
                        figure(painter, QRectF(0, y, m_paint.width(), item.height), item.index);
                    } else {
                        painter.setPen(Qt::black);
                        m_text.Draw(painter, m_left, y + m_text.Ascent(), m_lines[item.index]);
                    }
                    y += item.height;
                }
            }
            Footer(painter, p + 1, count);
        }
        return count;
    }

private:
    // The report font at its size, or smaller where the widest line would not fit the page.
    QFont FittedFont(double pointSize, int columns) const
    {
        const TColumnText probe(ReportFont(pointSize), &m_device);
        const double width = columns * probe.ColumnWidth();
        if (width <= m_paint.width())
            return probe.Font();
        return ReportFont(pointSize * m_paint.width() / width);
    }

    void Footer(QPainter &painter, int page, int count)
    {
        const double y = m_paint.height() - m_footer.Height() * 1.2;
        painter.setPen(QPen(Qt::black, m_dpi / 300.0));
        painter.drawLine(QPointF(0, y - m_footer.Height() * 0.5),
                         QPointF(m_paint.width(), y - m_footer.Height() * 0.5));
        painter.setFont(m_footer.Font());
        const QRectF line(0, y, m_paint.width(), m_footer.Height());
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromUtf8(ReportFooterTitle));
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromUtf8("第 %1 页  共 %2 页").arg(page).arg(count));
    }

    QPagedPaintDevice &m_device;
    const std::vector<std::string> &m_lines;
    const int m_dpi;
    const QRect m_paint; // the page's printable area; the painter's origin is its top left
    TColumnText m_text;
    TColumnText m_footer;
    double m_pitch = 0;
    double m_footerHeight = 0;
    double m_bodyHeight = 0;
    double m_left = 0;
};

void SetLayout(QPagedPaintDevice &device, QPageLayout::Orientation orientation,
               const QMarginsF &margins)
{
    device.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), orientation, margins, QPageLayout::Millimeter));
}

template<typename Paint>
QByteArray Pdf(void (*setLayout)(QPagedPaintDevice &), Paint paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setCreator(QString::fromUtf8(ReportFooterTitle));
        writer.setTitle(QString::fromUtf8(ReportFooterTitle));
        setLayout(writer);
        paint(writer);
    }
    return MendReportPdf(bytes);
}

} // namespace

QByteArray MendReportPdf(QByteArray pdf)
{
    return MendTextMaps(std::move(pdf), ReportFont(BookPointSize));
}

void SetBookPageLayout(QPagedPaintDevice &device)
{
    SetLayout(device, QPageLayout::Portrait, QMarginsF(20, 15, 15, 12));
}

void SetTablePageLayout(QPagedPaintDevice &device)
{
    SetLayout(device, QPageLayout::Landscape, QMarginsF(10, 12, 10, 10));
}

int PaintBook(QPagedPaintDevice &device, const TPileReports &reports)
{
    const std::vector<std::string> &lines = reports.BookLines();
    TReportPainter painter(device, lines, BookPointSize, WidestLine(lines, 50));
    // Each pile's section starts a page; its profile follows the section's last line.
    std::vector<TFlowItem> lineFlow = painter.LineFlow();
    // The code's name and the formula stay whole, each with its heading.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t keep = lines[i] == "  3.1 采用规范:" ? 2
            : lines[i] == "  3.2 规范公式:"                    ? 4
                                                               : 0;
        for (std::size_t k = i + 1; k <= i + keep && k < lines.size(); ++k)
            lineFlow[k].before = TBreak::Never;
    }
    const std::vector<TPileRecord> &piles = reports.Piles();
    std::vector<TFlowItem> flow;
    flow.reserve(lineFlow.size() + piles.size());
    const double figureHeight =
        std::floor(painter.BodyHeight() * FigureShare / painter.Pitch()) * painter.Pitch();
    std::size_t next = 0;
    for (TFlowItem &item : lineFlow) {
        if (next < piles.size() && item.index == piles[next].firstBookLine) {
            if (next > 0) {
                flow.push_back({true, next - 1, figureHeight, TBreak::Good});
                item.before = TBreak::Forced;
            }
            ++next;
        }
        flow.push_back(item);
    }
    if (!piles.empty())
        flow.push_back({true, piles.size() - 1, figureHeight, TBreak::Good});
    const auto pages = BreakPages(flow, painter.BodyHeight());
    return painter.Paint(pages, [&](QPainter &p, const QRectF &area, std::size_t pile) {
        DrawPileProfile(p, area, piles[pile], int(pile) + 1);
    });
}

int PaintTable(QPagedPaintDevice &device, const TPileReports &reports)
{
    const std::vector<std::string> &lines = reports.TableLines();
    TReportPainter painter(device, lines, TablePointSize, WidestLine(lines, 190));
    std::vector<TFlowItem> flow = painter.LineFlow();
    // The title and header lines stay with the first pile line, the closing lines with the last;
    // between pile lines a page may end anywhere.
    for (std::size_t i = 0; i < flow.size(); ++i) {
        const bool pileLine =
            i > SummaryHeaderLineCount && i + SummaryClosingLineCount < flow.size();
        flow[i].before = i == 0 ? TBreak::Good : pileLine ? TBreak::Good : TBreak::Never;
    }
    // Pages after the first repeat the rule and header lines above their pile lines.
    constexpr std::size_t repeatFirst = 1;
    constexpr std::size_t repeatLast = SummaryHeaderLineCount - 1;
    auto pages = BreakPages(flow, painter.BodyHeight(),
                            double(repeatLast - repeatFirst + 1) * painter.Pitch());
    for (std::size_t p = 1; p < pages.size() && lines.size() > repeatLast; ++p)
        pages[p].insert(pages[p].begin(), flow.begin() + std::ptrdiff_t(repeatFirst),
                        flow.begin() + std::ptrdiff_t(repeatLast + 1));
    return painter.Paint(pages, [](QPainter &, const QRectF &, std::size_t) {});
}

QByteArray BookPdf(const TPileReports &reports)
{
    return Pdf(SetBookPageLayout, [&](QPagedPaintDevice &d) { PaintBook(d, reports); });
}

QByteArray TablePdf(const TPileReports &reports)
{
    return Pdf(SetTablePageLayout, [&](QPagedPaintDevice &d) { PaintTable(d, reports); });
}
