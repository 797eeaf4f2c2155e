#include "report_pages.h"

#include "coefficient_block.h"
#include "column_text.h"
#include "load_block.h"
#include "page_flow.h"
#include "pdf_text_map.h"
#include "pile_profile.h"
#include "report_font.h"
#include "summary_table.h"
#include "text_columns.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <utility>

namespace {

constexpr double PointsPerMm = 72 / 25.4;
constexpr double BookPointSize = 11; // the largest size; smaller only if a line would not fit
constexpr double TablePointSize = 10;
constexpr double LineSpacing = 1.42; // baseline to baseline, in font heights of an em
constexpr double FooterPointSize = 8.5;
constexpr double FigureShare = 0.62; // of the text height of a page, for a pile's profile
constexpr double FigureLeast = 0.45; // the smallest share a profile shrinks to, to fill a page

const std::string StampPrefix = "计算时间：";

// A column of a table row in the text book: where it starts, how wide it is, the blanks after it,
// and whether its text is centred (else it stands right-aligned).
struct TCell
{
    int start = 0;
    int width = 0;
    int blanks = 0;
    bool centred = false;
};

// The book's tables whose figures may be wider than their columns (forces of 100,000 kN and
// more), by the first header line, with the columns of their rows.
const std::vector<std::pair<std::string, std::vector<TCell>>> &WideTables()
{
    static const std::vector<std::pair<std::string, std::vector<TCell>>> tables {
        {"      岩  计算采用 计算采用 总 阻 力 端 阻 力",
         {{6, 2, 2}, {10, 6, 3}, {19, 6, 3}, {28, 8, 1}, {37, 8, 0}}},
        {"      岩   ∑Rsia  层侧阻力 侧阻比例 岩石坚硬",
         {{6, 2, 2}, {10, 8, 1}, {19, 8, 1}, {28, 7, 2}, {37, 8, 0, true}}},
        {"      土   ∑Rsik  侧阻比例 层侧阻力 侧阻比例",
         {{6, 2, 2}, {10, 8, 1}, {19, 7, 2}, {28, 8, 1}, {37, 7, 1}}},
        {"      嵌岩深度  端 阻 力  侧 阻 力  土侧阻力 ",
         {{6, 8, 2, true}, {16, 8, 2, true}, {26, 8, 2, true}, {36, 8, 1, true}}},
        {"      桩承载力  端 阻 力  侧 阻 力  土侧阻力 ",
         {{6, 8, 2, true}, {16, 8, 2, true}, {26, 8, 2, true}, {36, 8, 1, true}}},
    };
    return tables;
}

bool IsRuleLine(const std::string &line)
{
    const std::size_t first = line.find_first_not_of(' ');
    return first != std::string::npos && line.size() - first >= 10
        && line.find_first_not_of('-', first) == std::string::npos;
}

// For each book line the columns of its table where it is a row of one of the wide tables.
std::vector<const std::vector<TCell> *> RowCells(const std::vector<std::string> &lines)
{
    std::vector<const std::vector<TCell> *> cells(lines.size(), nullptr);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (const auto &[header, columns] : WideTables()) {
            if (lines[i] != header)
                continue;
            for (std::size_t k = i + 3; k < lines.size() && !IsRuleLine(lines[k]); ++k)
                cells[k] = &columns;
        }
    }
    return cells;
}

// Paints a table row whose figures overflow their columns so that each stays in its own: a
// figure wider than its column is narrowed into it and the blanks after it, leaving half a
// column free. Rows that fit, or that do not split into the table's columns, are left to the
// caller (false).
bool DrawCells(TColumnText &text, QPainter &painter, double x, double y, const std::string &line,
               const std::vector<TCell> &cells)
{
    struct TToken
    {
        std::string text;
        int width = 0;
    };
    std::vector<TToken> tokens;
    for (std::size_t at = 0; at < line.size();) {
        if (line[at] == ' ') {
            ++at;
            continue;
        }
        const std::size_t end = std::min(line.find(' ', at), line.size());
        tokens.push_back({line.substr(at, end - at), DisplayWidth(line.substr(at, end - at))});
        at = end;
    }
    if (tokens.size() != cells.size())
        return false;
    bool overflow = false;
    for (std::size_t k = 0; k < cells.size(); ++k)
        overflow = overflow || tokens[k].width > cells[k].width;
    if (!overflow)
        return false;
    const double column = text.ColumnWidth();
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const TCell &cell = cells[k];
        const TToken &token = tokens[k];
        const double room =
            token.width <= cell.width ? cell.width : cell.width + std::max(0.0, cell.blanks - 0.5);
        double left = cell.start;
        if (token.width <= room)
            left += cell.centred ? std::ceil((room - token.width) / 2) : room - token.width;
        painter.save();
        painter.translate(x + left * column, y);
        if (token.width > room)
            painter.scale(room / token.width, 1);
        text.Draw(painter, 0, 0, token.text);
        painter.restore();
    }
    return true;
}

