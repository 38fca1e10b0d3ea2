// The machining data that bores, bulges, pockets and the top face share (preselected tools,
// quality, chamfer, tolerance offset, scan directions): the rules the feature dialogs apply
// before they store them. Questions and refusals go through the message port.
#pragma once

#include <string>
#include <vector>

namespace korvel {

enum class CommonObject { kBulge, kBlock, kBore, kPocket };

// The surfaces a quality code finishes.
struct QualityBoxes {
    bool side = false;
    bool rough_bottom = false;
    bool fine_bottom = false;
};
QualityBoxes QualityToBoxes(int code); // code -1 (global) gives the global QUALITY's boxes
// The code of the boxes. Fine finishing of the bottom implies finishing the side, so the two
// combinations without a code of their own give 4 and 5.
int BoxesToQuality(const QualityBoxes& boxes);

// Scan directions as stored: 2 x (finishing along Y) + (rough milling along Y).
int ScanDirections(bool rough_along_y, bool finish_along_y);

// The tool list of the dialogs: "AUTO SELECT", then one entry per magazine place up to the tool
// holder's slot count; the entry index is the tool number stored.
std::vector<std::string> ToolListEntries();

// Checks preselected tools (0 = automatic, not checked) against the object: the table slot for
// bulges, bores and pockets (ignored for the block). Returns 1 when they may be used; 0 after an
// error box, or when the user answered No to a warning.
int CheckToolCombatibility(CommonObject kind, int index, int rough, int fine);

struct CommonData {
    double chamfer = 0;
    int tol_offset = 0;
    int rough_tool = 0;
    int fine_tool = 0;
    int quality = -1;
    int scan = 0;
    double size = 0; // the height (bulge) or depth (bore, pocket)
};

// Why the dialog stays open; kOk when the data may be stored.
enum class CommonDataCheck {
    kOk,
    kToolRefused,
    kToleranceOutOfRange,
    kChamferOutOfRange,
    kSizeNotPositive,
    kToolPlaceEmpty,
};

// The validation on OK, in its order: tool checks, tolerance offset, chamfer, size, occupied
// places.
CommonDataCheck ValidateCommonData(CommonObject kind, int index, const CommonData& data);

} // namespace korvel
