// The object registry: IDs, look-up, iteration, hierarchy and compile states.
#include <gtest/gtest.h>

#include "model/mparam.h"
#include "model/registry.h"
#include "support.h"

namespace korvel {
namespace {

using RegistryTest = test::KorvelTest;

TEST_F(RegistryTest, NewIdTakesTheLowestFreeId) {
    EXPECT_EQ(NewID(kTypeDrill, 0), 1);
    EXPECT_EQ(NewID(kTypeDrill, 1), 2);
    EXPECT_EQ(NewID(kTypeDrill, 2), 3);
    EXPECT_EQ(UnregisterID(2), 1);
    EXPECT_EQ(UnregisterID(2), 0);
    EXPECT_EQ(NewID(kTypeThread, 0), 2);
    int type = 0, index = 0;
    ASSERT_EQ(FindID(2, type, index), 1);
    EXPECT_EQ(type, kTypeThread);
    EXPECT_EQ(index, 0);
}

TEST_F(RegistryTest, AllIdsInUse) {
    for (int i = 1; i <= kMaxObjectId; ++i)
        ASSERT_EQ(NewID(kTypeDrill, i), i);
    EXPECT_EQ(NewID(kTypeDrill, 0), -1);
    EXPECT_EQ(ExtNewID(kTypeDrill, 0, 5), -1);
    // A freed ID is found again, the lowest first, however full the registry was.
    EXPECT_EQ(UnregisterID(4000), 1);
    EXPECT_EQ(UnregisterID(17), 1);
    EXPECT_EQ(NewID(kTypeThread, 0), 17);
    EXPECT_EQ(NewID(kTypeThread, 1), 4000);
    EXPECT_EQ(NewID(kTypeThread, 2), -1);
    InitID();
    EXPECT_EQ(NewID(kTypeDrill, 0), 1);
}

TEST_F(RegistryTest, RegisterOutsideTheRangeChangesNothing) {
    EXPECT_EQ(RegisterID(0, kTypeDrill, 0), -1);
    EXPECT_EQ(RegisterID(8192, kTypeDrill, 0), -1);
    EXPECT_EQ(RegisterID(-3, kTypeDrill, 0), -1);
    int type = -7, index = -7;
    EXPECT_EQ(FindID(0, type, index), 0);
    EXPECT_EQ(FindID(8192, type, index), 0);
    EXPECT_EQ(type, -7);
    EXPECT_EQ(UnregisterID(8192), 0);
    EXPECT_EQ(UnregisterID(-1), 0);
    int id = 0;
    EXPECT_EQ(GetFirstRegisteredObject(id), 0);
    EXPECT_EQ(id, -1);
}

TEST_F(RegistryTest, OriginIds) {
    EXPECT_EQ(RegisterID(40, kTypeThread, 3), 40);
    EXPECT_EQ(ExtNewID(kTypeDrill, 7, 40), 1);
    EXPECT_EQ(GetCID(kTypeDrill, 7), 40);
    EXPECT_EQ(GetID(kTypeDrill, 7), 1);
    EXPECT_EQ(GetCID(kTypeThread, 3), 40);
    EXPECT_EQ(GetID(kTypeBore, 0), -1);
    EXPECT_EQ(GetCID(kTypeBore, 0), -1);
    EXPECT_EQ(ExtRegisterID(12, 40, kTypeSpot, 0), 12);
    EXPECT_EQ(GetCID(kTypeSpot, 0), 40);
}

TEST_F(RegistryTest, IterationIsInAscendingIdOrder) {
    RegisterID(30, kTypeDrill, 0);
    RegisterID(5, kTypeThread, 0);
    RegisterID(17, kTypeDrill, 1);
    RegisterID(8191, kTypeFixture, 0);

    std::vector<int> types;
    int type, index;
    for (int ok = GetFirstObject(type, index); ok; ok = GetNextObject(type, index))
        types.push_back(type);
    EXPECT_EQ(types, (std::vector<int>{kTypeThread, kTypeDrill, kTypeDrill, kTypeFixture}));
    EXPECT_EQ(type, -1);

    std::vector<int> drills;
    for (int ok = GetFirstObjectOfType(kTypeDrill, index); ok;
         ok = GetNextObjectOfType(kTypeDrill, index))
        drills.push_back(index);
    EXPECT_EQ(drills, (std::vector<int>{1, 0}));

    std::vector<int> ids;
    int id;
    for (int ok = GetFirstRegisteredObject(id); ok; ok = GetNextRegisteredObject(id))
        ids.push_back(id);
    EXPECT_EQ(ids, (std::vector<int>{5, 17, 30, 8191}));
}

TEST_F(RegistryTest, ClearingForgetsEveryIdAndMillingParameter) {
    // The registry and the milling parameters clear and walk only as far as they were used;
    // what lay beyond that must still read as free after a clear.
    ASSERT_EQ(RegisterID(8000, kTypeDrill, 3), 8000);
    ASSERT_EQ(RegisterID(40, kTypeDrill, 4), 40);
    ASSERT_GE(RegisterMParam(8000, 1, 100, 1, 2, 3, 4), 0);
    EXPECT_EQ(RegisteredIdEnd(), 8001);
    InitID();
    int id = 0, type = 0, index = 0;
    EXPECT_EQ(GetFirstRegisteredObject(id), 0);
    EXPECT_EQ(FindID(8000, type, index), 0);
    EXPECT_EQ(MParamCount(), 0);
    EXPECT_EQ(RegisteredIdEnd(), 1);
    ASSERT_EQ(RegisterID(7, kTypeDrill, 0), 7);
    ASSERT_EQ(GetFirstRegisteredObject(id), 1);
    EXPECT_EQ(id, 7);
    EXPECT_EQ(GetNextRegisteredObject(id), 0);
    EXPECT_EQ(GetNextRegisteredObject(id), 0); // stays at the end
    EXPECT_EQ(NewID(kTypeDrill, 1), 1);
}

TEST_F(RegistryTest, HierarchyWithoutParents) {
    RegisterID(1, kTypeBlock, 0);
    RegisterID(2, kTypeInfoElement, 0);
    RegisterID(3, kTypeFixture, 0);
    EXPECT_EQ(IsDescendant(2, 2), 0);
    EXPECT_EQ(GetPID(2), -1);
    EXPECT_EQ(GetPID(3), -1);
    EXPECT_EQ(GetPID(99), -1);
    EXPECT_EQ(IsDescendant(2, 1), 0);
    EXPECT_EQ(ObjLevel(1), -1);
    EXPECT_EQ(ObjLevel(99), -1);
    EXPECT_EQ(ParentCandidate(), -1);
    EXPECT_EQ(CountAttachedObjects(1), 0);
    EXPECT_EQ(CountAttachedNonBulgeObjects(1), 0);
}

TEST_F(RegistryTest, CompileStatesInRounds) {
    RegisterID(1, kTypeBlock, 0);
    RegisterID(2, kTypeBore, 0);
    DeclareAllObjectsNotReady();
    EXPECT_EQ(ObjectIsReady(1), 0);
    EXPECT_EQ(DeclareObjectReady(1), 1);
    EXPECT_EQ(DeclareObjectProcessed(2), 1);
    EXPECT_EQ(ObjectIsReady(2), 0); // processed in this round, ready only after it
    DeclareProcessedObjectsReady();
    EXPECT_EQ(ObjectIsReady(1), 1);
    EXPECT_EQ(ObjectIsReady(2), 1);
    EXPECT_EQ(DeclareObjectReady(0), 0);
    EXPECT_EQ(DeclareObjectProcessed(3), 0);
    EXPECT_EQ(ObjectIsReady(8192), 0);
    DeclareAllObjectsNotReady();
    EXPECT_EQ(ObjectIsReady(2), 0);
}

} // namespace
} // namespace korvel
