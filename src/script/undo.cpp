// The undo and redo algorithms and the object-by-ID operations.
#include "script/undo.h"

#include <algorithm>
#include <string>
#include <vector>

#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/drill.h"
#include "model/fixture.h"
#include "model/heights.h"
#include "model/longhole.h"
#include "model/mparam.h"
#include "model/object_edit.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/selection.h"
#include "model/texts.h"
#include "model/thread.h"
#include "platform/platform.h"
#include "base/errors.h"
#include "script/interpreter.h"
#include "script/keywords.h"
#include "script/project.h"
#include "base/text.h"
#include "base/undo_stack.h"
#include "base/units.h"

namespace korvel {

namespace {

bool Continues(std::string& entry) {
    if (entry.empty() || entry.back() != '\n')
        return false;
    entry.pop_back();
    return true;
}

void MarkEdited() {
    SetProjectChanged(true);
    SetCompiled(false);
}

// Moves the reversal that the last replayed command pushed (one entry, or a unit of continuing
// entries with its last one) from the undo stack to the redo stack, keeping its order.
void MoveReversalToRedo() {
    std::string entry;
    while (PopUndoCom(entry)) {
        PushRevCom(entry);
        if (entry.empty() || entry.back() != '\n')
            break;
    }
    while (PopRevCom(entry))
        PushRedoCom(entry);
}

// The lines that recreate an object, each line exact; empty for a type without lines.
std::vector<std::string> ObjectLines(int id) {
    ExactFloats exact;
    std::string text;
    std::vector<std::string> lines;
    int type, index;
    if (!FindID(id, type, index))
        return lines;
    if (type == kTypeBlock) {
        if (StrBlockData(text))
            lines.push_back(text);
        return lines;
    }
    WriteObjectLines(id, text);
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    return lines;
}

// Every milling-parameter entry, as exact lines.
std::vector<std::string> MParamLines() {
    ExactFloats exact;
    std::vector<std::string> lines;
    std::string all = WriteMParams();
    std::size_t start = 0;
    for (std::size_t nl; (nl = all.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(all.substr(start, nl - start));
    return lines;
}

// The entries of `before` that `after` no longer holds.
std::vector<std::string> Lost(const std::vector<std::string>& before,
                              std::vector<std::string> after) {
    std::vector<std::string> lost;
    for (const std::string& line : before) {
        auto it = std::find(after.begin(), after.end(), line);
        if (it == after.end())
            lost.push_back(line);
        else
            after.erase(it);
    }
    return lost;
}

bool HasPreselectedTools(int type, int index) {
    switch (type) {
    case kTypeBulge: {
        Bulge b;
        GetBulge(index, b);
        return b.rough_tool || b.fine_tool;
    }
    case kTypePocket: {
        Pocket p;
        GetPocket(index, p);
        return p.rough_tool || p.fine_tool;
    }
    case kTypeDrill: {
        Drill d;
        GetDrill(d, index);
        return d.tool != 0;
    }
    case kTypeThread: {
        Thread t;
        GetThread(t, index);
        return t.tool || t.predrill_tool;
    }
    case kTypeBore: {
        Bore b;
        GetBore(b, index);
        return b.rough_tool || b.fine_tool;
    }
    default:
        return false;
    }
}

// The selection mark of an object; 0 for an unknown ID.
int MarkOf(int type, int index) {
    switch (type) {
    case kTypeBlock:
        return Block_selected();
    case kTypeBulge:
        return Bulge_selected(index);
    case kTypePocket:
        return Pocket_selected(index);
    case kTypeBore:
        return Bore_selected(index);
    case kTypeDrill:
        return Drill_selected(index);
    case kTypeThread:
        return Thread_selected(index);
    case kTypeLongHole:
        return LongHole_selected(index);
    case kTypeEngText:
    case kTypeInfoText:
        return Text_selected(index);
    case kTypeFixture:
        return Fixture_selected(index);
    default:
        return 0;
    }
}

std::vector<int> AllIds() {
    std::vector<int> ids;
    for (int id = 1; id <= kMaxObjectId; ++id) {
        int type, index;
        if (FindID(id, type, index))
            ids.push_back(id);
    }
    return ids;
}

std::vector<int> SelectedIds() {
    std::vector<int> ids;
    for (int id : AllIds()) {
        int type, index;
        FindID(id, type, index);
        if (MarkOf(type, index) & 1)
            ids.push_back(id);
    }
    return ids;
}

// Runs an operation on several objects as one group for undo.
template <class Op> void AsGroup(const std::vector<int>& ids, Op op) {
    ClearRedoList();
    PushUndoCom("}");
    for (int id : ids)
        op(id);
    PushUndoCom("{");
}

// A target word: ALL, SELECTED or an ID. Returns the IDs, or a single ID in `id`.
enum class Target { kOne, kAll, kSelected };
Target ParseTarget(const std::string& word, bool all_allowed, bool any_case, int& id) {
    std::string w = any_case ? Upper(word) : word;
    if (all_allowed && w == "ALL")
        return Target::kAll;
    if (w == "SELECTED")
        return Target::kSelected;
    id = ArgI(1);
    return Target::kOne;
}

} // namespace

int UnDo() {
    ClearRedoList();
    int depth = 0;
    std::string entry;
    while (PopUndoCom(entry)) {
        bool continues = Continues(entry);
        if (!entry.empty() && entry[0] == '#') {
            // a note, not a change
        } else if (entry == "{") {
            ++depth;
        } else if (entry == "}") {
            --depth;
        } else {
            long pushes = UndoPushCount();
            if (!IntrepretLine(entry, nullptr, 0)) {
                ClearRedoList();
                PushRedoCom("# Error! REDO impossible");
                return 0;
            }
            MarkEdited();
            // A command that pushed no reversal has nothing to hand to redo.
            if (!continues && UndoPushCount() != pushes)
                MoveReversalToRedo();
        }
        if (depth <= 0 && !continues)
            return 1;
    }
    return 1;
}

int ReDo() {
    if (RedoDepth() == 0)
        return 0;
    PushUndoCom("}");
    bool any = false;
    std::string entry;
    while (PopRedoCom(entry)) {
        Continues(entry);
        if (IntrepretLine(entry, nullptr, 0))
            any = true;
    }
    if (any)
        MarkEdited();
    PushUndoCom("{");
    return 1;
}

void ObjectNotFound(int id) {
    ShowMessage(Sprintf("Object ID %d not found!", id), "Undo/ObjectNotFound(id)",
                kMbOk | kMbIconError);
}

namespace {

// The geometric edits each type has; nullptr where a type has none (a fixture cannot be turned,
// a text not mirrored).
struct Edits {
    void (*move)(int index, double dx, double dy);
    void (*turn)(int index, double cx, double cy, double angle_deg);
    void (*scale)(int index, double cx, double cy, double f);
    void (*mirror_x)(int index, double a);
    void (*mirror_y)(int index, double b);
};

const Edits* EditsOf(int type) {
    static const Edits kBlock{[](int, double dx, double dy) { MoveBlockBy(dx, dy); }, nullptr,
                              [](int, double cx, double cy, double f) { ScaleBlockBy(cx, cy, f); },
                              nullptr, nullptr};
    static const Edits kBulge{MoveBulgeBy, TurnBulge, ScaleBulgeBy, MirrorBulgeX, MirrorBulgeY};
    static const Edits kPocket{MovePocketBy, TurnPocket, ScalePocketBy, MirrorPocketX,
                               MirrorPocketY};
    static const Edits kDrill{MoveDrillBy, TurnDrill, ScaleDrillBy, MirrorDrillX, MirrorDrillY};
    static const Edits kThread{MoveThreadBy, TurnThread, ScaleThreadBy, MirrorThreadX,
                               MirrorThreadY};
    static const Edits kBore{MoveBoreBy, TurnBore, ScaleBoreBy, MirrorBoreX, MirrorBoreY};
    static const Edits kLongHole{MoveLongHoleBy, TurnLongHole, ScaleLongHoleBy, MirrorLongHoleX,
                                 MirrorLongHoleY};
    static const Edits kFixture{MoveFixtureBy, nullptr, ScaleFixtureBy, MirrorFixtureX,
                                MirrorFixtureY};
    static const Edits kText{MoveTextBy, TurnText, ScaleTextBy, nullptr, nullptr};
    switch (type) {
    case kTypeBlock:
        return &kBlock;
    case kTypeBulge:
        return &kBulge;
    case kTypePocket:
        return &kPocket;
    case kTypeDrill:
        return &kDrill;
    case kTypeThread:
        return &kThread;
    case kTypeBore:
        return &kBore;
    case kTypeLongHole:
        return &kLongHole;
    case kTypeFixture:
        return &kFixture;
    case kTypeEngText:
    case kTypeInfoText:
        return &kText;
    default:
        return nullptr;
    }
}

// The edit of an object by ID, or nullptr (after "Object ID %d not found!") when the ID is
// unknown or its type has no such edit.
template <class Fn> Fn Edit(int id, Fn Edits::*which, int& index) {
    int type;
    const Edits* edits = FindID(id, type, index) ? EditsOf(type) : nullptr;
    Fn fn = edits ? edits->*which : nullptr;
    if (!fn)
        ObjectNotFound(id);
    return fn;
}

} // namespace

void MoveIdBy(int id, double dx, double dy) {
    int index;
    if (auto move = Edit(id, &Edits::move, index)) {
        move(index, dx, dy);
        RecalcZ();
    }
}

void TurnId(int id, double cx, double cy, double angle_deg) {
    int index;
    if (auto turn = Edit(id, &Edits::turn, index))
        turn(index, cx, cy, angle_deg);
}

void ScaleIdBy(int id, double cx, double cy, double f) {
    int index;
    auto scale = Edit(id, &Edits::scale, index);
    if (!scale)
        return;
    int type;
    FindID(id, type, index);
    std::vector<std::string> object = ObjectLines(id);
    std::vector<std::string> params = MParamLines();
    bool tools = HasPreselectedTools(type, index);
    long pushes = UndoPushCount();
    scale(index, cx, cy, f);
    RecalcZ();
    std::vector<std::string> lost = Lost(params, MParamLines());
    if (UndoPushCount() == pushes || (!tools && lost.empty()))
        return;
    // Scaling dropped preselected tools or milling parameters: undo scales back, then the
    // restoring unit brings back the milling parameters and the object as it was (its line
    // completes the unit, so only it pushes a reversal of its own).
    std::string scale_back;
    PopUndoCom(scale_back);
    PushUndoCom("}");
    std::vector<std::string> unit = lost;
    unit.insert(unit.end(), object.begin(), object.end());
    PushUndoUnit(unit);
    PushUndoCom(scale_back);
    PushUndoCom("{");
}

void MirrorXId(int id, double a) {
    int index;
    if (auto mirror = Edit(id, &Edits::mirror_x, index))
        mirror(index, a);
}

void MirrorYId(int id, double b) {
    int index;
    if (auto mirror = Edit(id, &Edits::mirror_y, index))
        mirror(index, b);
}

int DeleteId(int id) {
    if (id == -1)
        return 1;
    int type, index;
    if (!FindID(id, type, index)) {
        ObjectNotFound(id);
        return 0;
    }
    if (CountAttachedObjects(id) > 0) {
        ShowMessage("One or more objects have been attached on this object",
                    Sprintf("Can't delete object ID=%d", id), kMbOk | kMbIconExclamation);
        return 0;
    }
    // Undo recreates the object and its milling parameters in one unit: the parameter lines
    // first, the object's own line (which pushes the reversal) last.
    std::vector<std::string> unit;
    {
        ExactFloats exact;
        MParam p;
        for (int ok = GetFirstMParam(p); ok; ok = GetNextMParam(p))
            if (p.owner == id)
                unit.push_back(Sprintf("$%d %d %d %0.5f %0.5f %0.5f %0.5f", p.kind + kMparamX - 1,
                                       p.owner, p.speed, p.v[0], p.v[1], p.v[2], p.v[3]));
    }
    std::vector<std::string> object = ObjectLines(id);
    unit.insert(unit.end(), object.begin(), object.end());
    PushUndoUnit(unit);
    DeleteOwnerMParams(id);
    switch (type) {
    case kTypeBlock:
        InitBlock();
        break;
    case kTypeBulge:
        InitBulge(index);
        break;
    case kTypePocket:
        InitPocket(index);
        break;
    case kTypeDrill:
        RemoveDrill(index);
        break;
    case kTypeThread:
        InitThread(index);
        break;
    case kTypeBore:
        InitBore(index);
        break;
    case kTypeLongHole:
        InitLongHole(index);
        break;
    case kTypeFixture:
        InitFixture(index);
        break;
    case kTypeEngText:
    case kTypeInfoText:
        InitText(index);
        break;
    case kTypeSpot:
        RemoveSpot(index);
        break;
    default:
        break;
    }
    UnregisterID(id);
    RecalcZ();
    MarkEdited();
    return 1;
}

int SelectId(int id, int mode) {
    int type, index;
    if (!FindID(id, type, index)) {
        ObjectNotFound(id);
        return 0;
    }
    switch (type) {
    case kTypeBlock: {
        int mark = Block_selected();
        int changed = AddMarks(mark, mode);
        SetBlockSelected(mark);
        return changed;
    }
    case kTypeBulge:
        return SelectBulge(index, mode);
    case kTypePocket:
        return SelectPocket(index, mode);
    case kTypeBore:
        return SelectBore(index, mode);
    case kTypeDrill:
        return mode & 1 ? SelectDrill(index, 1) : 0;
    case kTypeThread:
        return mode & 1 ? SelectThread(index, 1) : 0;
    case kTypeLongHole:
        return mode & 1 ? SelectLongHole(index, 1) : 0;
    case kTypeEngText:
    case kTypeInfoText:
        return mode & 1 ? SelectText(index, 1) : 0;
    case kTypeFixture:
        return mode & 1 ? SelectFixture(index, 1) : 0;
    case kTypeSpot:
        ShowMessage(Sprintf("SPOT found! Id = %d index = %d", id, index), "Error: Spot found!",
                    kMbOk | kMbIconError);
        return 0;
    default:
        ObjectNotFound(id);
        return 0;
    }
}

int UnSelectId(int id, int mode) {
    int type, index;
    if (!FindID(id, type, index)) {
        ObjectNotFound(id);
        return 0;
    }
    switch (type) {
    case kTypeBlock: {
        int mark = Block_selected();
        int changed = RemoveMarks(mark, mode);
        SetBlockSelected(mark);
        return changed;
    }
    case kTypeBulge:
        return UnSelectBulge(index, mode);
    case kTypePocket:
        return UnSelectPocket(index, mode);
    case kTypeBore:
        return UnSelectBore(index, mode);
    case kTypeDrill:
        return UnSelectDrill(index, mode);
    case kTypeThread:
        return UnSelectThread(index, mode);
    case kTypeLongHole:
        return UnSelectLongHole(index, mode);
    case kTypeEngText:
    case kTypeInfoText:
        return UnSelectText(index, mode);
    case kTypeFixture:
        return UnSelectFixture(index, mode);
    default:
        return 0;
    }
}

void SelectAll() {
    for (int id : AllIds()) {
        int type, index;
        FindID(id, type, index);
        if (type != kTypeSpot)
            SelectId(id, 1);
    }
}

void UnselectAll() {
    for (int id : AllIds())
        UnSelectId(id, 3);
}

void RevSelAll() {
    for (int id : AllIds()) {
        int type, index;
        FindID(id, type, index);
        if (type == kTypeSpot)
            continue;
        if (MarkOf(type, index) & 1)
            UnSelectId(id, 1);
        else
            SelectId(id, 1);
    }
}

int MoveCom(const char* file, int line) {
    if (ArgCount() != 4)
        return SyntaxError(file, line);
    double dx = ArgF(2) * UnitFactor(), dy = ArgF(3) * UnitFactor();
    int id = 0;
    switch (ParseTarget(Arg(1), true, true, id)) {
    case Target::kAll:
        AsGroup(AllIds(), [&](int each) { MoveIdBy(each, dx, dy); });
        break;
    case Target::kSelected:
        AsGroup(SelectedIds(), [&](int each) { MoveIdBy(each, dx, dy); });
        break;
    case Target::kOne:
        MoveIdBy(id, dx, dy);
        break;
    }
    MarkEdited();
    return 1;
}

namespace {
// Runs op on the target in argument 1: an ID, or SELECTED (every selected object, one group).
template <class Op> void OnTarget(Op op) {
    int id = 0;
    if (ParseTarget(Arg(1), false, false, id) == Target::kSelected)
        AsGroup(SelectedIds(), op);
    else
        op(id);
}
} // namespace

int TurnCom(const char* file, int line) {
    if (ArgCount() != 5)
        return SyntaxError(file, line);
    double cx = ArgF(2) * UnitFactor(), cy = ArgF(3) * UnitFactor(), angle = ArgF(4);
    OnTarget([&](int each) { TurnId(each, cx, cy, angle); });
    RecalcZ();
    MarkEdited();
    return 1;
}

int ScaleCom(const char* file, int line) {
    if (ArgCount() != 5)
        return SyntaxError(file, line);
    double cx = ArgF(2) * UnitFactor(), cy = ArgF(3) * UnitFactor(), f = ArgF(4);
    OnTarget([&](int each) { ScaleIdBy(each, cx, cy, f); });
    MarkEdited();
    return 1;
}

namespace {
int MirrorCom(bool in_x, const char* file, int line) {
    if (ArgCount() != 3)
        return SyntaxError(file, line);
    double axis = ArgF(2) * UnitFactor();
    OnTarget([&](int each) { in_x ? MirrorXId(each, axis) : MirrorYId(each, axis); });
    RecalcZ();
    MarkEdited();
    return 1;
}

int SelectOrUnselect(bool select, const char* file, int line) {
    int count = ArgCount();
    if (count != 2 && count != 3)
        return SyntaxError(file, line);
    int mode = count == 3 ? ArgI(2) : 1;
    int id = 0;
    if (ParseTarget(Arg(1), true, true, id) == Target::kAll) {
        for (int each : AllIds())
            select ? SelectId(each, mode) : UnSelectId(each, mode);
        return 1;
    }
    if (select)
        return SelectId(id, mode);
    UnSelectId(id, mode);
    return 1;
}
} // namespace

int MirrorXCom(const char* file, int line) { return MirrorCom(true, file, line); }
int MirrorYCom(const char* file, int line) { return MirrorCom(false, file, line); }

int DeleteCom(const char* file, int line) {
    if (ArgCount() != 2)
        return SyntaxError(file, line);
    int id = 0;
    if (ParseTarget(Arg(1), false, false, id) != Target::kSelected) {
        DeleteId(id);
        return 1;
    }
    // Children go before their parents: delete what carries nothing, again and again; what
    // still carries an unselected object is then refused with its message.
    std::vector<int> pending = SelectedIds();
    ClearRedoList();
    PushUndoCom("}");
    for (bool progress = true; progress;) {
        progress = false;
        for (auto it = pending.begin(); it != pending.end();) {
            if (CountAttachedObjects(*it) == 0) {
                DeleteId(*it);
                it = pending.erase(it);
                progress = true;
            } else {
                ++it;
            }
        }
    }
    for (int rest : pending)
        DeleteId(rest);
    PushUndoCom("{");
    return 1;
}

int SelectCom(const char* file, int line) { return SelectOrUnselect(true, file, line); }
int UnSelectCom(const char* file, int line) { return SelectOrUnselect(false, file, line); }

int ReverseSelectionCom(const char* file, int line) {
    if (ArgCount() != 2 || !std::string_view("SELECTION").starts_with(Upper(Arg(1))))
        return SyntaxError(file, line);
    RevSelAll();
    return 1;
}

int UndoCom(const char* file, int line) {
    if (ArgCount() != 1)
        return SyntaxError(file, line);
    UnDo();
    return 1;
}

int RedoCom(const char* file, int line) {
    if (ArgCount() != 1)
        return SyntaxError(file, line);
    ReDo();
    return 1;
}

} // namespace korvel
