// The object registry: every object of a project has an ID 1..8191 that maps to its type, its
// index in the table of that type, its origin ID and its compile state. The parent of an object
// is kept in the object's own record and reached through the type's table.
#pragma once

namespace korvel {

constexpr int kMaxObjectId = 8191; // IDs are 1..8191; 0 and negative IDs mean none

// Object type codes; each equals the keyword code of the command that defines the object.
enum ObjectType : int {
    kTypeBlock = 3,
    kTypeBulge = 16,
    kTypeDrill = 22,
    kTypeThread = 23,
    kTypeBore = 24,
    kTypeLongHole = 26,
    kTypePocket = 27,
    kTypeFixture = 38,
    kTypeEngText = 53,
    kTypeInfoText = 54,
    kTypeEngElement = 59,
    kTypeInfoElement = 60,
    kTypeSpot = 999, // centre-drilling spot made by the compiler, never saved
};

// Compile states.
enum CompileState : int { kNotReady = 0, kProcessed = 1, kReady = 2 };

// Frees every entry (compile states are left as they are). Returns 1.
int InitID();
// Registers an object under the lowest free ID with itself as origin; -1 when all are taken.
int NewID(int type, int index);
// As NewID, with the ID of the user object on whose behalf this one exists.
int ExtNewID(int type, int index, int cid);
// Registers an object under a given ID (overwriting what is there) with itself as origin;
// returns the ID, or -1 (nothing changed) outside 1..8191.
int RegisterID(int id, int type, int index);
int ExtRegisterID(int id, int cid, int type, int index);
// 1 after freeing an entry in use; 0 for an ID outside 0..8191 or free.
int UnregisterID(int id);

// 1 with the type and index of a registered ID; 0 (outputs untouched) otherwise.
int FindID(int id, int& type, int& index);
// The ID (origin ID) of the object with that type and index; -1 when none.
int GetID(int type, int index);
int GetCID(int type, int index);
// The parent ID of a registered object; -1 when unregistered or its type has no parent.
int GetPID(int id);

// Iteration in ascending ID order. Each First restarts; each call returns 1 and the next entry,
// or 0 and outputs -1 at the end. Each kind has one cursor: do not nest the same kind.
int GetFirstObject(int& type, int& index);
int GetNextObject(int& type, int& index);
int GetFirstObjectOfType(int type, int& index);
int GetNextObjectOfType(int type, int& index);
int GetFirstRegisteredObject(int& id);
int GetNextRegisteredObject(int& id);
// One past the highest ID registered since InitID: no ID from it on is in use, so that a walk
// over every ID can stop there.
int RegisteredIdEnd();

// The registered ID after `after` in ascending order; -1 when none. The loops below read the
// registry afresh at each step and share no cursor, so they nest; an object registered or freed
// during a loop is met or skipped as its ID comes up.
int NextRegisteredId(int after);

class RegisteredIdRange {
public:
    class iterator {
    public:
        explicit iterator(int id) : id_(id) {}
        int operator*() const { return id_; }
        iterator& operator++() {
            id_ = NextRegisteredId(id_);
            return *this;
        }
        bool operator!=(const iterator& other) const { return id_ != other.id_; }

    private:
        int id_;
    };
    iterator begin() const { return iterator(NextRegisteredId(0)); }
    iterator end() const { return iterator(-1); }
};

// for (int id : RegisteredObjects()) ... : every registered ID, ascending.
inline RegisteredIdRange RegisteredObjects() { return {}; }

// 1 when b is a proper ancestor of a.
int IsDescendant(int a, int b);
int IsAncestor(int a, int b);
// The level of the bulge the object stands on (a bulge's own level); -1 on the block.
int ObjLevel(int id);
// The first block, bulge, bore or pocket marked as parent for new objects; -1 when none.
int ParentCandidate();
// How many objects have `id` as parent (compiler-made drills not counted).
int CountAttachedObjects(int id);
int CountAttachedNonBulgeObjects(int id);

void DeclareAllObjectsNotReady();
int DeclareObjectProcessed(int id);
int DeclareObjectReady(int id);
void DeclareProcessedObjectsReady();
int ObjectIsReady(int id);

} // namespace korvel
