// The fixture table and the FIXTURE command.
#include "model/fixture.h"

#include <array>
#include <cassert>

#include "base/errors.h"
#include "base/keyword_codes.h"
#include "base/text.h"
#include "base/undo_stack.h"
#include "base/units.h"
#include "geometry/primitives.h"
#include "model/bulge.h"
#include "model/object_edit.h"
#include "model/registry.h"
#include "model/selection.h"

namespace korvel {

namespace {

std::array<Fixture, kMaxFixtures> g_fixtures;

Fixture* Valid(int index) {
    return index >= 0 && index < kMaxFixtures && g_fixtures[index].valid ? &g_fixtures[index]
                                                                         : nullptr;
}

} // namespace

void InitFixture(int index) {
    if (index == kAllSlots)
        g_fixtures.fill(Fixture());
    else if (index >= 0 && index < kMaxFixtures)
        g_fixtures[index] = Fixture();
}

int GetFixture(Fixture& fixture, int index) {
    if (index < 0 || index >= kMaxFixtures)
        return 0;
    fixture = g_fixtures[index];
    return fixture.valid;
}

void PutFixture(const Fixture& fixture, int index) {
    assert(index >= 0 && index < kMaxFixtures && "PutFixture outside the table");
    if (index >= 0 && index < kMaxFixtures)
        g_fixtures[index] = fixture;
}

int NextFixture() {
    for (int i = 0; i < kMaxFixtures; ++i)
        if (!g_fixtures[i].valid)
            return i;
    return -1;
}

int GetFixtureId(int index) { return Valid(index) ? g_fixtures[index].id : -1; }
int Fixture_selected(int index) { return Valid(index) ? g_fixtures[index].selected : 0; }
double Fixture_wz(int index) { return Valid(index) ? g_fixtures[index].wz : 0; }

int SelectFixture(int index, int marks) {
    Fixture* f = Valid(index);
    return f ? AddMarks(f->selected, marks) : 0;
}

int UnSelectFixture(int index, int marks) {
    Fixture* f = Valid(index);
    return f ? RemoveMarks(f->selected, marks) : 0;
}

bool FixtureClicked(int index, double px, double py) {
    const Fixture* f = Valid(index);
    return f && px >= f->x && px <= f->x + f->lx && py >= f->y && py <= f->y + f->ly;
}

int StrFixtureData(std::string& line, int index) {
    line.clear();
    const Fixture* f = Valid(index);
    if (!f)
        return 0;
    line = Sprintf("$%d %d %0.3f %0.3f %0.3f %0.3f %0.3f", kFixture, f->id, f->lx, f->ly, f->wz,
                   f->x, f->y);
    return 1;
}

void MoveFixtureBy(int index, double dx, double dy) {
    Fixture* f = Valid(index);
    if (!f)
        return;
    f->x += dx;
    f->y += dy;
    PushMoveUndo(f->id, dx, dy);
}

void MirrorFixtureX(int index, double a) {
    Fixture* f = Valid(index);
    if (!f)
        return;
    f->x = 2 * a - (f->x + f->lx);
    PushMirrorXUndo(f->id, a);
}

void MirrorFixtureY(int index, double b) {
    Fixture* f = Valid(index);
    if (!f)
        return;
    f->y = 2 * b - (f->y + f->ly);
    PushMirrorYUndo(f->id, b);
}

void ScaleFixtureBy(int index, double cx, double cy, double s) {
    Fixture* f = Valid(index);
    if (!f || !(s > 0) || s == 1)
        return;
    ScalePoint(cx, cy, s, f->x, f->y);
    f->lx *= s;
    f->ly *= s;
    f->wz *= s;
    PushScaleUndo(f->id, cx, cy, s);
}

int CopyFixtureTo(int index, double dx, double dy) {
    const Fixture* f = Valid(index);
    int slot = NextFixture();
    if (!f || slot < 0)
        return -1;
    int id = NewID(kTypeFixture, slot);
    if (id < 0)
        return -1;
    Fixture copy = *f;
    copy.id = id;
    copy.x += dx;
    copy.y += dy;
    copy.selected = 0;
    g_fixtures[slot] = copy;
    PushDeleteUndo(id);
    return id;
}

int FixtureCom(const char* file, int line) {
    if (ArgCount() != 7)
        return SyntaxError(file, line);
    double u = UnitFactor();
    Fixture f;
    f.id = ArgI(1);
    f.lx = ArgF(2) * u;
    f.ly = ArgF(3) * u;
    f.wz = ArgF(4) * u;
    f.x = ArgF(5) * u;
    f.y = ArgF(6) * u;
    f.valid = 1;
    UpsertSlot where = FindUpsertSlot(f.id, kTypeFixture, "Fixtures", NextFixture, file, line);
    if (where.slot < 0)
        return 0;
    if (where.existing) {
        ExactFloats exact;
        std::string previous;
        StrFixtureData(previous, where.slot);
        PushUndoCom(previous);
    } else {
        RegisterNewObject(f.id, kTypeFixture, where.slot);
    }
    g_fixtures[where.slot] = f;
    return 1;
}

} // namespace korvel
