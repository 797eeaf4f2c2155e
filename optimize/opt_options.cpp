#include "opt_options.h"

#include "locale_numbers.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string_view>

TOptionTable DefaultOptionTable()
{
    return {{
        {"桩身截面类型", "1", "4", "1", "圆桩1/椭圆桩2/矩形桩3/方桩4"},
        {"桩身直径 d(mm)", "1000", "2000", "500", "桩径取值范围"},
        {"椭圆直段长度 c(mm)", "1000", "2000", "500", "椭圆直段取值范围"},
        {"矩形桩长边尺寸 a(mm)", "2000", "3000", "500", "矩形桩长边取值范围"},
        {"矩形桩短边尺寸 b(mm)", "1000", "2000", "500", "矩形桩短边取值范围"},
        {"方桩边长 a(mm)", "1000", "2000", "500", "方桩边长取值范围"},
        {"嵌岩厚度 h(mm)", "1.0d", "3.0d", "1.0d", "矩形为短边倍数,也可直接输入数值(不可混用)"},
        {"岩石强度 frk(MPa)", "35.00", "40.00", "5.00", "岩石单轴抗压强度标准值取值应大于0"},
        {"岩层风化程度", "1", "2", "1", "微风化1/中风化2"},
        {"自动插值依据", "1", "2", "1", "岩体完整程度1/岩体完整性指数2"},
        {"岩体完整程度", "1", "3", "1", "完整1/较完整2/较破碎3/破碎4/极破碎5"},
        {"岩体完整性指数", "0.40", "0.80", "0.10", "取值范围(0.00,1.00]"},
        {"覆盖层是否考虑", "0", "", "", "不考虑0/考虑1"},
        {},
        {"筛选 Ra(kN)", "10000", "11000", "", "输入0不起控制作用"},
    }};
}

bool IsEditableOptionCell(int row, int column)
{
    if (row >= 0 && row <= OptionRow::IntegrityIndex)
        return column >= 1 && column <= 3;
    if (row == OptionRow::Overburden)
        return column == 1;
    if (row == OptionRow::RaWindow)
        return column == 1 || column == 2;
    return false;
}

TOptCodeRange NormalizeRange(int minimum, int maximum, int step)
{
    if (maximum <= minimum)
        return {minimum, minimum, 0, 1};
    // The table's codes are clamped into a few units; wider spans are worked in 64 bits and held
    // within the counter's range so that nothing wraps.
    const long long span = static_cast<long long>(maximum) - minimum;
    if (step <= 0 || step > span)
        return {minimum, maximum, static_cast<int>(std::min<long long>(span, INT_MAX)), 2};
    return {minimum, maximum, step,
            static_cast<int>(std::min<long long>(span / step + 1, INT_MAX))};
}

TOptValueRange NormalizeRange(double minimum, double maximum, double step)
{
    if (minimum >= maximum)
        return {minimum, minimum, 0, 1};
    const double span = maximum - minimum;
    if (step > 0 && step <= span) {
        // The caller keeps the candidate count within bounds before visiting; a quotient beyond
        // the counter's range is held at its largest value so that the count never wraps.
        const long double quotient = std::trunc(static_cast<long double>(span) / step + 0.5L);
        const long double count = std::min<long double>(quotient + 1, 2147483647.0L);
        return {minimum, maximum, step, static_cast<int>(count)};
    }
    return {minimum, maximum, span, 2};
}

namespace {

class TOptionReader
{
public:
    explicit TOptionReader(const TOptionTable &table)
        : m_table(table)
    { }

    TOptionsReading Read()
    {
        TOptSettings s;
        const bool ok = Codes(OptionRow::SectionTypes, 4, s.sectionTypes)
            && Sizes(OptionRow::Diameter, "桩径不能为负值", s.diameter)
            && Sizes(OptionRow::EllipseLength, "椭圆直段不能为负值", s.ellipseLength)
            && Sizes(OptionRow::RectLong, "矩形长边不能为负值", s.rectLong)
            && Sizes(OptionRow::RectShort, "矩形短边不能为负值", s.rectShort)
            && Sizes(OptionRow::SquareSide, "方形边长不能为负值", s.squareSide) && SocketDepth(s)
            && Sizes(OptionRow::Frk, "岩石单轴抗压强度不能为负值", s.frkRange)
            && Codes(OptionRow::Weathering, 2, s.weatheringCodes)
            && Codes(OptionRow::Basis, 2, s.basisCodes) && Codes(OptionRow::Grade, 5, s.gradeCodes)
            && IntegrityIndex(s.indexRange) && Overburden(s.includeOverburden);
        TOptionsReading reading;
        if (ok)
            reading.settings = s;
        else
            reading.failure = std::move(m_failure);
        return reading;
    }

private:
    bool Fail(TOptFailure::Kind kind, std::string message)
    {
        m_failure = TOptFailure {kind, std::move(message)};
        return false;
    }

