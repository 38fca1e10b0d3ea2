// Validation of the common machining data.
#include "ui/common_data.h"

#include "base/text.h"
#include "model/atttool.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/pocket.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "tooldb/database.h"

namespace korvel {

namespace {

constexpr double kMaxChamfer = 2.0;

// The error box refuses; the warning asks.
int Refuse(const std::string& text) {
    ShowMessage(text, "Error", kMbOk | kMbIconError);
    return 0;
}

bool Accept(const std::string& text) {
    return ShowMessage(text, "Warning!", kMbYesNo | kMbIconExclamation) == kIdYes;
}

struct Limits {
    const char* noun = "";    // "bulge", "bore", "pocket"
    double size = 0;          // the height or depth the tool must reach
    double corner_radius = 0; // 0: no limit from corners
    double bore_dia = 0;      // bores: the tool must be thinner
};

Limits LimitsOf(CommonObject kind, int index) {
    Limits l;
    switch (kind) {
    case CommonObject::kBulge:
        l.noun = "bulge";
        l.size = Bulge_wz(index);
        l.corner_radius = MinBulgeCWR(index);
        break;
    case CommonObject::kPocket:
        l.noun = "pocket";
        l.size = Pocket_wz(index);
        l.corner_radius = MinPocketCCWR(index);
        break;
    case CommonObject::kBore:
        l.noun = "bore";
        l.size = Bore_wz(index);
        l.bore_dia = Bore_dia(index);
        break;
    case CommonObject::kBlock:
        break;
    }
    return l;
}

// The checks of one preselected tool; `rough` chooses the rough or the fine rules.
int CheckTool(CommonObject kind, const Limits& l, int place, bool rough) {
    AttachedToolData tool;
    if (GetAttToolDataExt(place, tool) < 0)
        return 1; // an empty place is refused by the validation that follows
    const char* which = rough ? "rough" : "fine";
    bool type_ok = rough ? (tool.type == kEndMillRough || tool.type == kFaceMillRough)
                         : tool.type == kEndMillFine;
    if (kind == CommonObject::kBlock) {
        if (!rough)
            type_ok = tool.type == kEndMillFine || tool.type == kFaceMillFine;
        if (!type_ok &&
            !Accept(Sprintf("Selected %s milling tool T%d unsuitable\nAccept selection anyway?",
                            which, place)))
            return 0;
        return 1;
    }
    if (kind == CommonObject::kPocket && rough)
        type_ok = tool.type == kEndMillRough;
    if (tool.length < l.size)
        return Refuse(
            Sprintf("Selected %s milling tool T%d too short for this %s", which, place, l.noun));
    // A bore needs a thinner tool; a pocket's corners limit every tool, a bulge's only when
    // it has concave corners.
    bool too_big;
    if (kind == CommonObject::kBore)
        too_big = !(tool.dia < l.bore_dia);
    else if (kind == CommonObject::kPocket)
        too_big = tool.dia > 2 * l.corner_radius;
    else
        too_big = l.corner_radius > 0 && tool.dia > 2 * l.corner_radius;
    if (too_big)
        return Refuse(Sprintf("Selected %s milling tool T%d diameter too big for this %s", which,
                              place, l.noun));
    if (!type_ok &&
        !Accept(Sprintf("Selected %s milling tool T%d seems unsuitable\nAccept selection anyway?",
                        which, place)))
        return 0;
    // A rough tool that just fits the corners leaves nothing for finishing.
    bool corners = kind == CommonObject::kBulge || kind == CommonObject::kPocket;
    if (rough && corners && l.corner_radius > 0 && tool.dia == 2 * l.corner_radius &&
        !Accept(Sprintf("Selected rough milling tool T%d diameter too big.\nTool suitable for "
                        "this %s only without finishing\nAccept selection anyway?",
                        place, l.noun)))
        return 0;
    return 1;
}

} // namespace

QualityBoxes QualityToBoxes(int code) {
    if (code < 0)
        code = GetSettings().quality;
    QualityBoxes b;
    b.side = code >= 2;
    b.rough_bottom = code == 1 || code == 3 || code == 5;
    b.fine_bottom = code >= 4;
    return b;
}

int BoxesToQuality(const QualityBoxes& b) {
    if (b.fine_bottom)
        return b.rough_bottom ? 5 : 4;
    return (b.side ? 2 : 0) + (b.rough_bottom ? 1 : 0);
}

int ScanDirections(bool rough_along_y, bool finish_along_y) {
    return 2 * (finish_along_y ? 1 : 0) + (rough_along_y ? 1 : 0);
}

std::vector<std::string> ToolListEntries() {
    std::vector<std::string> entries = {"AUTO SELECT"};
    int places = std::min(GetSettings().toolholder, kMaxPlaces);
    for (int place = 1; place <= places; ++place) {
        const char* format = place < 10 ? "T0%d" : "T%d";
        std::string entry = Sprintf(format, place);
        AttachedTool a = GetAttachedTool(place);
        if (!a.name.empty())
            entry += Sprintf(" %s (%s)", a.name.c_str(), tooltype(FindToolType(a.name)).c_str());
        entries.push_back(entry);
    }
    return entries;
}

int CheckToolCombatibility(CommonObject kind, int index, int rough, int fine) {
    Limits l = LimitsOf(kind, index);
    if (rough > 0 && !CheckTool(kind, l, rough, true))
        return 0;
    if (fine > 0 && !CheckTool(kind, l, fine, false))
        return 0;
    return 1;
}

CommonDataCheck ValidateCommonData(CommonObject kind, int index, const CommonData& data) {
    if (!CheckToolCombatibility(kind, index, data.rough_tool, data.fine_tool))
        return CommonDataCheck::kToolRefused;
    if (data.tol_offset < -199 || data.tol_offset > 199) {
        ShowMessage("Nominal range from -199 to 199 (-0.199 to 0.199)",
                    "Tolerance offset out of range", kMbOk | kMbIconExclamation);
        return CommonDataCheck::kToleranceOutOfRange;
    }
    if (!(data.chamfer >= 0 && data.chamfer <= kMaxChamfer)) {
        ShowMessage(Sprintf("Valid range: 0 - %0.3f", kMaxChamfer), "Chamfer out of range",
                    kMbOk | kMbIconExclamation);
        return CommonDataCheck::kChamferOutOfRange;
    }
    if (kind != CommonObject::kBlock && !(data.size > 0))
        return CommonDataCheck::kSizeNotPositive;
    for (int place : {data.rough_tool, data.fine_tool}) {
        if (place > 0 && GetAttachedTool(place).name.empty()) {
            ShowMessage(Sprintf("No tool is attached to place T%d", place), "Tool missing",
                        kMbOk | kMbIconExclamation);
            return CommonDataCheck::kToolPlaceEmpty;
        }
    }
    return CommonDataCheck::kOk;
}

} // namespace korvel
