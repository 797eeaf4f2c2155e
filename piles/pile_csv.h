#pragma once

#include "calculation.h"
#include "pile_input.h"

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Piles as a table, one pile a row under one header row of Chinese column names: 桩号, 截面类型,
// d, c, 侧阻端阻系数, 系数插值依据, 钻孔桩, 精度, then for each soil layer j = 1..9 "土层j厚度 li"
// and "土层j侧阻 qik", for each rock layer i = 1..9 "岩层i嵌岩厚度 hi", "岩层i风化程度",
// "岩层i完整程度", "岩层i完整性指数 Kv", "岩层i frk", "岩层i c1", "岩层i c2", and last 土层数 and
// 岩层数, the number of layers of each kind.

// The column names in their order.
std::vector<std::string> PileCsvColumns();

// Where a pile stands in its file: in a table its row and the file's column (0-based) of each
// column name; a JSON pile has no row.
struct TPileOrigin
{
    int row = 0;
    const std::map<std::string, std::size_t> *columns = nullptr;
};

using TPileSink = std::function<void(const TPileInput &, const TPileOrigin &)>;

// The piles of a CSV file's bytes (UTF-8 with or without byte-order mark, GBK, or tab-separated
// UTF-16 with its byte-order mark), given to `take` one by one as they are read; gives their
// number. Columns may stand in any order and be missing (a missing column takes the input page's
// default); blanks and the case of Latin letters in a column name do not count. The layers of a
// kind are as many as its count column says; without a count they go up to the last one with a
// filled cell. Empty cells of a layer are empty texts, as in a new grid row; a pile keeps at
// least one rock layer. Combo boxes and the bored-pile check box take their item text ("是" or
// "否"), an empty cell their default. Rows without any filled cell are left out. Throws
// TPileFileError naming the row and the column of the first cell that cannot be used.
std::size_t ReadCsvPiles(std::string_view bytes, const TPileSink &take);

// All piles of a CSV file's bytes at once.
std::vector<TPileInput> PilesFromCsv(std::string_view bytes);

// The piles as CSV text, every column, numbered ZH1, ZH2, … in the column 桩号: UTF-8 with a
// byte-order mark and CR LF, as Excel opens it. The byte-order mark and header line, and each
// pile's line, are also given one by one.
std::string PilesToCsv(const std::vector<TPileInput> &piles);
std::string PileCsvHead();
std::string PileCsvLine(const TPileInput &input, int number);

// The cell of a table a failed calculation names, in English and in Chinese ("row 2, column C
// (d)"; the row alone when the file has no such column); nothing for a pile of a JSON file.
std::pair<std::string, std::string> FailurePlace(const TPileOrigin &origin,
                                                 const TCalcFailure &failure);
