#pragma once

#include <array>
#include <string_view>

// The columns of the two layer grids of the input page, by the names the calculation and the
// reports use for them.
namespace GridColumns {

// Soil grid StringGrid_TC1, one row per overburden layer.
inline constexpr int strgrd_t00_Int_Num = 0;
inline constexpr int strgrd_t01_Flo_li = 1; // m
inline constexpr int strgrd_t02_Flo_qik = 2; // kPa
inline constexpr int strgrd_t03_Flo_Kesais = 3;
inline constexpr int strgrd_t04_Flo_SegemaQsik = 4; // kN
inline constexpr int strgrd_t05_Flo_Qsik = 5; // kN
inline constexpr int strgrd_t06_Str_percent = 6;
inline constexpr int strgrd_t07_Pic_percent = 7;
inline constexpr int strgrd_t08_Str_beizhu = 8;
inline constexpr int SoilColumnCount = 9;

// Rock grid StringGrid_YC1, one row per rock layer of the socket.
inline constexpr int strgrd00_Int_Nun = 0;
inline constexpr int strgrd01_Flo_lr = 1; // m
inline constexpr int strgrd02_Str_fenghuachengdu = 2;
inline constexpr int strgrd03_Str_wanzhengchengdu = 3;
inline constexpr int strgrd04_Flo_wangzhengzhishu = 4;
inline constexpr int strgrd05_Flo_frk = 5; // MPa
inline constexpr int strgrd06_Flo_c1 = 6;
inline constexpr int strgrd07_Flo_c2 = 7;
inline constexpr int strgrd08_Flo_xishuC1 = 8;
inline constexpr int strgrd09_Flo_xishuC2 = 9;
inline constexpr int strgrd10_Flo_qpk = 10; // kPa
inline constexpr int strgrd11_Flo_qsrk = 11; // kPa
inline constexpr int strgrd12_Flo_Quk = 12; // kN
inline constexpr int strgrd13_Flo_Qpk = 13; // kN
inline constexpr int strgrd14_Flo_SegemaQsrik = 14; // kN
inline constexpr int strgrd15_Flo_Qsrik = 15; // kN
inline constexpr int strgrd16_Str_percent = 16;
inline constexpr int strgrd17_Pic_percent = 17;
inline constexpr int strgrd18_Str_beizhu = 18;
inline constexpr int strgrd19_Str_Ysjycd = 19;
inline constexpr int strgrd20_Flo_ChazhiC1 = 20;
inline constexpr int strgrd21_Flo_ChazhiC2 = 21;
inline constexpr int RockColumnCount = 22;

// The columns that show and hide with the expand button.
inline constexpr int SoilExpandFirst = strgrd_t03_Flo_Kesais;
inline constexpr int SoilExpandLast = strgrd_t08_Str_beizhu;
inline constexpr int RockExpandFirst = strgrd08_Flo_xishuC1;
inline constexpr int RockExpandLast = strgrd18_Str_beizhu;

} // namespace GridColumns
