// The Make Options dialog's rules.
#include <gtest/gtest.h>

#include "base/units.h"
#include "cam/make_options.h"
#include "model/machine.h"
#include "model/project_state.h"
#include "model/settings.h"
#include "script/project.h"
#include "support.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class MakeOptionsTest : public test::KorvelTest {};

TEST_F(MakeOptionsTest, ShowsAndStoresTheSettings) {
    TypeAll({"OVERLAP 10", "PECKDRILL ON 40", "CLEANDRILLS ON 150 300 2 5", "QUALITY 4",
             "COMMENTS DEBUG", "LABELING OFF", "TOOLCHANGE MANUAL 10 20"});
    MakeOptions o = CurrentMakeOptions();
    EXPECT_DOUBLE_EQ(o.overlap, 10);
    EXPECT_TRUE(o.peck_drilling);
    EXPECT_DOUBLE_EQ(o.peck, 40);
    EXPECT_DOUBLE_EQ(o.cleaning_speed, 150);
    EXPECT_EQ(o.cleaning_repeat, 2);
    EXPECT_TRUE(o.fine_vertical && o.fine_horizontal && !o.rough_horizontal);
    EXPECT_TRUE(o.comments);
    EXPECT_FALSE(o.line_numbers);
    EXPECT_TRUE(o.stop_at_tool_change && o.go_xy_at_tool_change);
    EXPECT_TRUE(MakeOptionsValid(o));

    SetProjectChanged(false);
    o.overlap = 25;
    o.go_xy_at_tool_change = false;
    o.line_numbers = true;
    o.rough_horizontal = true; // with the two fine boxes: quality 5
    o.speed_override = 80;
    ASSERT_EQ(StoreMakeOptions(o), 1);
    const Settings& s = GetSettings();
    EXPECT_DOUBLE_EQ(s.overlap, 0.75);
    EXPECT_EQ(s.quality, 5);
    EXPECT_EQ(s.comments, 2); // debugging comments stay on
    EXPECT_EQ(s.labeling, 0);
    EXPECT_DOUBLE_EQ(s.rfsor, 0.8);
    MachineSetup m = GetMachine();
    EXPECT_EQ(m.tc_manual, 1);
    EXPECT_EQ(m.tc_position, 0);
    EXPECT_EQ(m.tc_x, 0);
    EXPECT_TRUE(ProjectChanged());
    EXPECT_FALSE(Compiled());
}

TEST_F(MakeOptionsTest, AValueOutOfRangeKeepsTheDialogOpen) {
    const MakeOptions good = CurrentMakeOptions();
    ASSERT_TRUE(MakeOptionsValid(good));
    std::vector<void (*)(MakeOptions&)> bad = {
        [](MakeOptions& o) { o.corridor = 0; },
        [](MakeOptions& o) { o.rplane = -1; },
        [](MakeOptions& o) { o.overlap = 100; },
        [](MakeOptions& o) { o.extension = 0; },
        [](MakeOptions& o) { o.center_drilling_depth = 10; },
        [](MakeOptions& o) { o.center_drilling_depth = 0; },
        [](MakeOptions& o) { o.peck = 0; },
        [](MakeOptions& o) { o.peck = 300; },
        [](MakeOptions& o) { o.cleaning_speed = 99; },
        // The dialog's 999 % would be refused by CLEANDRILLS when the project is read again.
        [](MakeOptions& o) { o.cleaning_speed = 995; },
        [](MakeOptions& o) { o.cleaning_distance = -0.1; },
        [](MakeOptions& o) { o.cleaning_duration = 10000; },
        [](MakeOptions& o) { o.cleaning_repeat = 0; },
        [](MakeOptions& o) { o.ffdxy = 0; },
        [](MakeOptions& o) { o.rfdz = 0; },
        [](MakeOptions& o) { o.ffdz = 0; },
        [](MakeOptions& o) { o.rf_overlap = 100; },
        [](MakeOptions& o) { o.ff_overlap = -1; },
        [](MakeOptions& o) { o.speed_override = 0; },
        [](MakeOptions& o) { o.feed_override = 401; },
    };
    SetProjectChanged(false);
    for (std::size_t i = 0; i < bad.size(); ++i) {
        MakeOptions o = good;
        bad[i](o);
        EXPECT_FALSE(MakeOptionsValid(o)) << i;
        EXPECT_EQ(StoreMakeOptions(o), 0) << i;
    }
    EXPECT_FALSE(ProjectChanged());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(MakeOptionsTest, InchDialogLimitsTheCentreDrillingDepthToTenMillimetres) {
    SetUserUnit(kUnitInch);
    MakeOptions o = CurrentMakeOptions();
    o.center_drilling_depth = 0.39;
    EXPECT_TRUE(MakeOptionsValid(o));
    o.center_drilling_depth = 0.4;
    EXPECT_FALSE(MakeOptionsValid(o));
}

TEST_F(MakeOptionsTest, FinishingBoxesAndTheirQuality) {
    EXPECT_EQ(QualityOfBoxes(false, false, false), 0);
    EXPECT_EQ(QualityOfBoxes(false, true, false), 1);
    EXPECT_EQ(QualityOfBoxes(true, false, false), 2);
    EXPECT_EQ(QualityOfBoxes(true, true, false), 3);
    EXPECT_EQ(QualityOfBoxes(true, false, true), 4);
    EXPECT_EQ(QualityOfBoxes(true, true, true), 5);
    EXPECT_EQ(QualityOfBoxes(false, false, true), -1);
    EXPECT_EQ(QualityOfBoxes(false, true, true), -1);
    TypeAll({"QUALITY 3"});
    MakeOptions o = CurrentMakeOptions();
    o.fine_vertical = false;
    o.fine_horizontal = true; // no code of its own: the quality stays
    ASSERT_EQ(StoreMakeOptions(o), 1);
    EXPECT_EQ(GetSettings().quality, 3);
}

TEST_F(MakeOptionsTest, StoredOptionsReadBackFromTheProjectFile) {
    MakeOptions o = CurrentMakeOptions();
    o.cleaning_speed = 990;
    o.drill_cleaning = true;
    o.peck = 299;
    o.overlap = 99;
    ASSERT_EQ(StoreMakeOptions(o), 1);
    std::string path = WriteFile("options.kvp", ProjectText());
    ASSERT_EQ(OpenProject(path), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_DOUBLE_EQ(GetSettings().clean_speed, 9.9);
    EXPECT_DOUBLE_EQ(GetSettings().peck, 2.99);
}

TEST_F(MakeOptionsTest, UntickingExcessMaterialRemovalWarns) {
    ExcessMaterialRemovalUnticked();
    EXPECT_EQ(Messages(), V{"[WARNING] You have disabled excess material removal.\nTool crash "
                            "danger!\nHorizontal finishing is disabled!"});
}

} // namespace
} // namespace korvel
