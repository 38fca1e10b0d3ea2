// The height recalculation over every object.
#include "model/heights.h"

#include "model/block.h"
#include "model/bulge.h"
#include "model/machine.h"
#include "model/registry.h"

namespace korvel {

namespace {

// Parent chains are followed at most this far: a loop in a damaged file ends here.
constexpr int kMaxDepth = kMaxObjectId;

double SafeHeight() {
    BlockRecord b = GetBlock();
    return b.z + b.height + GetMachine().corridor;
}

double CalcZ(int id, int depth) {
    int type, index;
    if (depth > kMaxDepth || !FindID(id, type, index))
        return SafeHeight();
    switch (type) {
    case kTypeBlock: {
        BlockRecord b = GetBlock();
        double structure = 0;
        MaxBulgeStructureHeight(structure);
        return b.z + b.height - b.mill_down - structure;
    }
    case kTypeBulge:
        return CalcZ(GetBulgePid(index), depth + 1) + Bulge_wz(index);
    default:
        return SafeHeight();
    }
}

} // namespace

double ObjectWz(int id) {
    int type, index;
    if (!FindID(id, type, index))
        return 0;
    switch (type) {
    case kTypeBulge:
        return Bulge_wz(index);
    default:
        return 0;
    }
}

double calcZ(int id) { return CalcZ(id, 0); }

void RecalcZ() {
    for (int id = 1; id <= kMaxObjectId; ++id) {
        int type, index;
        if (!FindID(id, type, index))
            continue;
        switch (type) {
        case kTypeBulge:
            SetBulge_z(index, calcZ(id) - Bulge_wz(index));
            break;
        default:
            break;
        }
    }
}

} // namespace korvel
