// The object-kind table: one row per object type over the feature tables' own functions.
#include "model/object_kind.h"

#include <array>

#include "base/text.h"
#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/cla.h"
#include "model/cla_edit.h"
#include "model/drill.h"
#include "model/fixture.h"
#include "model/longhole.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/selection.h"
#include "model/texts.h"
#include "model/thread.h"
#include "platform/platform.h"

namespace korvel {

namespace {

// A writer of one line per object, made into a writer of the project file's lines.
template <int (*Str)(std::string&, int)> int OneLine(int index, std::string& out) {
    Str(out, index);
    if (out.empty())
        return 0;
    out += '\n';
    return 1;
}

// The block has one slot; its functions take no index.
int BlockMark(int) { return Block_selected(); }
int BlockSelect(int, int marks) {
    int mark = Block_selected();
    int changed = AddMarks(mark, marks);
    SetBlockSelected(mark);
    return changed;
}
int BlockUnselect(int, int marks) {
    int mark = Block_selected();
    int changed = RemoveMarks(mark, marks);
    SetBlockSelected(mark);
    return changed;
}
int BlockWrite(int, std::string& out) { return WriteBlockData(out); }
void BlockRemove(int) { InitBlock(); }
void BlockMove(int, double dx, double dy) { MoveBlockBy(dx, dy); }
void BlockScale(int, double cx, double cy, double f) { ScaleBlockBy(cx, cy, f); }

bool BulgeTools(int index) {
    Bulge b;
    GetBulge(index, b);
    return b.rough_tool || b.fine_tool;
}
bool PocketTools(int index) {
    Pocket p;
    GetPocket(index, p);
    return p.rough_tool || p.fine_tool;
}
bool DrillTools(int index) {
    Drill d;
    GetDrill(d, index);
    return d.tool != 0;
}
bool ThreadTools(int index) {
    Thread t;
    GetThread(t, index);
    return t.tool || t.predrill_tool;
}
bool BoreTools(int index) {
    Bore b;
    GetBore(b, index);
    return b.rough_tool || b.fine_tool;
}

void BulgeRemove(int index) { InitBulge(index); }
void PocketRemove(int index) { InitPocket(index); }
void DrillRemove(int index) { RemoveDrill(index); }
void ThreadRemove(int index) { InitThread(index); }
void BoreRemove(int index) { InitBore(index); }
void LongHoleRemove(int index) { InitLongHole(index); }
void FixtureRemove(int index) { InitFixture(index); }
void TextRemove(int index) { InitText(index); }
void SpotRemove(int index) { RemoveSpot(index); }
void CLARemove(int index) { RemoveCLA(index); }

// Spots are the compiler's: selecting one means the compiler left it behind.
int SelectSpot(int index, int) {
    ShowMessage(Sprintf("SPOT found! Id = %d index = %d", GetSpotId(index), index),
                "Error: Spot found!", kMbOk | kMbIconError);
    return 0;
}

constexpr std::array<ObjectKind, 13> kKinds = {{
    {kTypeBlock,  "Block",    nullptr,     BlockMark, BlockSelect, BlockUnselect, true,
     Attach::kNo, BlockWrite, BlockRemove, nullptr,   nullptr,     nullptr,       HeightRule::kBase,
     BlockMove,   nullptr,    BlockScale,  nullptr,   nullptr,     nullptr},
    {kTypeBulge,    "Bulge",      GetBulgePid,    Bulge_selected,  SelectBulge,
     UnSelectBulge, true,         Attach::kBulge, WriteBulgeData,  BulgeRemove,
     BulgeTools,    Bulge_wz,     SetBulge_z,     HeightRule::kUp, MoveBulgeBy,
     TurnBulge,     ScaleBulgeBy, MirrorBulgeX,   MirrorBulgeY,    CopyBulgeTo},
    {kTypeDrill,
     "Drill",
     GetDrillPid,
     Drill_selected,
     SelectDrill,
     UnSelectDrill,
     false,
     Attach::kUnlessSystem,
     OneLine<StrDrillData>,
     DrillRemove,
     DrillTools,
     Drill_wz,
     SetDrill_z,
     HeightRule::kDown,
     MoveDrillBy,
     TurnDrill,
     ScaleDrillBy,
     MirrorDrillX,
     MirrorDrillY,
     CopyDrillTo},
    {kTypeThread,    "Thread",      GetThreadPid,  Thread_selected,        SelectThread,
     UnSelectThread, false,         Attach::kYes,  OneLine<StrThreadData>, ThreadRemove,
     ThreadTools,    Thread_wz,     SetThread_z,   HeightRule::kDown,      MoveThreadBy,
     TurnThread,     ScaleThreadBy, MirrorThreadX, MirrorThreadY,          CopyThreadTo},
    {kTypeBore,
     "Cylindrical pocket",
     Bore_pid,
     Bore_selected,
     SelectBore,
     UnSelectBore,
     true,
     Attach::kYes,
     OneLine<StrBoreData>,
     BoreRemove,
     BoreTools,
     Bore_wz,
     SetBore_z,
     HeightRule::kDown,
     MoveBoreBy,
     TurnBore,
     ScaleBoreBy,
     MirrorBoreX,
     MirrorBoreY,
     CopyBoreTo},
    {kTypeLongHole,    "Longhole",      GetLongHolePid,  LongHole_selected,        SelectLongHole,
     UnSelectLongHole, false,           Attach::kYes,    OneLine<StrLongHoleData>, LongHoleRemove,
     nullptr,          LongHole_wz,     SetLongHole_z,   HeightRule::kDown,        MoveLongHoleBy,
     TurnLongHole,     ScaleLongHoleBy, MirrorLongHoleX, MirrorLongHoleY,          CopyLongHoleTo},
    {kTypePocket,    "Pocket",      GetPocketPid,  Pocket_selected,   SelectPocket,
     UnSelectPocket, true,          Attach::kYes,  WritePocketData,   PocketRemove,
     PocketTools,    Pocket_wz,     SetPocket_z,   HeightRule::kDown, MovePocketBy,
     TurnPocket,     ScalePocketBy, MirrorPocketX, MirrorPocketY,     CopyPocketTo},
    {kTypeFixture,    "Fixture",      nullptr,        Fixture_selected,        SelectFixture,
     UnSelectFixture, false,          Attach::kNo,    OneLine<StrFixtureData>, FixtureRemove,
     nullptr,         Fixture_wz,     nullptr,        HeightRule::kAbsolute,   MoveFixtureBy,
     nullptr,         ScaleFixtureBy, MirrorFixtureX, MirrorFixtureY,          CopyFixtureTo},
    {kTypeEngText,
     "Text",
     GetTextPid,
     Text_selected,
     SelectText,
     UnSelectText,
     false,
     Attach::kYes,
     OneLine<StrEngTextData>,
     TextRemove,
     nullptr,
     nullptr,
     SetText_z,
     HeightRule::kOnParent,
     MoveTextBy,
     TurnText,
     ScaleTextBy,
     nullptr,
     nullptr,
     CopyTextTo},
    {kTypeInfoText,
     "Note",
     nullptr,
     Text_selected,
     SelectText,
     UnSelectText,
     false,
     Attach::kNo,
     OneLine<StrInfoTextData>,
     TextRemove,
     nullptr,
     nullptr,
     nullptr,
     HeightRule::kNone,
     MoveTextBy,
     TurnText,
     ScaleTextBy,
     nullptr,
     nullptr,
     CopyTextTo},
    // Engraving elements stand on their parent's surface and count as carried by it.
    {kTypeEngElement,
     "Engraving element",
     GetCLAPid,
     CLA_selected,
     SelectCLA,
     UnSelectCLA,
     false,
     Attach::kYes,
     OneLine<StrCLAData>,
     CLARemove,
     nullptr,
     nullptr,
     SetCLA_z,
     HeightRule::kOnParent,
     MoveCLABy,
     TurnCLABy,
     ScaleCLABy,
     MirrorXCLABy,
     MirrorYCLABy,
     CopyCLABy},
    {kTypeInfoElement,
     "Drawing element",
     nullptr,
     CLA_selected,
     SelectCLA,
     UnSelectCLA,
     false,
     Attach::kNo,
     OneLine<StrCLAData>,
     CLARemove,
     nullptr,
     nullptr,
     nullptr,
     HeightRule::kNone,
     MoveCLABy,
     TurnCLABy,
     ScaleCLABy,
     MirrorXCLABy,
     MirrorYCLABy,
     CopyCLABy},
    // Spots exist only while the compiler runs: never selected, saved or edited.
    {kTypeSpot,   "Spot",  GetSpotPid, nullptr, SelectSpot, nullptr,   false,
     Attach::kNo, nullptr, SpotRemove, nullptr, nullptr,    SetSpot_z, HeightRule::kOnParent,
     nullptr,     nullptr, nullptr,    nullptr, nullptr,    nullptr},
}};

} // namespace

const ObjectKind* KindOf(int type) {
    for (const ObjectKind& k : kKinds)
        if (k.type == type)
            return &k;
    return nullptr;
}

const ObjectKind* KindOfId(int id, int& index) {
    int type;
    return FindID(id, type, index) ? KindOf(type) : nullptr;
}

int WriteObjectLines(int id, std::string& out) {
    out.clear();
    int index;
    const ObjectKind* kind = KindOfId(id, index);
    if (!kind || !kind->write)
        return 0;
    return kind->write(index, out);
}

void AppendObjectLines(std::string& out) {
    std::string lines;
    for (int id : RegisteredObjects())
        if (WriteObjectLines(id, lines))
            out += lines;
}

std::string AllObjectLines() {
    std::string all;
    AppendObjectLines(all);
    return all;
}

} // namespace korvel
