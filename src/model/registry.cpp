// The registry table, its iteration cursors and the hierarchy walks over parent links.
#include "model/registry.h"

#include <algorithm>
#include <array>

#include "model/bulge.h"
#include "model/drill.h"
#include "model/mparam.h"
#include "model/object_kind.h"

namespace korvel {

namespace {

struct RegistryEntry {
    int id = -1; // its own position when in use, -1 when free
    int cid = -1;
    int type = -1;
    int index = -1;
    int state = kNotReady;
};

std::array<RegistryEntry, kMaxObjectId + 1> g_registry; // entry 0 is never used

int g_object_cursor = 0;
int g_type_cursor = 0;
int g_id_cursor = 0;
int g_id_end = 1; // no ID from it on has been registered since InitID: walks stop there

bool InUse(int id) { return id >= 1 && id <= kMaxObjectId && g_registry[id].id == id; }

// A parent walk longer than the registry means parent links form a loop (a damaged file);
// every walk stops there.
constexpr int kMaxWalk = kMaxObjectId;

// The parent of an object of a given type and index; -1 for types that have no parent.
int ParentOf(int type, int index) {
    const ObjectKind* kind = KindOf(type);
    return kind && kind->parent ? kind->parent(index) : -1;
}

// The selection mark of a possible parent (block, bulge, bore, pocket); 0 for other types.
int SelectionMarkOf(int type, int index) {
    const ObjectKind* kind = KindOf(type);
    return kind && kind->parent_marks && kind->mark ? kind->mark(index) : 0;
}

// Whether an object counts as attached to its parent for CountAttachedObjects.
bool CountsAsAttached(int type, int index, bool with_bulges) {
    const ObjectKind* kind = KindOf(type);
    switch (kind ? kind->attach : Attach::kNo) {
    case Attach::kYes:
        return true;
    case Attach::kUnlessSystem:
        return !Drill_system(index);
    case Attach::kBulge:
        return with_bulges;
    case Attach::kNo:
        break;
    }
    return false;
}

int Register(int id, int cid, int type, int index) {
    g_id_end = std::max(g_id_end, id + 1);
    g_registry[id].id = id;
    g_registry[id].cid = cid;
    g_registry[id].type = type;
    g_registry[id].index = index;
    return id;
}

// Every ID below this one is in use: IDs are freed only by UnregisterID and InitID, which
// lower it. Keeps a run of new objects (an import) from walking the whole registry each time.
int g_used_below = 1;

int LowestFreeId() {
    for (int id = g_used_below; id <= kMaxObjectId; ++id)
        if (g_registry[id].id != id) {
            g_used_below = id;
            return id;
        }
    g_used_below = kMaxObjectId + 1;
    return -1;
}

int NextObject(int& cursor, int& type, int& index) {
    while (++cursor < g_id_end) {
        if (InUse(cursor)) {
            type = g_registry[cursor].type;
            index = g_registry[cursor].index;
            return 1;
        }
    }
    cursor = kMaxObjectId; // at the end, as a walk over every ID would be
    type = index = -1;
    return 0;
}

int NextOfType(int type, int& index) {
    while (++g_type_cursor < g_id_end) {
        if (InUse(g_type_cursor) && g_registry[g_type_cursor].type == type) {
            index = g_registry[g_type_cursor].index;
            return 1;
        }
    }
    g_type_cursor = kMaxObjectId;
    index = -1;
    return 0;
}

int CountAttached(int id, bool with_bulges) {
    if (id < 1)
        return 0;
    int count = 0;
    for (int other = 1; other < g_id_end; ++other) {
        if (!InUse(other) || other == id)
            continue;
        const RegistryEntry& e = g_registry[other];
        if (CountsAsAttached(e.type, e.index, with_bulges) && ParentOf(e.type, e.index) == id)
            ++count;
    }
    return count;
}

} // namespace

int InitID() {
    for (int id = 0; id < g_id_end; ++id) {
        RegistryEntry& e = g_registry[id];
        e.id = e.cid = e.type = e.index = -1;
    }
    g_id_end = 1;
    g_used_below = 1;
    g_object_cursor = g_type_cursor = g_id_cursor = 0;
    InitMParams();
    return 1;
}

int NewID(int type, int index) {
    int id = LowestFreeId();
    return id < 0 ? -1 : Register(id, id, type, index);
}

int ExtNewID(int type, int index, int cid) {
    int id = LowestFreeId();
    return id < 0 ? -1 : Register(id, cid, type, index);
}

int RegisterID(int id, int type, int index) { return ExtRegisterID(id, id, type, index); }

int ExtRegisterID(int id, int cid, int type, int index) {
    if (id < 1 || id > kMaxObjectId)
        return -1;
    return Register(id, cid, type, index);
}

int UnregisterID(int id) {
    if (id < 0 || id > kMaxObjectId || g_registry[id].id != id)
        return 0;
    RegistryEntry& e = g_registry[id];
    e.id = e.cid = e.type = e.index = -1;
    g_used_below = std::min(g_used_below, id);
    return 1;
}

int FindID(int id, int& type, int& index) {
    if (!InUse(id))
        return 0;
    type = g_registry[id].type;
    index = g_registry[id].index;
    return 1;
}

int GetID(int type, int index) {
    for (int id = 1; id <= kMaxObjectId; ++id)
        if (InUse(id) && g_registry[id].type == type && g_registry[id].index == index)
            return id;
    return -1;
}

int GetCID(int type, int index) {
    int id = GetID(type, index);
    return id < 0 ? -1 : g_registry[id].cid;
}

int GetPID(int id) {
    int type, index;
    if (!FindID(id, type, index))
        return -1;
    return ParentOf(type, index);
}

int GetFirstObject(int& type, int& index) {
    g_object_cursor = 0;
    return NextObject(g_object_cursor, type, index);
}

int GetNextObject(int& type, int& index) { return NextObject(g_object_cursor, type, index); }

int GetFirstObjectOfType(int type, int& index) {
    g_type_cursor = 0;
    return NextOfType(type, index);
}

int GetNextObjectOfType(int type, int& index) { return NextOfType(type, index); }

int RegisteredIdEnd() { return g_id_end; }

int GetFirstRegisteredObject(int& id) {
    g_id_cursor = 0;
    return GetNextRegisteredObject(id);
}

int NextRegisteredId(int after) {
    for (int id = after < 0 ? 1 : after + 1; id < g_id_end; ++id)
        if (InUse(id))
            return id;
    return -1;
}

int GetNextRegisteredObject(int& id) {
    while (++g_id_cursor < g_id_end) {
        if (InUse(g_id_cursor)) {
            id = g_id_cursor;
            return 1;
        }
    }
    g_id_cursor = kMaxObjectId;
    id = -1;
    return 0;
}

int IsDescendant(int a, int b) {
    if (a == b)
        return 0;
    int id = GetPID(a);
    for (int step = 0; id >= 1 && step < kMaxWalk; ++step) {
        if (id == b)
            return 1;
        id = GetPID(id);
    }
    return 0;
}

int IsAncestor(int a, int b) { return IsDescendant(b, a); }

int ObjLevel(int id) {
    for (int step = 0; step < kMaxWalk; ++step) {
        int type, index;
        if (!FindID(id, type, index) || type == kTypeBlock)
            return -1;
        if (type == kTypeBulge)
            return BulgeLevel(index);
        id = ParentOf(type, index);
    }
    return -1;
}

int ParentCandidate() {
    for (int id = 1; id <= kMaxObjectId; ++id) {
        if (!InUse(id))
            continue;
        const RegistryEntry& e = g_registry[id];
        if (SelectionMarkOf(e.type, e.index) & 2)
            return id;
    }
    return -1;
}

int CountAttachedObjects(int id) { return CountAttached(id, true); }
int CountAttachedNonBulgeObjects(int id) { return CountAttached(id, false); }

void DeclareAllObjectsNotReady() {
    for (int id = 1; id <= kMaxObjectId; ++id)
        if (InUse(id))
            g_registry[id].state = kNotReady;
}

int DeclareObjectProcessed(int id) {
    if (!InUse(id))
        return 0;
    g_registry[id].state = kProcessed;
    return 1;
}

int DeclareObjectReady(int id) {
    if (!InUse(id))
        return 0;
    g_registry[id].state = kReady;
    return 1;
}

void DeclareProcessedObjectsReady() {
    for (int id = 1; id <= kMaxObjectId; ++id)
        if (InUse(id) && g_registry[id].state == kProcessed)
            g_registry[id].state = kReady;
}

int ObjectIsReady(int id) { return InUse(id) && g_registry[id].state == kReady ? 1 : 0; }

} // namespace korvel