    bool Integer(std::string_view text, int &value)
    {
        const auto read = ReadLocaleInteger(text);
        if (!read)
            return Fail(TOptFailure::Kind::ErrorBox, NotIntegerMessage(text));
        value = *read;
        return true;
    }

    bool Float(std::string_view text, double &value)
    {
        const auto read = ReadLocaleFloat(text);
        if (!read)
            return Fail(TOptFailure::Kind::ErrorBox, NotFloatMessage(text));
        value = *read;
        return true;
    }

    bool Floats(const TOptOption &row, double &minimum, double &maximum, double &step)
    {
        return Float(row.minimum, minimum) && Float(row.maximum, maximum) && Float(row.step, step);
    }

    bool Codes(int row, int limit, TOptCodeRange &range)
    {
        const TOptOption &cells = m_table[row];
        int minimum = 0, maximum = 0, step = 0;
        if (!Integer(cells.minimum, minimum) || !Integer(cells.maximum, maximum)
            || !Integer(cells.step, step))
            return false;
        range = NormalizeRange(std::clamp(minimum, 1, limit), std::clamp(maximum, 1, limit), step);
        return true;
    }

    bool Sizes(int row, const char *negativeMessage, TOptValueRange &range)
    {
        double minimum = 0, maximum = 0, step = 0;
        if (!Floats(m_table[row], minimum, maximum, step))
            return false;
        if (minimum < 0 || maximum < 0)
            return Fail(TOptFailure::Kind::Status, negativeMessage);
        range = NormalizeRange(minimum, maximum, step);
        return true;
    }

    bool SocketDepth(TOptSettings &s)
    {
        const TOptOption &row = m_table[OptionRow::SocketDepth];
        s.socketDepthInMultiples = row.minimum.find('d') != std::string::npos;
        double minimum = 0, maximum = 0, step = 0;
        if (s.socketDepthInMultiples) {
            // Each cell is read up to its first "d"; a cell without one reads as an empty text,
            // so multiples and millimetres cannot be mixed.
            const auto multiple = [](const std::string &cell) {
                const auto d = cell.find('d');
                return d == std::string::npos ? std::string_view()
                                              : std::string_view(cell).substr(0, d);
            };
            if (!Float(multiple(row.minimum), minimum) || !Float(multiple(row.maximum), maximum)
                || !Float(multiple(row.step), step))
                return false;
        } else if (!Floats(row, minimum, maximum, step)) {
            return false;
        }
        s.socketDepth = NormalizeRange(minimum, maximum, step);
        return true;
    }

    bool IntegrityIndex(TOptValueRange &range)
    {
        double minimum = 0, maximum = 0, step = 0;
        if (!Floats(m_table[OptionRow::IntegrityIndex], minimum, maximum, step))
            return false;
        if (minimum <= 0 || maximum <= 0)
            return Fail(TOptFailure::Kind::Status, "岩体完整性指数不能为负值或0");
        if (minimum > 1 || maximum > 1)
            return Fail(TOptFailure::Kind::Status, "岩体完整性指数不能大于1");
        range = NormalizeRange(minimum, maximum, step);
        return true;
    }

    bool Overburden(bool &include)
    {
        int value = 0;
        if (!Integer(m_table[OptionRow::Overburden].minimum, value))
            return false;
        if (value != 0 && value != 1)
            return Fail(TOptFailure::Kind::Status, "是否考虑覆盖层标记只能是0或1");
        include = value == 1;
        return true;
    }

    const TOptionTable &m_table;
    std::optional<TOptFailure> m_failure;
};

} // namespace

TOptionsReading ReadOptions(const TOptionTable &table)
{
    return TOptionReader(table).Read();
}