// What a page shows beside its flow items.
struct TPageParts
{
    std::function<void(QPainter &, const QRectF &, std::size_t)> figure;
    // The left and right texts of a page's header; none where both are empty.
    std::function<std::pair<QString, QString>(const std::vector<TFlowItem> &)> header;
    std::function<void(QPainter &, const QRectF &)> cover; // a first page of its own
    const std::vector<std::string> *extra = nullptr; // the lines of items marked extra
    const std::vector<const std::vector<TCell> *> *cells = nullptr; // per line, see RowCells
};

QString Text(const std::string &utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

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
                   double pointSize, int columns, bool header = false)
        : m_device(device)
        , m_lines(lines)
        , m_dpi(device.logicalDpiY())
        , m_paint(device.pageLayout().paintRectPixels(device.logicalDpiX()))
        , m_text(FittedFont(pointSize, columns), &device)
        , m_footer(ReportFont(FooterPointSize), &device)
    {
        m_pitch = m_text.Font().pointSizeF() * LineSpacing * m_dpi / 72;
        m_footerHeight = m_footer.Height() * 2;
        m_headerHeight = header ? m_footer.Height() * 2.2 : 0;
        m_bodyHeight = m_paint.height() - m_footerHeight - m_headerHeight;
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

    // Paints the pages, the cover first where there is one.
    int Paint(const std::vector<std::vector<TFlowItem>> &pages, const TPageParts &parts)
    {
        QPainter painter(&m_device);
        const int covers = parts.cover ? 1 : 0;
        const int count = std::max<int>(1, int(pages.size()) + covers);
        for (int p = 0; p < count; ++p) {
            if (p > 0)
                m_device.newPage();
            const int flowPage = p - covers;
            if (flowPage < 0) {
                parts.cover(painter,
                            QRectF(0, 0, m_paint.width(), m_paint.height() - m_footerHeight));
            } else if (flowPage < int(pages.size())) {
                const std::vector<TFlowItem> &page = pages[std::size_t(flowPage)];
                if (parts.header)
                    Header(painter, parts.header(page));
                double y = m_headerHeight;
                for (const TFlowItem &item : page) {
                    if (item.figure) {
                        if (parts.figure)
                            parts.figure(painter, QRectF(0, y, m_paint.width(), item.height),
                                         item.index);
                    } else {
                        painter.setPen(Qt::black);
                        if (item.extra) {
                            // The printed book's own lines keep the font's own advances: its
                            // full-width punctuation stands whole where the font puts it.
                            painter.setFont(m_text.Font());
                            painter.drawText(QPointF(m_left, y + m_text.Ascent()),
                                             Text((*parts.extra)[item.index]));
                        } else if (!(parts.cells && parts.cells->at(item.index)
                                     && DrawCells(m_text, painter, m_left, y + m_text.Ascent(),
                                                  m_lines[item.index],
                                                  *parts.cells->at(item.index)))) {
                            m_text.Draw(painter, m_left, y + m_text.Ascent(), m_lines[item.index]);
                        }
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

    void Header(QPainter &painter, const std::pair<QString, QString> &texts)
    {
        if (texts.first.isEmpty() && texts.second.isEmpty())
            return;
        const QRectF line(0, 0, m_paint.width(), m_footer.Height());
        painter.setPen(Qt::black);
        painter.setFont(m_footer.Font());
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, texts.first);
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, texts.second);
        painter.setPen(QPen(Qt::black, m_dpi / 300.0));
        const double y = m_footer.Height() * 1.5;
        painter.drawLine(QPointF(0, y), QPointF(m_paint.width(), y));
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
    double m_headerHeight = 0;
    double m_bodyHeight = 0;
    double m_left = 0;
};

void SetLayout(QPagedPaintDevice &device, QPageLayout::Orientation orientation,
               const QMarginsF &margins)
{
    device.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), orientation, margins, QPageLayout::Millimeter));
}

// The time stamp of the report's last pile, from the closing line of the book.
std::string LastTimeStamp(const TPileReports &reports)
{
    const std::vector<std::string> &book = reports.BookLines();
    if (book.empty() || !book.back().starts_with(StampPrefix))
        return {};
    return book.back().substr(StampPrefix.size());
}

// The cover: the book's title, the project, the date, and the sign-off block with the names of
// the project and room for the signatures; fields without a value are left blank for the pen.
void DrawCover(QPainter &painter, const QRectF &area, const TProjectInfo &project,
               const TPileReports &reports)
{
    const int dpi = painter.device()->logicalDpiY();
    const auto pixels = [dpi](double points) { return points * dpi / 72; };
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(ReportFont(26));
    double y = area.top() + area.height() * 0.16;
    painter.drawText(QRectF(area.left(), y, area.width(), pixels(40)), Qt::AlignCenter,
                     QString::fromUtf8("嵌岩桩承载力计算书"));
    y += pixels(44);
    painter.setFont(ReportFont(13));
    painter.drawText(QRectF(area.left(), y, area.width(), pixels(20)), Qt::AlignCenter,
                     QString::fromUtf8("（依据 JTG 3363-2019 第6.3.7条）"));
    y += pixels(70);

    // The project's fields, each on a rule that takes a hand-written value where none is given.
    const std::string stamp = LastTimeStamp(reports);
    const std::string date = stamp.substr(0, stamp.find(' '));
    const std::pair<const char *, std::string> fields[] = {
        {"项目名称", project.name},
        {"结构物/墩台", project.structure},
        {"计算书编号", project.bookNo},
        {"版　　次", ""},
        {"计算日期", date},
        {"基 桩 数", reports.PileCount() > 0 ? std::to_string(reports.PileCount()) + " 根" : ""},
    };
    painter.setFont(ReportFont(13));
    const double labelWidth = area.width() * 0.26;
    const double left = area.left() + area.width() * 0.1;
    const double right = area.right() - area.width() * 0.1;
    const double row = pixels(32);
    for (const auto &[label, value] : fields) {
        const QRectF labelBox(left, y, labelWidth, row);
        const QRectF valueBox(left + labelWidth, y, right - left - labelWidth, row);
        painter.drawText(labelBox, Qt::AlignLeft | Qt::AlignBottom,
                         QString::fromUtf8(label) + QString::fromUtf8("："));
        painter.drawText(valueBox.adjusted(pixels(4), 0, 0, -pixels(3)),
                         Qt::AlignLeft | Qt::AlignBottom | Qt::TextWrapAnywhere, Text(value));
        painter.setPen(QPen(Qt::black, pixels(0.6)));
        painter.drawLine(valueBox.bottomLeft(), valueBox.bottomRight());
        painter.setPen(Qt::black);
        y += row + pixels(6);
    }

    // The sign-off block: who calculated, checked and reviewed, with room to sign and date.
    y += pixels(50);
    const char *columns[] = {"", "姓名", "签字", "日期"};
    const std::pair<const char *, std::string> people[] = {
        {"计算", project.designer}, {"复核", project.checker}, {"审核", project.reviewer}};
    const double widths[] = {0.16, 0.34, 0.28, 0.22};
    const double tableWidth = right - left;
    const double cell = pixels(34);
    painter.setPen(QPen(Qt::black, pixels(0.8)));
    painter.drawRect(QRectF(left, y, tableWidth, cell * 4));
    double x = left;
    for (int c = 0; c < 4; ++c) {
        const double w = widths[c] * tableWidth;
        for (int r = 0; r < 4; ++r) {
            const QRectF box(x, y + r * cell, w, cell);
            painter.drawRect(box);
            QString text;
            if (r == 0)
                text = QString::fromUtf8(columns[c]);
            else if (c == 0)
                text = QString::fromUtf8(people[r - 1].first);
            else if (c == 1)
                text = Text(people[r - 1].second);
            painter.drawText(box.adjusted(pixels(4), 0, -pixels(4), 0),
                             Qt::AlignCenter | Qt::TextWrapAnywhere, text);
        }
        x += w;
    }
    painter.restore();
}

// The date and time of a PDF's info dictionary from a report time stamp ("2024/3/5 14:07:09");
// none where the text is not one.
std::optional<QByteArray> PdfDate(const std::string &stamp)
{
    QDateTime when = QDateTime::fromString(Text(stamp), QString::fromLatin1("yyyy/M/d H:mm:ss"));
    if (!when.isValid()) {
        const QDate day = QDate::fromString(Text(stamp), QString::fromLatin1("yyyy/M/d"));
        if (!day.isValid())
            return std::nullopt;
        when = QDateTime(day, QTime(0, 0));
    }
    return when.toString(QString::fromLatin1("yyyyMMddHHmmss")).toLatin1();
}

// Replaces, keeping their lengths so that every offset of the file stays, what Qt takes from
// the clock: the creation date of the info dictionary and of the metadata, and the document's
// identifiers, by values made from the time stamp and the document's content.
QByteArray Reproducible(QByteArray pdf, const std::string &stamp, const QByteArray &content)
{
    const std::optional<QByteArray> date = PdfDate(stamp);
    // "/CreationDate (D:20240305140709+08'00')" and the like: the digits, the zone as UTC.
    const QByteArray key = "/CreationDate (D:";
    for (qsizetype at = pdf.indexOf(key); at >= 0; at = pdf.indexOf(key, at + 1)) {
        const qsizetype begin = at + key.size();
        const qsizetype end = pdf.indexOf(')', begin);
        if (end < 0)
            break;
        QByteArray value = date ? *date : QByteArray("19700101000000");
        // The time stamp is local time: its zone as the system has it on that day.
        const QDateTime local = QDateTime::fromString(QString::fromLatin1(value),
                                                      QString::fromLatin1("yyyyMMddHHmmss"));
        const int offset = local.isValid() ? local.offsetFromUtc() / 60 : 0; // minutes
        if (offset == 0) {
            value += "Z";
        } else {
            value += offset > 0 ? "+" : "-";
            value += QByteArray::number(std::abs(offset) / 60).rightJustified(2, '0') + "'"
                + QByteArray::number(std::abs(offset) % 60).rightJustified(2, '0') + "'";
        }
        value = value.leftJustified(end - begin, ' ', true);
        pdf.replace(begin, end - begin, value);
    }
    // The metadata's dates: "2024-03-05T14:07:09+08:00".
    const QByteArray isoDate = date
        ? QDateTime::fromString(QString::fromLatin1(*date), QString::fromLatin1("yyyyMMddHHmmss"))
              .toString(Qt::ISODate)
              .toLatin1()
        : QByteArray("1970-01-01T00:00:00");
    for (const QByteArray &tag : {QByteArray("<xmp:CreateDate>"), QByteArray("<xmp:ModifyDate>"),
                                  QByteArray("<xmp:MetadataDate>")}) {
        for (qsizetype at = pdf.indexOf(tag); at >= 0; at = pdf.indexOf(tag, at + 1)) {
            const qsizetype begin = at + tag.size();
            const qsizetype end = pdf.indexOf('<', begin);
            if (end < 0)
                break;
            pdf.replace(begin, end - begin, (isoDate + "Z").leftJustified(end - begin, ' ', true));
        }
    }
    // Identifiers: hexadecimal runs of a uuid, in the trailer and the metadata alike.
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray(stamp.data(), qsizetype(stamp.size())) + content,
                                 QCryptographicHash::Sha256)
            .toHex();
    const auto uuidText = [&] {
        return hash.left(8) + "-" + hash.mid(8, 4) + "-" + hash.mid(12, 4) + "-" + hash.mid(16, 4)
            + "-" + hash.mid(20, 12);
    };
    for (const QByteArray &tag : {QByteArray("uuid:")}) {
        for (qsizetype at = pdf.indexOf(tag); at >= 0; at = pdf.indexOf(tag, at + 1)) {
            const qsizetype begin = at + tag.size();
            if (begin + 36 <= pdf.size())
                pdf.replace(begin, 36, uuidText());
        }
    }
    const QByteArray idKey = "/ID [<";
    const qsizetype id = pdf.lastIndexOf(idKey);
    if (id >= 0) {
        const qsizetype begin = id + idKey.size();
        const qsizetype end = pdf.indexOf('>', begin);
        if (end > begin && end - begin <= hash.size()) {
            pdf.replace(begin, end - begin, hash.left(end - begin));
            const qsizetype second = pdf.indexOf('<', end);
            const qsizetype secondEnd = second < 0 ? -1 : pdf.indexOf('>', second);
            if (secondEnd > second && secondEnd - second - 1 <= hash.size())
                pdf.replace(second + 1, secondEnd - second - 1, hash.right(secondEnd - second - 1));
        }
    }
    return pdf;
}

