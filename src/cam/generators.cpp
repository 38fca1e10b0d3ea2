// The table of phase generators, and which features need which of them.
#include "cam/generators.h"

#include "base/text.h"
#include "cam/gen_bore.h"
#include "cam/gen_chamfer.h"
#include "cam/gen_engrave.h"
#include "cam/gen_level.h"
#include "cam/gen_longhole.h"
#include "cam/gen_pocket.h"
#include "cam/gen_thread.h"
#include "cam/gen_topface.h"
#include "cam/machining_data.h"
#include "model/block.h"
#include "model/bulge.h"
#include "model/registry.h"

namespace korvel {

namespace {

// The generators of this version, one line per entry that a kind's file fills.
PhaseGenerators DefaultGenerators() {
    PhaseGenerators g;
    g.GRoughTop = GRoughTop;
    g.GFineTop = GFineTop;
    g.GThisBore = GThisBore;
    g.GThisBore_NEMR = GThisBore_NEMR;
    g.GFineAllBores = GFineAllBores;
    g.GChamferAllBores = GChamferAllBores;
    g.GAllThreads = GAllThreads;
    g.GThisLevel = GThisLevel;
    g.GThisLevel_NEMR = GThisLevel_NEMR;
    g.GFineThisLevel = GFineThisLevel;
    g.GChamferThisBulge = GChamferThisBulge;
    g.GThisPocket = GThisPocket;
    g.GThisPocket_NEMR = GThisPocket_NEMR;
    g.GFineAllPockets = GFineAllPockets;
    g.GChamferAllPockets = GChamferAllPockets;
    g.GAllLongHoles = GAllLongHoles;
    g.GAllTexts = GAllTexts;
    g.GEngraveAllCLA = GEngraveAllCLA;
    return g;
}

PhaseGenerators g_generators = DefaultGenerators();

// A kind of feature, the generators it needs and how the user knows it.
struct MachinedKind {
    int type;
    const char* label; // "%d" is the object ID
    bool (*ready)(const PhaseGenerators& g);
};

const MachinedKind kKinds[] = {
    {kTypeBulge, "Bulge ID %d",
     [](const PhaseGenerators& g) {
         return g.GThisLevel && g.GThisLevel_NEMR && g.GFineThisLevel && g.GChamferThisBulge;
     }},
    {kTypeBore, "Cylindrical pocket ID %d",
     [](const PhaseGenerators& g) {
         return g.GThisBore && g.GThisBore_NEMR && g.GFineAllBores && g.GChamferAllBores;
     }},
    {kTypePocket, "Pocket ID %d",
     [](const PhaseGenerators& g) {
         return g.GThisPocket && g.GThisPocket_NEMR && g.GFineAllPockets && g.GChamferAllPockets;
     }},
    {kTypeLongHole, "Longhole ID %d", [](const PhaseGenerators& g) { return !!g.GAllLongHoles; }},
    {kTypeThread, "Thread ID %d", [](const PhaseGenerators& g) { return !!g.GAllThreads; }},
    {kTypeEngText, "Engraving text ID %d", [](const PhaseGenerators& g) { return !!g.GAllTexts; }},
    {kTypeEngElement, "Engraving element ID %d",
     [](const PhaseGenerators& g) { return !!g.GEngraveAllCLA; }},
};

// Whether the top face has stock to mill away: the material above the top bulge, or the
// mill-down depth without bulges.
bool TopFaceHasStock() {
    BlockRecord b = GetBlock();
    if (!b.valid)
        return false;
    int top = TopBulgeIndex();
    double stock = top >= 0 ? BlockTop() - (Bulge_z(top) + Bulge_wz(top)) : b.mill_down;
    return stock >= 0.0025 || stock < -0.001;
}

} // namespace

const PhaseGenerators& Generators() { return g_generators; }

PhaseGenerators InstallGenerators(const PhaseGenerators& generators) {
    PhaseGenerators previous = g_generators;
    g_generators = generators;
    return previous;
}

std::string UnmachinedFeature() {
    const PhaseGenerators& g = g_generators;
    if ((!g.GRoughTop || !g.GFineTop) && TopFaceHasStock())
        return Sprintf("Top face of block ID %d", GetBlockId());
    for (int id : RegisteredObjects()) {
        int type = -1, index = -1;
        FindID(id, type, index);
        for (const MachinedKind& kind : kKinds)
            if (kind.type == type && !kind.ready(g))
                return Sprintf(kind.label, id);
    }
    return "";
}

} // namespace korvel
