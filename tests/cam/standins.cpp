#include "standins.h"

#include "base/text.h"
#include "cam/code_buffer.h"
#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/pocket.h"
#include "model/registry.h"

namespace korvel::test {

namespace {

int Mark(const std::string& what) {
    int buffer = NewCodeBuffer(-1);
    return buffer >= 0 && AppendCode(buffer, "(STAND-IN: " + what + ")");
}

int RoughTop() {
    DeclareObjectProcessed(GetBlockId());
    return Mark("TOP FACE");
}
int Level(int level) {
    for (int i = FindFirstLevelBulge(level); i >= 0; i = FindNextLevelBulge(level))
        DeclareObjectProcessed(Bulge_id(i));
    return Mark(Sprintf("LEVEL %d", level));
}
int Bore(int index) {
    DeclareObjectProcessed(Bore_id(index));
    return Mark(Sprintf("CYLINDRICAL POCKET ID %d", Bore_id(index)));
}
int PocketMill(int index) {
    DeclareObjectProcessed(Pocket_id(index));
    return Mark(Sprintf("POCKET ID %d", Pocket_id(index)));
}
int Nothing() { return 1; }
int NothingFor(int) { return 1; }
int LongHoles() { return Mark("LONGHOLES"); }
int Threads() { return Mark("THREADS"); }
int Texts() { return Mark("TEXTS"); }
int Engraving() { return Mark("ENGRAVING"); }

bool Wanted(const std::string& kinds, const char* kind) {
    return kinds.find("all") != std::string::npos || kinds.find(kind) != std::string::npos;
}

template <class F> void Fill(F& slot, F standin) {
    if (!slot)
        slot = standin;
}

} // namespace

PhaseGenerators InstallStandIns(const std::string& kinds) {
    PhaseGenerators g = Generators();
    if (Wanted(kinds, "topface")) {
        Fill(g.GRoughTop, &RoughTop);
        Fill(g.GFineTop, &Nothing);
    }
    if (Wanted(kinds, "levels")) {
        Fill(g.GThisLevel, &Level);
        Fill(g.GThisLevel_NEMR, &Level);
        Fill(g.GFineThisLevel, &NothingFor);
        Fill(g.GChamferThisBulge, &NothingFor);
    }
    if (Wanted(kinds, "bores")) {
        Fill(g.GThisBore, &Bore);
        Fill(g.GThisBore_NEMR, &Bore);
        Fill(g.GFineAllBores, &Nothing);
        Fill(g.GChamferAllBores, &Nothing);
    }
    if (Wanted(kinds, "pockets")) {
        Fill(g.GThisPocket, &PocketMill);
        Fill(g.GThisPocket_NEMR, &PocketMill);
        Fill(g.GFineAllPockets, &Nothing);
        Fill(g.GChamferAllPockets, &Nothing);
    }
    if (Wanted(kinds, "longholes"))
        Fill(g.GAllLongHoles, &LongHoles);
    if (Wanted(kinds, "threads"))
        Fill(g.GAllThreads, &Threads);
    if (Wanted(kinds, "texts"))
        Fill(g.GAllTexts, &Texts);
    if (Wanted(kinds, "engraving"))
        Fill(g.GEngraveAllCLA, &Engraving);
    return InstallGenerators(g);
}

} // namespace korvel::test
