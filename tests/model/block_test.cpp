// The block, coordinate systems and machine set-up through their script commands.
#include <gtest/gtest.h>

#include "base/undo_stack.h"
#include "base/units.h"
#include "model/block.h"
#include "model/machine.h"
#include "model/registry.h"
#include "script/interpreter.h"
#include "support.h"

namespace korvel {
namespace {

using BlockTest = test::KorvelTest;
using V = std::vector<std::string>;
const std::string kOutOfRange = "[Errors found] Value(s) out of range";
const std::string kSyntax = "[Errors found] Syntax error";

TEST_F(BlockTest, TenValueBlockDefinesTheBlock) {
    EXPECT_EQ(Block_valid(), 0);
    std::string material;
    EXPECT_EQ(Block_material(material), 0);
    EXPECT_EQ(material, "");
    EXPECT_EQ(Type("BLOCK 1 100 50 20 0 0 -20 3 4 -1"), 1);
    BlockRecord b = GetBlock();
    EXPECT_EQ(b.valid, 1);
    EXPECT_EQ(GetBlockId(), 1);
    EXPECT_DOUBLE_EQ(b.z + b.height, 0.0);
    EXPECT_EQ(b.rough_tool, 3);
    EXPECT_EQ(b.fine_tool, 4);
    EXPECT_EQ(b.material, "ST37-2");
    int type, index;
    ASSERT_EQ(FindID(1, type, index), 1);
    EXPECT_EQ(type, kTypeBlock);
    std::string undo;
    PeepUndoCom(undo);
    EXPECT_EQ(undo, "DELETE 1");
}

TEST_F(BlockTest, ThirteenValueBlockAndItsDataLineReadBack) {
    ASSERT_EQ(Type("$3 7 120.5 80 25 -10 -5 -25 2 5 4 1.5 129 stainless_1.4301"), 1);
    EXPECT_EQ(GetBlock().material, "STAINLESS 1.4301");
    std::string line;
    ASSERT_EQ(StrBlockData(line), 1);
    EXPECT_EQ(line, "$3 7 120.50000 80.00000 25.00000 -10.00000 -5.00000 -25.00000 2 5 4 "
                    "1.50000 129 STAINLESS_1.4301");
    std::string again = line;
    ASSERT_EQ(Type(again), 1);
    std::string second;
    StrBlockData(second);
    EXPECT_EQ(second, line);
    // Redefining the block pushed its previous data line, with every digit.
    std::string undo;
    PopUndoCom(undo);
    EXPECT_EQ(undo, "$3 7 120.5 80 25 -10 -5 -25 2 5 4 1.5 129 STAINLESS_1.4301");
}

TEST_F(BlockTest, ProjectLinesOfTheBlock) {
    Type("BLOCK 1 100 50 20 0 0 -20 0 0 -1");
    Type("MATERIAL alu_6082");
    Type("TOPFACE 0.5 1");
    std::string lines;
    ASSERT_EQ(WriteBlockData(lines), 1);
    EXPECT_EQ(lines, "$3 1 100.00000 50.00000 20.00000 0.00000 0.00000 -20.00000 0 0 -1\n"
                     "$4 ALU_6082\n$28 0.50000 1\n");
}

TEST_F(BlockTest, BadBlockLinesKeepThePreviousBlock) {
    ASSERT_EQ(Type("BLOCK 1 100 50 20 0 0 -20 0 0 -1"), 1);
    EXPECT_EQ(Type("BLOCK 1 100 50 0 0 0 -20 0 0 -1"), 0);
    EXPECT_EQ(Type("BLOCK 1 100 -5 20 0 0 -20 0 0 -1"), 0);
    EXPECT_EQ(Type("BLOCK 1 100 50 20 0 0 -20 0 0"), 0);
    EXPECT_EQ(Type("BLOCK 1 100 50 20 0 0 -20 0 0 -1 0 0"), 0);
    EXPECT_EQ(Type("BLOCK 9000 100 50 20 0 0 -20 0 0 -1"), 0);
    EXPECT_EQ(Messages(), (V{kOutOfRange, kOutOfRange, kSyntax, kSyntax, kOutOfRange}));
    EXPECT_DOUBLE_EQ(GetBlock().height, 20);
    EXPECT_DOUBLE_EQ(GetBlock().width, 50);
}

TEST_F(BlockTest, AnEmptyMaterialIsRefusedSinceTheProjectFileCannotHoldIt) {
    ASSERT_EQ(Type("BLOCK 1 100 50 20 0 0 -20 0 0 -1"), 1);
    ASSERT_EQ(Type("MATERIAL alu_6082"), 1);
    EXPECT_EQ(Type("MATERIAL \"\""), 0);
    EXPECT_EQ(Type("$3 2 100 50 20 0 0 -20 0 0 -1 1.5 1 \"\""), 0);
    EXPECT_EQ(Messages(), (V{kOutOfRange, kOutOfRange}));
    EXPECT_EQ(GetBlockId(), 1);
    EXPECT_EQ(GetBlock().material, "ALU 6082");
    std::string lines;
    ASSERT_EQ(WriteBlockData(lines), 1);
    EXPECT_NE(lines.find("$4 ALU_6082\n"), std::string::npos);
}

TEST_F(BlockTest, BlockIdOfAnotherTypeIsRefused) {
    RegisterID(5, kTypeDrill, 0);
    EXPECT_EQ(Type("BLOCK 5 100 50 20 0 0 -20 0 0 -1"), 0);
    EXPECT_EQ(Messages(), V{"[Errors found] Wrong object type"});
    EXPECT_EQ(Block_valid(), 0);
    // A new block ID moves the block.
    Type("BLOCK 1 100 50 20 0 0 -20 0 0 -1");
    Type("BLOCK 2 100 50 20 0 0 -20 0 0 -1");
    int type, index;
    EXPECT_EQ(FindID(1, type, index), 0);
    EXPECT_EQ(GetBlockId(), 2);
}

TEST_F(BlockTest, InchLinesAreConverted) {
    Type("PROJECTUNIT INCH");
    Type("BLOCK 1 4 2 1 0 0 -1 0 0 -1");
    Type("TOPFACE 0.1");
    EXPECT_DOUBLE_EQ(GetBlock().length, 101.6);
    EXPECT_DOUBLE_EQ(GetBlock().z, -25.4);
    EXPECT_DOUBLE_EQ(GetBlock().mill_down, 2.54);
}

TEST_F(BlockTest, MoveAndScalePushTheirReversal) {
    Type("BLOCK 4 100 50 20 10 10 -20 0 0 -1");
    MoveBlockBy(5, -2.5);
    EXPECT_DOUBLE_EQ(GetBlock().x, 15);
    std::string undo;
    PopUndoCom(undo);
    EXPECT_EQ(undo, "MOVE 4 -5 2.5");

    int depth = UndoDepth();
    ScaleBlockBy(0, 0, 1);
    ScaleBlockBy(0, 0, 0);
    ScaleBlockBy(0, 0, -2);
    EXPECT_EQ(UndoDepth(), depth);

    ScaleBlockBy(0, 0, 3);
    BlockRecord b = GetBlock();
    EXPECT_DOUBLE_EQ(b.length, 300);
    EXPECT_DOUBLE_EQ(b.x, 45);
    EXPECT_DOUBLE_EQ(b.z, -60); // top stays at Z 0
    PopUndoCom(undo);
    EXPECT_EQ(undo, "SCALE 4 0 0 0.33333333333333331");

    Type("BLOCK 4 100 50 20 0 0 -30 0 0 -1"); // top at -10: Z is not scaled
    ScaleBlockBy(0, 0, 2);
    EXPECT_DOUBLE_EQ(GetBlock().z, -30);
    EXPECT_DOUBLE_EQ(GetBlock().height, 40);
}

TEST_F(BlockTest, WorkOffsets) {
    struct Case {
        const char* word;
        int index;
    };
    for (Case c : {Case{"G55", 1},
                   {"g54", 0},
                   {"56", 2},
                   {"3", 3},
                   {"G59", 5},
                   {"G59.1", 6},
                   {"G59.2", 7},
                   {"G59.3", 8},
                   {"62", 8}}) {
        ASSERT_EQ(Type(std::string("COORDINATES ") + c.word + " 1 2 3"), 1) << c.word;
        EXPECT_EQ(GetCoordinates().work_offset, c.index) << c.word;
    }
    EXPECT_EQ(Type("COORDINATES ANY 4 5 6"), 1);
    EXPECT_EQ(GetCoordinates().work_offset, 8);
    EXPECT_DOUBLE_EQ(GetCoordinates().wz_y, 5);
    for (const char* bad : {"G60", "9", "G59.4", "G53", "-1", "G"})
        EXPECT_EQ(Type(std::string("COORDINATES ") + bad + " 1 2 3"), 0) << bad;
    EXPECT_EQ(Messages(), V(6, kOutOfRange));
    EXPECT_EQ(GetCoordinates().work_offset, 8);
    EXPECT_EQ(WorkOffsetName(7), "G59.2");
    EXPECT_EQ(WorkOffsetName(1), "G55");
}

TEST_F(BlockTest, CoordinatesWithUnitWords) {
    EXPECT_EQ(Type("COORDINATES G54 1 2 3 INCH"), 1);
    EXPECT_DOUBLE_EQ(GetCoordinates().wz_z, 76.2);
    EXPECT_EQ(Type("COORDINATES G55 1 2 3 FEET"), 0);
    EXPECT_EQ(GetCoordinates().work_offset, 1); // stored before the unit word was checked
    EXPECT_EQ(Type("COORDINATES G55 1 2"), 0);
    EXPECT_EQ(Type("UCOORDS 1 2 3"), 1);
    EXPECT_DOUBLE_EQ(GetCoordinates().user_y, 2);
    EXPECT_EQ(Type("UCOORDS 1 2"), 0);
    EXPECT_EQ(Messages(), (V{kOutOfRange, kSyntax, kSyntax}));
}

TEST_F(BlockTest, MachineTableSlotsAndWorkspace) {
    EXPECT_EQ(Type("TABLE 800 400 -700 -400"), 1);
    EXPECT_FLOAT_EQ(GetMachine().table_length, 800);
    EXPECT_EQ(Type("TABLE 10 10 0 0 INCH"), 1);
    EXPECT_FLOAT_EQ(GetMachine().table_width, 254);
    EXPECT_EQ(Type("TABLE 0 10 0 0"), 0);
    EXPECT_EQ(Type("TABLE 10 10 0 0 YARD"), 0);
    EXPECT_EQ(Type("TABLE 10 10 0"), 0);

    Type("HTSLOTS 3 100 14");
    EXPECT_EQ(Type("VTSLOTS 5 100 14"), 1);
    EXPECT_EQ(GetMachine().vslots, 5);
    EXPECT_EQ(GetMachine().hslots, 0);
    EXPECT_EQ(Type("HTSLOTS 2 -1 14"), 0); // stored, then refused
    EXPECT_EQ(GetMachine().vslots, 0);

    EXPECT_EQ(Type("WORKSPACE -500 -400 -300"), 1);
    EXPECT_EQ(Type("WORKSPACE -500 0 -300"), 0);
    EXPECT_EQ(Messages(), (V{kOutOfRange, kOutOfRange, kSyntax, kOutOfRange, kOutOfRange}));
}

TEST_F(BlockTest, ToolChangeModes) {
    EXPECT_EQ(Type("TOOLCHANGE M"), 1);
    EXPECT_EQ(GetMachine().tc_manual, 1);
    EXPECT_EQ(GetMachine().tc_position, 0);
    EXPECT_EQ(Type("TOOLCHANGE a 100 -50"), 1);
    EXPECT_EQ(GetMachine().tc_manual, 0);
    EXPECT_EQ(GetMachine().tc_position, 1);
    EXPECT_DOUBLE_EQ(GetMachine().tc_y, -50);
    EXPECT_EQ(Type("TOOLCHANGE MAN"), 1);
    EXPECT_EQ(GetMachine().tc_position, 0);
    EXPECT_EQ(Type("TOOLCHANGE MANUALLY"), 0);
    EXPECT_EQ(Type("TOOLCHANGE"), 0);
    EXPECT_EQ(Type("TOOLCHANGE AUTO 100"), 0);
    EXPECT_EQ(Messages(), V(3, kSyntax));
    EXPECT_EQ(GetMachine().tc_manual, 1);
}

TEST_F(BlockTest, CorridorResetsBeforeItChecks) {
    EXPECT_EQ(Type("CORRIDOR 40"), 1);
    EXPECT_DOUBLE_EQ(GetMachine().corridor, 40);
    EXPECT_EQ(Type("CORRIDOR -1"), 0);
    EXPECT_DOUBLE_EQ(GetMachine().corridor, 25);
    EXPECT_EQ(Type("CORRIDOR 1 INCH"), 1);
    EXPECT_DOUBLE_EQ(GetMachine().corridor, 25.4);
    EXPECT_EQ(Type("CORRIDOR 1 2 3"), 0);
    EXPECT_DOUBLE_EQ(GetMachine().corridor, 25);
    EXPECT_EQ(Type("CORRIDOR nan"), 0);
    EXPECT_DOUBLE_EQ(GetMachine().corridor, 25);
    EXPECT_EQ(Messages(), (V{kOutOfRange, kSyntax, kOutOfRange}));
}

} // namespace
} // namespace korvel
