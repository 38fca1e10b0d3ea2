// The height recalculation over every object.
#include "model/heights.h"

#include "model/block.h"
#include "model/bulge.h"
#include "model/machine.h"
#include "model/object_kind.h"
#include "model/registry.h"

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
    int index;
    const ObjectKind* kind = depth > kMaxDepth ? nullptr : KindOfId(id, index);
    if (!kind)
        return SafeHeight();
    int parent = kind->parent ? kind->parent(index) : -1;
    switch (kind->height) {
    case HeightRule::kBase:
        return BaseLevel();
    case HeightRule::kUp:
        return CalcZ(parent, depth + 1) + kind->wz(index);
    case HeightRule::kDown:
        return CalcZ(parent, depth + 1) - kind->wz(index);
    case HeightRule::kAbsolute:
        return kind->wz(index);
    case HeightRule::kOnParent:
        return CalcZ(parent, depth + 1);
    case HeightRule::kNone:
        break;
    }
    return SafeHeight();
}

} // namespace

double ObjectWz(int id) {
    int index;
    const ObjectKind* kind = KindOfId(id, index);
    return kind && kind->wz ? kind->wz(index) : 0;
}

double calcZ(int id) { return CalcZ(id, 0); }

void RecalcZ() {
    g_base = BaseLevel();
    g_base_known = true; // heights do not change while they are stored
    for (int id : RegisteredObjects()) {
        int index;
        const ObjectKind* kind = KindOfId(id, index);
        if (!kind || !kind->set_z)
            continue;
        // An object stores the level of the surface it stands on or is cut from.
        switch (kind->height) {
        case HeightRule::kUp:
            kind->set_z(index, calcZ(id) - kind->wz(index));
            break;
        case HeightRule::kDown:
            kind->set_z(index, calcZ(id) + kind->wz(index));
            break;
        case HeightRule::kOnParent:
            kind->set_z(index, calcZ(id));
            break;
        default:
            break;
        }
    }
    g_base_known = false;
}

} // namespace korvel
