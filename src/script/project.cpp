// Clearing the project's tables.
#include "script/project.h"

#include "model/block.h"
#include "model/bulge.h"
#include "model/contour.h"
#include "model/registry.h"
#include "script/settings.h"

namespace korvel {

void InitProject() {
    InitID();
    InitBlock();
    InitBulge(kAllSlots);
    ResetContour();
    ClearProjectTexts();
}

int WriteObjectLines(int id, std::string& out) {
    out.clear();
    int type, index;
    if (!FindID(id, type, index))
        return 0;
    switch (type) {
    case kTypeBlock:
        return WriteBlockData(out);
    case kTypeBulge:
        return WriteBulgeData(index, out);
    default:
        return 0;
    }
}

std::string AllObjectLines() {
    std::string all, lines;
    for (int id = 1; id <= kMaxObjectId; ++id)
        if (WriteObjectLines(id, lines))
            all += lines;
    return all;
}

} // namespace korvel
