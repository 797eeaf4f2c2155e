#pragma once

#include <string>
#include <string_view>

// The texts the calculation shows in the status line. A message that names a layer reads "第",
// the 1-based layer number and the rest of the text.
namespace Messages {

inline constexpr std::string_view DiameterError = "桩身直径数据有错";
inline constexpr std::string_view EllipseLengthError = "椭圆直段长度数据有错";
inline constexpr std::string_view RectLongError = "矩形长边尺寸数据有错";
inline constexpr std::string_view RectShortError = "矩形短边尺寸数据有错";
inline constexpr std::string_view ThinSocketNote = "桩身嵌岩深度<0.5m，不计嵌岩段侧阻力";
inline constexpr std::string_view IndexHint = "提示 ： 根据完整性指数在规范发挥系数下限区间插值";
inline constexpr std::string_view AbortNotice = "运行中止，主界面可查看中止位置、原因";
inline constexpr std::string_view RaZero = "计算所得Ra为0，无法计算各项占比";
inline constexpr std::string_view OutOfRange = "计算结果超出数值范围，请检查输入数据";

// The design load, its check and the least socket depth or size that carries it.
inline constexpr std::string_view LoadError = "桩顶轴力N数据有错";
inline constexpr std::string_view GammaRError = "抗力系数γR数据有错";
inline constexpr std::string_view RaNotPositive = "计算所得Ra不大于0，无法验算桩顶轴力N";
inline constexpr std::string_view LoadCarried = "满足";
inline constexpr std::string_view LoadNotCarried = "不满足";
inline constexpr std::string_view NoLoad = "未给出桩顶轴力N，无法求解";
inline constexpr std::string_view NoLoadToFilter = "未给出桩顶轴力N，无法按荷载筛选";
inline constexpr std::string_view DepthBeyondLimit = "最后一层岩石嵌岩厚度至100m仍不满足桩顶轴力N";
inline constexpr std::string_view SizeBeyondLimit = "桩身尺寸至10000mm仍不满足桩顶轴力N";
inline constexpr std::string_view StepError = "求解步长有错";

std::string FrkError(int layer);
std::string FrkBelowTwo(int layer);
std::string C1Error(int layer);
std::string C2Error(int layer);
std::string GradeUnclear(int layer);
std::string IndexError(int layer);
std::string SocketThicknessError(int layer);
std::string SoilThicknessError(int layer);
std::string SoilResistanceError(int layer);
std::string C1Hint(int layer);
std::string C2Hint(int layer);

} // namespace Messages
