#include "design_command.h"

#include "design_load.h"
#include "design_solver.h"
#include "line_output.h"
#include "number_format.h"
#include "pile_file.h"
#include "usage_checks.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <optional>

using nlohmann::ordered_json;

namespace {

struct TDesignOptions
{
    std::string file;
    std::string target = "h";
    std::optional<double> step;
    std::string format = "table";
};

ordered_json AnswerToJson(std::size_t index, const std::string &target, const TDesignAnswer &answer)
{
    ordered_json object {{"pile", index + 1}, {"ok", answer.ok}, {"for", target}};
    if (answer.ok) {
        object["value"] = answer.value;
        object["h"] = answer.h;
        object["Ra"] = answer.Ra;
        object["capacity"] = answer.capacity;
    }
    object["message"] = answer.message;
    return object;
}

// "1 h 2.37 h=3.37 Ra=10367.26 capacity=12959.07", or the number, the target, "-" and the message.
std::string AnswerLine(std::size_t index, const std::string &target, const TDesignAnswer &answer)
{
    std::string line = std::to_string(index + 1) + " " + target + " ";
    if (!answer.ok)
        return line + "- " + answer.message;
    return line + answer.value + " h=" + GeneralText(answer.h) + " Ra="
        + FormatFixed(answer.Ra, 15, 2) + " capacity=" + FormatFixed(answer.capacity, 15, 2);
}

int RunDesign(const TDesignOptions &options)
{
    RefuseEmptyPath(options.file, "FILE");
    const TDesignFor target = options.target == "d" ? TDesignFor::Size : TDesignFor::SocketDepth;
    const double step = options.step.value_or(target == TDesignFor::SocketDepth ? DefaultDepthStep
                                                                                : DefaultSizeStep);
    if (!IsDesignStep(target, step)) {
        throw TUsageError(target == TDesignFor::SocketDepth
                              ? "--step must be a positive number of metres with at most six "
                                "decimals, at most 100"
                              : "--step must be a positive number of millimetres with at most six "
                                "decimals, at most 9900");
    }
    const std::vector<TPileInput> piles = ReadPileFile(options.file);
    const bool json = options.format == "json";
    TLineOutput out({});
    int exitCode = 0;
    if (json)
        out.Line("[");
    for (std::size_t i = 0; i < piles.size(); ++i) {
        const TDesignAnswer answer = SolveDesign(piles[i], target, step);
        if (!answer.ok) {
            std::cerr << "pile " << i + 1 << ": " << answer.message << '\n';
            exitCode = 1;
        }
        if (json)
            out.Line("  " + AnswerToJson(i, options.target, answer).dump()
                     + (i + 1 < piles.size() ? "," : ""));
        else
            out.Line(AnswerLine(i, options.target, answer));
    }
    if (json)
        out.Line("]");
    out.Finish();
    return exitCode;
}

} // namespace

void AddDesignCommand(CLI::App &app, int &exitCode)
{
    auto options = std::make_shared<TDesignOptions>();
    CLI::App *design = app.add_subcommand(
        "design", "The least socket depth or section size that carries each pile's load N");
    design
        ->add_option("FILE", options->file,
                     "JSON file with one pile or an array of piles, or a CSV table (*.csv); - for "
                     "JSON on standard input")
        ->required();
    design
        ->add_option("--for", options->target,
                     "h: the thickness of the last rock layer; d: the diameter d of a circle, the "
                     "long side a of an ellipse or rectangle (c kept)")
        ->check(CLI::IsMember({"h", "d"}))
        ->capture_default_str();
    design->add_option("--step", options->step,
                       "Grid of the answer: metres for h (default 0.01), millimetres for d "
                       "(default 10)");
    design
        ->add_option("--format", options->format,
                     "table: one line a pile; json: an array of one object a pile")
        ->check(CLI::IsMember({"table", "json"}))
        ->capture_default_str();
    design->callback([options, &exitCode] { exitCode = RunDesign(*options); });
}
