#include "messages.h"

namespace {

std::string LayerText(std::string_view before, int layer, std::string_view after)
{
    std::string text(before);
    text += std::to_string(layer);
    text += after;
    return text;
}

} // namespace

namespace Messages {

std::string FrkError(int layer)
{
    return LayerText("第", layer, "层岩石单轴抗压强度值错");
}
std::string FrkBelowTwo(int layer)
{
    return LayerText("第", layer, "层岩石单轴抗压强度值小于2MPa");
}
std::string C1Error(int layer)
{
    return LayerText("第", layer, "层岩石端阻系数c1有错");
}
std::string C2Error(int layer)
{
    return LayerText("第", layer, "层岩石侧阻系数c2有错");
}
std::string GradeUnclear(int layer)
{
    return LayerText("第", layer, "层岩体完整程度未明确");
}
std::string IndexError(int layer)
{
    return LayerText("第", layer, "层岩体完整性指数有错");
}
std::string SocketThicknessError(int layer)
{
    return LayerText("第", layer, "层嵌岩厚度数据有错");
}
std::string SoilThicknessError(int layer)
{
    return LayerText("第", layer, "层土厚度错");
}
std::string SoilResistanceError(int layer)
{
    return LayerText("第", layer, "层土侧阻力错");
}

std::string C1Hint(int layer)
{
    return LayerText("提示：第", layer, "层岩石端阻系数c1不在规范建议值0.4～0.6之内");
}

std::string C2Hint(int layer)
{
    return LayerText("提示：第", layer, "层岩石侧阻系数c2不在规范建议值0.03～0.05之内");
}

} // namespace Messages
