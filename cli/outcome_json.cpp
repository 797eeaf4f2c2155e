#include "outcome_json.h"

#include "design_load.h"
#include "result_texts.h"

using nlohmann::ordered_json;

namespace {

const char *StatusKindName(TStatusKind kind)
{
    switch (kind) {
    case TStatusKind::Hint:
        return "hint";
    case TStatusKind::Note:
        return "note";
    default:
        return "none";
    }
}

} // namespace

ordered_json OutcomeToJson(const TPileInput &input, const TCalcOutcome &outcome, int pileNumber)
{
    if (!outcome.ok())
        return ordered_json {{"ok", false}, {"message", outcome.failure->message}};
    const TPileResult &r = outcome.result;
    const auto [dText, cText] = ShownSizeTexts(input, r);
    ordered_json rock = ordered_json::array();
    for (const TRockLayerResult &layer : r.rockResults) {
        rock.push_back(ordered_json {{"hardnessClass", layer.hardnessClass},
                                     {"c1Interpolated", layer.c1Interpolated},
                                     {"c2Interpolated", layer.c2Interpolated},
                                     {"c1", layer.c1},
                                     {"c2", layer.c2},
                                     {"qpa", layer.qpa},
                                     {"qra", layer.qra},
                                     {"Rria", layer.Rria},
                                     {"sumRria", layer.sumRria},
                                     {"share", layer.share},
                                     {"remark", layer.remark}});
    }
    ordered_json soil = ordered_json::array();
    for (const TSoilLayerResult &layer : r.soilResults) {
        soil.push_back(ordered_json {{"zetaS", layer.zetaS},
                                     {"Rsik", layer.Rsik},
                                     {"sumRsik", layer.sumRsik},
                                     {"share", layer.share}});
    }
    ordered_json object {
        {"ok", true},
        {"pile", "ZH" + std::to_string(pileNumber)},
        {"dText", dText},
        {"cText", cText},
        {"d", r.d},
        {"c", r.c},
        {"Ap", r.Ap},
        {"u", r.u},
        {"h", r.h},
        {"ls", r.ls},
        {"zetaS", r.zetaS},
        {"socketSide", r.socketSide},
        {"socketTip", r.socketTip},
        {"socketTotal", r.socketTotal},
        {"soilSide", r.soilSide},
        {"Ra", r.Ra},
        {"tipShare", r.tipShare},
        {"raText", RaText(r.Ra, input.rounding)},
        {"percentText", TipShareText(r.tipShare, input.rounding)},
        {"specifiedAdopted", r.specifiedAdopted},
        {"compliant", r.compliant},
        {"status", ordered_json {{"text", r.statusText}, {"kind", StatusKindName(r.statusKind)}}},
        {"rock", rock},
        {"soil", soil}};
    if (const auto check = CheckPileLoad(input, r)) {
        if (check->made()) {
            object["loadCheck"] = ordered_json {{"N", check->N},
                                                {"gammaR", check->gammaR},
                                                {"capacity", check->capacity},
                                                {"utilization", check->utilization},
                                                {"ok", check->ok}};
        } else {
            object["loadCheck"] = ordered_json {{"ok", false}, {"message", check->error}};
        }
    }
    return object;
}
