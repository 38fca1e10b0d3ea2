// Setting commands: counts, ranges, resets, unit words, and the configuration snapshot.
#include <gtest/gtest.h>

#include "base/units.h"
#include "model/machine.h"
#include "model/settings.h"
#include "support.h"

namespace korvel {
namespace {

using SettingsTest = test::KorvelTest;
using V = std::vector<std::string>;
const std::string kOutOfRange = "[Errors found] Value(s) out of range";
const std::string kSyntax = "[Errors found] Syntax error";
const Settings& S() { return GetSettings(); }

TEST_F(SettingsTest, OverlapsAreStoredAsStepOver) {
    EXPECT_EQ(Type("OVERLAP 100"), 0);
    EXPECT_EQ(Type("OVERLAP -1"), 0);
    EXPECT_DOUBLE_EQ(S().overlap, 0.95);
    EXPECT_EQ(Type("OVERLAP 0"), 1);
    EXPECT_DOUBLE_EQ(S().overlap, 1.0);
    EXPECT_EQ(Type("RFOVERLAP 99.5"), 1);
    EXPECT_NEAR(S().rf_overlap, 0.005, 1e-12);
    EXPECT_EQ(Type("FFOVERLAP 30"), 1);
    EXPECT_DOUBLE_EQ(S().ff_overlap, 0.7);
    EXPECT_EQ(Type("OVERLAP"), 0);
    EXPECT_EQ(Messages(), (V{kOutOfRange, kOutOfRange, kSyntax}));
}

TEST_F(SettingsTest, LengthsWithUnitWords) {
    EXPECT_EQ(Type("RPLANE 2 INCH"), 1);
    EXPECT_DOUBLE_EQ(S().rplane, 50.8);
    EXPECT_EQ(Type("PROJECTUNIT INCH"), 1);
    EXPECT_EQ(Type("QPLANE 1"), 1);
    EXPECT_DOUBLE_EQ(S().qplane, 25.4);
    EXPECT_EQ(Type("FFDZ 1 MM"), 1);
    EXPECT_DOUBLE_EQ(S().ffdz, 1.0);
    EXPECT_EQ(Type("ENDOFFILE"), 1);
    EXPECT_EQ(Type("RFDZ 0"), 0);
    EXPECT_EQ(Type("FFDXY 1 FEET"), 0);
    EXPECT_EQ(Type("DFTLEX -2"), 0);
    EXPECT_EQ(Type("RPLANE 1 MM MM"), 0);
    EXPECT_EQ(Messages(), (V{kOutOfRange, kOutOfRange, kOutOfRange, kSyntax}));
}

TEST_F(SettingsTest, NumbersInRanges) {
    EXPECT_EQ(Type("RFSOR 4"), 1);
    EXPECT_EQ(Type("RFFOR 4.5"), 0);
    EXPECT_EQ(Type("QUALITY 5"), 1);
    EXPECT_EQ(Type("QUALITY 6"), 0);
    EXPECT_EQ(Type("TOOLHOLDER 0"), 0);
    EXPECT_EQ(Type("TOOLHOLDER 100"), 0);
    EXPECT_EQ(Type("TOOLHOLDER 99"), 1);
    EXPECT_EQ(Type("DELAY 10000"), 0);
    EXPECT_EQ(Type("TMEFF 50"), 1);
    EXPECT_DOUBLE_EQ(S().tmeff, 0.5);
    EXPECT_EQ(Type("TMEFF 0"), 0);
    EXPECT_EQ(Type("MINBTXD 0"), 0);
    EXPECT_EQ(Type("NCHRARCSEG 0"), 0);
    EXPECT_EQ(Type("TEXTSIZE 5"), 1);
    EXPECT_EQ(Messages(), V(8, kOutOfRange));
    EXPECT_EQ(S().toolholder, 99);
    EXPECT_EQ(S().quality, 5);
}

TEST_F(SettingsTest, DrillingSettings) {
    EXPECT_EQ(Type("PECKDRILL ON"), 0);
    EXPECT_EQ(Type("PECKDRILL on 300"), 0);
    EXPECT_EQ(Type("PECKDRILL Maybe 30"), 0);
    EXPECT_EQ(Type("PECKDRILL on 29"), 1);
    EXPECT_EQ(S().peck_drill, 1);
    EXPECT_DOUBLE_EQ(S().peck, 0.29);
    EXPECT_EQ(Messages(), (V{kSyntax, kOutOfRange, kSyntax}));

    EXPECT_EQ(Type("CENTERDRILLING ON 2"), 1);
    EXPECT_DOUBLE_EQ(S().cd_depth, 2);
    EXPECT_EQ(Type("CENTERDRILLING on"), 0); // ON and OFF in upper case only
    EXPECT_EQ(S().center_drilling, 0);       // reset before the check
    EXPECT_DOUBLE_EQ(S().cd_depth, 3);
    EXPECT_EQ(Type("CENTERDRILLING ON 0.1 INCH"), 1);
    EXPECT_DOUBLE_EQ(S().cd_depth, 2.54);
    EXPECT_EQ(Type("CENTERDRILLING ON 1 YARD"), 0);
    EXPECT_EQ(Messages(), (V{kSyntax, kSyntax}));

    EXPECT_EQ(Type("CLEANDRILLS ON 200 500 3 10"), 1);
    EXPECT_DOUBLE_EQ(S().clean_speed, 2.0);
    EXPECT_EQ(S().clean_duration, 500);
    EXPECT_EQ(Type("CLEANDRILLS ON 50 500 3 10"), 0);
    EXPECT_EQ(S().clean_drills, 1);         // the flag was read
    EXPECT_DOUBLE_EQ(S().clean_speed, 1.0); // the rest keeps the reset values
    EXPECT_EQ(S().clean_duration, 1);
    EXPECT_EQ(Type("CLEANDRILLS OFF 150 300 1 1 INCH"), 1);
    EXPECT_DOUBLE_EQ(S().clean_distance, 25.4);
    EXPECT_EQ(Type("CLEANDRILLS ON 150 300"), 0);
    EXPECT_EQ(Messages(), (V{kOutOfRange, kSyntax}));
}

TEST_F(SettingsTest, ToolChoices) {
    EXPECT_EQ(Type("THREADING T"), 0);
    EXPECT_EQ(Type("THREADING th"), 1);
    EXPECT_EQ(S().threading, kThreadByMill);
    EXPECT_EQ(Type("THREADING TA"), 1);
    EXPECT_EQ(S().threading, kThreadByTap);
    EXPECT_EQ(Type("BORING S F"), 1);
    EXPECT_EQ(S().boring, 75);
    EXPECT_EQ(Type("BORING F S"), 1);
    EXPECT_EQ(S().boring, 57);
    EXPECT_EQ(Type("BORING F F"), 0);
    EXPECT_EQ(Type("BORING SIDE ENDMILL"), 0); // same kind
    EXPECT_EQ(Type("CONTURING endmill"), 1);
    EXPECT_EQ(S().conturing, 5);
    EXPECT_EQ(Type("CONTURING X"), 0);
    EXPECT_EQ(Messages(), V(4, kSyntax));
    EXPECT_EQ(S().boring, 57);
}

TEST_F(SettingsTest, UseOptions) {
    Type("USE G44");
    EXPECT_EQ(S().use_g44, 1);
    EXPECT_EQ(Type("USE G43"), 1);
    EXPECT_EQ(S().use_g44, 0);
    EXPECT_EQ(Type("USE G43 OFF"), 1);
    EXPECT_EQ(S().use_g44, 1);
    Settings before = S();
    EXPECT_EQ(Type("USE G83"), 1);
    EXPECT_EQ(Type("USE MM OFF"), 1);
    EXPECT_EQ(S().use_g44, before.use_g44);
    EXPECT_EQ(S().use_g81, before.use_g81);
    EXPECT_EQ(Type("USE OLDFILTER"), 1);
    EXPECT_EQ(S().use_newfilter, 0);
    EXPECT_EQ(Type("USE IJ_ONLY_IN_G02_G03 OFF"), 1);
    EXPECT_EQ(S().use_r_in_g02_g03, 1);
    EXPECT_EQ(Type("USE G99"), 0);
    EXPECT_EQ(Type("USE G81 YES"), 0);
    EXPECT_EQ(Messages(), V(2, kSyntax));
}

TEST_F(SettingsTest, FlagsAndWordSettings) {
    EXPECT_EQ(Type("COMMENTS OFF"), 1);
    EXPECT_EQ(Type("COMMENTS"), 1);
    EXPECT_EQ(S().comments, 1);
    EXPECT_EQ(Type("COMMENTS debug"), 1);
    EXPECT_EQ(S().comments, 2);
    EXPECT_EQ(Type("COMMENTS LOUD"), 0);
    EXPECT_EQ(Type("LABELING off"), 1);
    EXPECT_EQ(S().labeling, -1);
    EXPECT_EQ(Type("LABELING"), 1);
    EXPECT_EQ(S().labeling, 0);
    EXPECT_EQ(Type("OPTIMISE on"), 0); // exact upper case
    EXPECT_EQ(Type("OPTIMISE ON"), 1);
    EXPECT_EQ(Type("EXCESSMR OFF"), 1);
    EXPECT_EQ(S().excessmr, 0);
    EXPECT_EQ(Type("BACKGROUND wh"), 1);
    EXPECT_EQ(S().background_white, 1);
    EXPECT_EQ(Type("BACKGROUND GREY"), 1);
    EXPECT_EQ(S().background_white, 0);
    // Contour loops are cut from the start; FOPI switches that off.
    EXPECT_EQ(S().alt_path_filter, 1);
    EXPECT_EQ(Type("FOPI"), 1);
    EXPECT_EQ(S().alt_path_filter, 0);
    EXPECT_EQ(Type("FOPI now"), 0);
    EXPECT_EQ(Messages(), (V{kSyntax, kOutOfRange, kSyntax}));
}

TEST_F(SettingsTest, TextsAndPrograms) {
    EXPECT_EQ(Type("PART  flange   plate"), 1);
    EXPECT_EQ(S().part, "flange plate");
    EXPECT_EQ(Type("PART"), 1);
    EXPECT_EQ(S().part, "flange plate");
    EXPECT_EQ(Type("CLIENT"), 0);
    EXPECT_EQ(Type("OPERATOR " + std::string(70, 'a') + " " + std::string(10, 'b') + " cc"), 1);
    EXPECT_EQ(S().operator_name, std::string(70, 'a') + " cc");
    EXPECT_EQ(Type("PROGSTART G17 G90"), 1);
    EXPECT_EQ(S().progstart, "G17 G90");
    EXPECT_EQ(Type("PROGSTART"), 1);
    EXPECT_EQ(S().progstart, "");
    EXPECT_EQ(Type("PROGRAM O1234"), 1);
    EXPECT_EQ(S().program, 1234);
    EXPECT_EQ(Type("PROGRAM 77"), 1);
    EXPECT_EQ(S().program, 77);
    EXPECT_EQ(Type("GCFILE \"my part.cnc\""), 1);
    EXPECT_EQ(S().gcfile, "my part.cnc");
    EXPECT_EQ(Type("TRANSFER \"send -p 2\""), 1);
    EXPECT_EQ(S().transfer, "send -p 2");
    EXPECT_EQ(Type("TRANSFER send  -p 3"), 1);
    EXPECT_EQ(S().transfer, "send -p 3");
    EXPECT_EQ(Type("HELP browser"), 0);
    EXPECT_EQ(Type("VIEW 1 2.5 10 20 127"), 1);
    EXPECT_EQ(S().view_given, 1);
    EXPECT_EQ(Type("VIEW 1 0 10 20 127"), 0);
    EXPECT_EQ(Type("VIEW 1 2 3"), 0);
    EXPECT_EQ(Messages(), (V{kSyntax, kSyntax, kOutOfRange, kSyntax}));
}

TEST_F(SettingsTest, SnapshotGivesNewProjectsTheConfiguredValues) {
    Type("OVERLAP 10");
    Type("TOOLCHANGE MAN");
    Type("GCFILE part.cnc");
    Type("CORRIDOR 50");
    StoreCfgValues();
    Type("OVERLAP 30");
    Type("TOOLCHANGE AUTO");
    Type("GCFILE other.cnc");
    Type("TEXTSIZE 7"); // not in the snapshot
    LoadCfgValues();
    EXPECT_DOUBLE_EQ(S().overlap, 0.9);
    EXPECT_EQ(GetMachine().tc_manual, 1);
    EXPECT_EQ(S().gcfile, "part.cnc");
    EXPECT_DOUBLE_EQ(S().textsize, 7);
    EXPECT_DOUBLE_EQ(GetMachine().corridor, 25);
    EXPECT_EQ(S().project_file, "noname.kvp");
}

} // namespace
} // namespace korvel