template<typename Paint>
QByteArray Pdf(void (*setLayout)(QPagedPaintDevice &), const TPileReports &reports, Paint paint)
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
    QByteArray content;
    for (const std::string &line : reports.BookLines())
        content.append(line.data(), qsizetype(line.size())).append('\n');
    for (const std::string &line : reports.TableLines())
        content.append(line.data(), qsizetype(line.size())).append('\n');
    return Reproducible(MendReportPdf(bytes), LastTimeStamp(reports), content);
}

// Which lines of a book section stay on one page with the line before them: the code's name and
// the formula with their headings, and the results from the tip resistance to the verdict.
void KeepBlocks(const std::vector<std::string> &lines, std::vector<TFlowItem> &flow)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::size_t keep = 0;
        if (lines[i] == "  3.1 采用规范:")
            keep = 2;
        else if (lines[i] == "  3.2 规范公式:")
            keep = 4;
        else if (lines[i].starts_with("  4.4 ")) {
            while (i + keep + 1 < lines.size()
                   && !lines[i + keep].starts_with("      计算结果合规性判定"))
                ++keep;
        }
        for (std::size_t k = i + 1; k <= i + keep && k < lines.size(); ++k)
            flow[k].before = TBreak::Never;
    }
}

// The derivation block's lines as flow items: its heading with the first layer, each layer's
// lines, the ζs line and the symbols of the formula kept whole; between them a page may end.
void AddBlock(const std::vector<std::string> &block, std::vector<std::string> &extra,
              std::size_t pile, double pitch, std::vector<TFlowItem> &flow)
{
    for (std::size_t i = 0; i < block.size(); ++i) {
        const std::string &line = block[i];
        const bool starts = line.starts_with("  岩层") || line.starts_with("  ζs")
            || line.starts_with("  Ra") || line.starts_with("  代入")
            || line.starts_with("荷载验算");
        TFlowItem item;
        item.index = extra.size();
        item.height = pitch;
        item.before = i == 0 ? TBreak::Good : (starts && i > 1 ? TBreak::Good : TBreak::Never);
        // The substituted figures may part after their first line.
        if (line.starts_with("    岩层") || line.starts_with("    土层")
            || line.starts_with("    u·") || line.starts_with("    ½"))
            item.before = TBreak::Good;
        item.pile = pile;
        item.extra = true;
        flow.push_back(item);
        extra.push_back(line);
    }
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

int PaintBook(QPagedPaintDevice &device, const TPileReports &reports, const TProjectInfo &project)
{
    const std::vector<std::string> &lines = reports.BookLines();
    const std::vector<TPileRecord> &piles = reports.Piles();
    std::vector<std::vector<std::string>> blocks;
    int columns = WidestLine(lines, 50);
    // The block's lines are as wide as the font draws them, in columns of the report font.
    const TColumnText probe(ReportFont(BookPointSize), &device);
    const QFontMetricsF metrics(probe.Font(), &device);
    for (const TPileRecord &pile : piles) {
        blocks.push_back(CoefficientBlockLines(pile.input, pile.result));
        for (std::string &line : LoadBlockLines(pile.input, pile.result))
            blocks.back().push_back(std::move(line));
        for (const std::string &line : blocks.back())
            columns = std::max(
                columns,
                int(std::ceil(metrics.horizontalAdvance(Text(line)) / probe.ColumnWidth())));
    }
    TReportPainter painter(device, lines, BookPointSize, columns, true);
    std::vector<TFlowItem> lineFlow = painter.LineFlow();
    KeepBlocks(lines, lineFlow);
    // Each pile's section starts a page; the derivation of its coefficients and its profile
    // follow the section's last line, and the book's time-stamp line closes the last profile.
    std::vector<TFlowItem> flow;
    std::vector<std::string> extra;
    flow.reserve(lineFlow.size() + 2 * piles.size());
    const double figureHeight =
        std::floor(painter.BodyHeight() * FigureShare / painter.Pitch()) * painter.Pitch();
    const auto closePile = [&](std::size_t k) {
        AddBlock(blocks[k], extra, k, painter.Pitch(), flow);
        TFlowItem figure {true, k, figureHeight, TBreak::Good};
        figure.minHeight = painter.BodyHeight() * FigureLeast;
        figure.pile = k;
        flow.push_back(figure);
    };
    const bool stampLast =
        !piles.empty() && !lines.empty() && lines.back().starts_with(StampPrefix);
    std::size_t next = 0;
    for (std::size_t i = 0; i < lineFlow.size(); ++i) {
        TFlowItem item = lineFlow[i];
        if (next < piles.size() && item.index == piles[next].firstBookLine) {
            if (next > 0) {
                closePile(next - 1);
                item.before = TBreak::Forced;
            }
            ++next;
        }
        if (stampLast && i + 1 == lineFlow.size()) {
            closePile(piles.size() - 1);
            item.before = TBreak::Good;
        }
        item.pile = next > 0 ? next - 1 : 0;
        flow.push_back(item);
    }
    if (!piles.empty() && !stampLast)
        closePile(piles.size() - 1);
    const auto pages = BreakPages(flow, painter.BodyHeight());
    TPageParts parts;
    parts.extra = &extra;
    const std::vector<const std::vector<TCell> *> cells = RowCells(lines);
    parts.cells = &cells;
    parts.figure = [&](QPainter &p, const QRectF &area, std::size_t pile) {
        DrawPileProfile(p, area, piles[pile], int(pile) + 1);
    };
    const QString projectText = Text(project.name)
        + (project.structure.empty() ? QString()
                                     : QString::fromUtf8("  ") + Text(project.structure));
    parts.header = [&](const std::vector<TFlowItem> &page) {
        QString right;
        if (!page.empty() && !piles.empty()) {
            right = QString::fromUtf8("基桩ZH%1").arg(page.front().pile + 1);
            if (!project.bookNo.empty())
                right = Text(project.bookNo) + QString::fromUtf8("  ") + right;
        }
        return std::pair<QString, QString> {projectText, right};
    };
    parts.cover = [&](QPainter &p, const QRectF &area) { DrawCover(p, area, project, reports); };
    return painter.Paint(pages, parts);
}

std::vector<std::string> PrintedTableLines(const TPileReports &reports)
{
    std::vector<std::string> lines = reports.TableLines();
    if (lines.size() < std::size_t(SummaryHeaderLineCount + SummaryClosingLineCount))
        return lines;
    constexpr int LoadColumns = 20;
    const int width = DisplayWidth(lines[1]); // the rule line
    const auto append = [&](std::size_t i, const std::string &cell) {
        lines[i] = PadRight(lines[i], " ", width) + cell;
    };
    append(1, std::string(LoadColumns, '-'));
    append(2, PadCenter("设计荷载验算", " ", LoadColumns));
    append(3, PadCenter("N/(γR·Ra) 判定", " ", LoadColumns));
    append(4, std::string(LoadColumns, '-'));
    const std::vector<TPileRecord> &piles = reports.Piles();
    for (std::size_t k = 0; k < piles.size(); ++k) {
        const std::size_t i = std::size_t(SummaryHeaderLineCount) + k;
        if (i + SummaryClosingLineCount < lines.size())
            append(i, PadCenter(LoadCellText(piles[k].input, piles[k].result), " ", LoadColumns));
    }
    append(lines.size() - SummaryClosingLineCount, std::string(LoadColumns, '-'));
    return lines;
}

int PaintTable(QPagedPaintDevice &device, const TPileReports &reports)
{
    const std::vector<std::string> lines = PrintedTableLines(reports);
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
    return painter.Paint(pages, TPageParts {});
}

QByteArray BookPdf(const TPileReports &reports, const TProjectInfo &project)
{
    return Pdf(SetBookPageLayout, reports,
               [&](QPagedPaintDevice &d) { PaintBook(d, reports, project); });
}

QByteArray TablePdf(const TPileReports &reports)
{
    return Pdf(SetTablePageLayout, reports, [&](QPagedPaintDevice &d) { PaintTable(d, reports); });
}
