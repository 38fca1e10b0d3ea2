// The height recalculation over every object.
#include "model/heights.h"

#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/drill.h"
#include "model/fixture.h"
#include "model/longhole.h"
#include "model/machine.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/texts.h"
#include "model/thread.h"

namespace korvel {

namespace {

// Parent chains are followed at most this far: a loop in a damaged file ends here.
constexpr int kMaxDepth = kMaxObjectId;

// While RecalcZ runs, the base level is computed once instead of for every object.
bool g_base_known = false;
double g_base = 0;

double BaseLevel() {
    if (g_base_known)
        return g_base;
    BlockRecord b = GetBlock();
    double structure = 0;
    MaxBulgeStructureHeight(structure);
    return b.z + b.height - b.mill_down - structure;
}

double SafeHeight() {
    BlockRecord b = GetBlock();
    return b.z + b.height + GetMachine().corridor;
}

double CalcZ(int id, int depth) {
    int type, index;
    if (depth > kMaxDepth || !FindID(id, type, index))
        return SafeHeight();
    switch (type) {
    case kTypeBlock:
        return BaseLevel();
    case kTypeBulge:
        return CalcZ(GetBulgePid(index), depth + 1) + Bulge_wz(index);
    case kTypeDrill:
    case kTypeThread:
    case kTypeBore:
    case kTypeLongHole:
    case kTypePocket:
        return CalcZ(GetPID(id), depth + 1) - ObjectWz(id);
    case kTypeFixture:
        return Fixture_wz(index);
    case kTypeEngText:
        return CalcZ(GetTextPid(index), depth + 1);
    case kTypeSpot:
        return CalcZ(GetSpotPid(index), depth + 1);
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
    case kTypeDrill:
        return Drill_wz(index);
    case kTypeThread:
        return Thread_wz(index);
    case kTypeBore:
        return Bore_wz(index);
    case kTypeLongHole:
        return LongHole_wz(index);
    case kTypePocket:
        return Pocket_wz(index);
    case kTypeFixture:
        return Fixture_wz(index);
    default:
        return 0;
    }
}

double calcZ(int id) { return CalcZ(id, 0); }

void RecalcZ() {
    g_base = BaseLevel();
    g_base_known = true; // heights do not change while they are stored
    for (int id = 1; id <= kMaxObjectId; ++id) {
        int type, index;
        if (!FindID(id, type, index))
            continue;
        switch (type) {
        case kTypeBulge:
            SetBulge_z(index, calcZ(id) - Bulge_wz(index));
            break;
        case kTypeDrill:
            SetDrill_z(index, calcZ(id) + Drill_wz(index));
            break;
        case kTypeThread:
            SetThread_z(index, calcZ(id) + Thread_wz(index));
            break;
        case kTypeBore:
            SetBore_z(index, calcZ(id) + Bore_wz(index));
            break;
        case kTypeLongHole:
            SetLongHole_z(index, calcZ(id) + LongHole_wz(index));
            break;
        case kTypePocket:
            SetPocket_z(index, calcZ(id) + Pocket_wz(index));
            break;
        case kTypeEngText:
            SetText_z(index, calcZ(id));
            break;
        case kTypeSpot:
            SetSpot_z(index, calcZ(id));
            break;
        default:
            break;
        }
    }
    g_base_known = false;
}

} // namespace korvel
