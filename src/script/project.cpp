// Clearing the project's tables, and the lines the project file holds for each object.
#include "script/project.h"

#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/contour.h"
#include "model/drill.h"
#include "model/fixture.h"
#include "model/longhole.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/texts.h"
#include "model/thread.h"
#include "script/settings.h"

namespace korvel {

void InitProject() {
    InitID();
    InitBlock();
    InitBulge(kAllSlots);
    ResetContour();
    RemoveDrill(kAllSlots);
    RemoveSpot(kAllSlots);
    InitThread(kAllSlots);
    InitBore(kAllSlots);
    InitLongHole(kAllSlots);
    InitPocket(kAllSlots);
    InitText(kAllSlots);
    InitFixture(kAllSlots);
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
    case kTypePocket:
        return WritePocketData(index, out);
    case kTypeDrill:
        StrDrillData(out, index);
        break;
    case kTypeThread:
        StrThreadData(out, index);
        break;
    case kTypeBore:
        StrBoreData(out, index);
        break;
    case kTypeLongHole:
        StrLongHoleData(out, index);
        break;
    case kTypeFixture:
        StrFixtureData(out, index);
        break;
    case kTypeEngText:
        StrEngTextData(out, index);
        break;
    case kTypeInfoText:
        StrInfoTextData(out, index);
        break;
    default:
        return 0;
    }
    if (out.empty())
        return 0; // compiler-made objects are not saved
    out += '\n';
    return 1;
}

std::string AllObjectLines() {
    std::string all, lines;
    for (int id = 1; id <= kMaxObjectId; ++id)
        if (WriteObjectLines(id, lines))
            all += lines;
    return all;
}

} // namespace korvel
