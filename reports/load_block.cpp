#include "load_block.h"

#include "design_load.h"
#include "number_format.h"

namespace {

std::string Fixed(double value, int decimals)
{
    return FormatFixed(value, 15, decimals);
}

} // namespace

std::vector<std::string> LoadBlockLines(const TPileInput &input, const TPileResult &result)
{
    const std::optional<TLoadCheck> check = CheckPileLoad(input, result);
    if (!check)
        return {std::string("荷载验算：") + NoLoadText};
    if (!check->made())
        return {"荷载验算：" + check->error};
    const std::string verdict(LoadVerdictText(check->ok));
    return {
        "荷载验算",
        "  桩顶轴力设计值 N = " + input.load + " kN，抗力系数 γR = " + input.gammaR,
        "  γR·Ra = " + input.gammaR + " × " + Fixed(result.Ra, 2) + " = "
            + Fixed(check->capacity, 2) + " kN",
        "  N/(γR·Ra) = " + input.load + " / " + Fixed(check->capacity, 2) + " = "
            + Fixed(100 * check->utilization, 1) + " %",
        std::string("  N ") + (check->ok ? "≤" : ">") + " γR·Ra：" + verdict,
    };
}

std::string LoadCellText(const TPileInput &input, const TPileResult &result)
{
    const std::optional<TLoadCheck> check = CheckPileLoad(input, result);
    if (!check)
        return NoLoadText;
    if (!check->made())
        return "荷载数据有错";
    return Fixed(100 * check->utilization, 1) + "% " + std::string(LoadVerdictText(check->ok));
}
