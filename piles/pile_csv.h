#pragma once

#include "pile_input.h"

#include <string>
#include <string_view>
#include <vector>

// Piles as a table, one pile a row under one header row of Chinese column names: 桩号, 截面类型,
// d, c, 侧阻端阻系数, 系数插值依据, 钻孔桩, 精度, then for each soil layer j = 1..9 "土层j厚度 li"
// and "土层j侧阻 qik", for each rock layer i = 1..9 "岩层i嵌岩厚度 hi", "岩层i风化程度",
// "岩层i完整程度", "岩层i完整性指数 Kv", "岩层i frk", "岩层i c1", "岩层i c2", and last the design
// load "桩顶轴力N(kN)" and "抗力系数γR".

// The column names in their order.
std::vector<std::string> PileCsvColumns();

// The piles of a CSV file's bytes (UTF-8 with or without byte-order mark, or GBK). Columns may
// stand in any order and be missing (a missing column takes the input page's default); blanks and
// the case of Latin letters in a column name do not count. A layer counts up to the last one with
// a filled cell; its empty cells are empty texts, as in a new grid row; a pile keeps at least one
// rock layer. Combo boxes and the bored-pile check box take their item text ("是" or "否"), an
// empty cell their default. Rows without any filled cell are left out. Throws TPileFileError naming
// the row and the column of the first cell that cannot be used.
std::vector<TPileInput> PilesFromCsv(std::string_view bytes);

// The piles as CSV text, every column, numbered ZH1, ZH2, … in the column 桩号: UTF-8 with a
// byte-order mark and CR LF, as Excel opens it.
std::string PilesToCsv(const std::vector<TPileInput> &piles);
