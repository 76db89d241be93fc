#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "../support/TestEnv.h"
#include "FakeAris.h"
#include "app/clsIOHandler.h"
#include "process/clsPROCESS.h"
#include "process/modPoint.h"

namespace {

struct Position {
    int x, y;
};

// A process whose activities stand at the given ARIS positions.
void AddActivities(clsPROCESS& process, const std::vector<Position>& positions) {
    int n = 0;
    for (const Position& p : positions) {
        Owned<clsACTIVITY> activity = MakeConstruct<clsACTIVITY>();
        activity->ARIS_XPos = p.x;
        activity->ARIS_YPos = p.y;
        process.Col_ACTIVITY.Add(std::move(activity), "A" + std::to_string(++n));
    }
}

int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::Error& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace

TEST(LayoutConversion, BoundsMarginsShrinkFactorAndPositions) {
    struct Row {
        const char* what;
        std::vector<Position> aris;
        int minX, maxX, minY, maxY, xOffset, yOffset;
        double shrink;
        std::vector<Position> wpx;
    };
    const std::vector<Row> rows = {
        {"one activity", {{1000, 2000}}, 1000, 1000, 2000, 2000, 1000, 2000, 1.0, {{0, 0}}},
        {"two far apart", {{0, 500}, {70000, 500}}, 0, 70000, 500, 500, -7000, 500, 0.25, {{-8750, 0}, {8750, 0}}},
        // The middle lands at 0; smaller ARIS y (higher up) gives a positive WPX y.
        {"middle and above",
         {{0, 0}, {100, 100}, {200, 200}, {100, 40}},
         0,
         200,
         0,
         200,
         -20,
         -20,
         1.0,
         {{-100, 100}, {0, 0}, {100, -100}, {0, 60}}},
        // All coordinates negative: the maximum keeps its default 0.
        {"negative", {{-100, -300}}, -100, 0, -300, 0, -110, -330, 1.0, {{-50, 150}}},
        // Margin 2.5 rounds to even (2); the halved bound sum is exact (x.5 floors down).
        {"half margin", {{0, 0}, {25, 0}}, 0, 25, 0, 0, -2, 0, 1.0, {{-13, 0}, {12, 0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        clsPROCESS process;
        AddActivities(process, row.aris);
        process.ConvertARISLayoutToWPXLayout();
        EXPECT_EQ(process.MinXPos, row.minX);
        EXPECT_EQ(process.MaxXPos, row.maxX);
        EXPECT_EQ(process.MinYPos, row.minY);
        EXPECT_EQ(process.MaxYPos, row.maxY);
        EXPECT_EQ(process.X_ContingencyOffset, row.xOffset);
        EXPECT_EQ(process.Y_ContingencyOffset, row.yOffset);
        EXPECT_DOUBLE_EQ(process.ShrinkFactor, row.shrink);
        EXPECT_TRUE(process.LayoutConversionFinished);
        for (std::size_t i = 0; i < row.wpx.size(); ++i) {
            const clsACTIVITY& activity = *process.Col_ACTIVITY.Item(i + 1);
            EXPECT_EQ(activity.WPX_XPos, row.wpx[i].x) << i;
            EXPECT_EQ(activity.WPX_YPos, row.wpx[i].y) << i;
            EXPECT_TRUE(activity.LayoutConversionFinished);
        }
    }
}

TEST(LayoutConversion, ProcessWithoutActivitiesKeepsItsDefaultsAndIsConverted) {
    clsPROCESS process;
    process.ConvertARISLayoutToWPXLayout();
    EXPECT_TRUE(process.LayoutConversionFinished);
    EXPECT_DOUBLE_EQ(process.ShrinkFactor, 1.0);
    EXPECT_EQ(process.MinXPos, 99999999);
    EXPECT_EQ(process.MaxXPos, 0);
}

TEST(LayoutConversion, ThirtyTwoBitOverflowIsErrorSix) {
    clsPROCESS process;
    AddActivities(process, {{INT_MIN, 0}, {INT_MAX, 0}});
    EXPECT_EQ(ErrorNumberOf([&] { process.ConvertARISLayoutToWPXLayout(); }), platform::kErrOverflow);
    EXPECT_FALSE(process.LayoutConversionFinished);
}

TEST(LayoutConversion, ActivityLayoutTextAndWarningBeforeConversion) {
    testenv::Sandbox box("ENU");
    clsIOHandler io;
    box.context.IOHandler = &io;
    box.context.Files = &io;
    io.SetDefinitionFileName(box.dir.File("out.wpx"));
    fakearis::ObjDef function("F1");

    clsACTIVITY activity;
    activity.ARISObjectDefinition = &function;
    activity.SetupProperty_LAYOUT();
    EXPECT_EQ(activity.LAYOUT, "");
    ASSERT_EQ(box.boxes->texts.size(), 1u);
    EXPECT_NE(box.boxes->texts[0].find("KVB02070E"), std::string::npos);
    EXPECT_NE(box.boxes->texts[0].find("'F1'"), std::string::npos);

    activity.LayoutConversionFinished = true;
    activity.WPX_XPos = -120;
    activity.WPX_YPos = 45;
    activity.SetupProperty_LAYOUT();
    EXPECT_EQ(activity.LAYOUT, "XPOS -120 YPOS 45");
}

TEST(GraphicalCenter, ClampAndIntegerRunningAverage) {
    fakearis::Model model("M"), other("O");
    struct Row {
        const char* what;
        std::vector<Position> objects;  // ARIS positions in the model; y = -1 marks "not in the model"
        int x, y;
    };
    // Frame: bounds 0..0, ShrinkFactor 1, so ARIS x maps to x and ARIS y to -y.
    const std::vector<Row> rows = {
        {"none", {}, 0, 0},
        {"running average", {{10, 0}, {30, 0}, {60, 0}}, 33, 0},
        {"turned y", {{0, -20}, {0, -40}}, 0, 30},
        {"clamp", {{20000, -12000}}, 10450, 10450},
        {"clamp negative", {{-10451, 10451}}, -10450, -10450},
        {"object outside the model is skipped", {{10, 0}, {500, -1}, {30, 0}}, 20, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        clsPROCESS process;
        process.ARIS_Model = &model;
        process.MinXPos = process.MaxXPos = process.MinYPos = process.MaxYPos = 0;
        std::vector<std::unique_ptr<fakearis::ObjDef>> objects;
        ARISObjDefCollection collection;
        for (const Position& p : row.objects) {
            objects.push_back(std::make_unique<fakearis::ObjDef>("O" + std::to_string(objects.size())));
            objects.back()->PlaceIn(p.y == -1 ? &other : &model, p.x, p.y == -1 ? 0 : p.y);
            collection.Add(objects.back().get());
        }
        clsPoint center = modPoint::CalculateGraphicalCenterOfARISObjects(collection, process);
        EXPECT_EQ(center.XPos, row.x);
        EXPECT_EQ(center.YPos, row.y);
    }
}

TEST(GraphicalCenter, FarObjectsAreClampedWhileBoundSumsOutside32BitsStayErrorSix) {
    fakearis::Model model("M");
    // Beyond 16 bits, and as far as an ARIS position goes: each lands on the edge.
    const std::vector<std::pair<Position, Position>> rows = {
        {{40000, 0}, {10450, 0}},
        {{-40000, 70000}, {-10450, -10450}},
        {{2147483647, -2147483647}, {10450, 10450}},
    };
    for (const auto& [aris, expected] : rows) {
        SCOPED_TRACE(std::to_string(aris.x) + "," + std::to_string(aris.y));
        fakearis::ObjDef far("FAR");
        far.PlaceIn(&model, aris.x, aris.y);
        clsPROCESS process;
        process.ARIS_Model = &model;
        process.MinXPos = process.MaxXPos = process.MinYPos = process.MaxYPos = 0;
        ARISObjDefCollection collection;
        collection.Add(&far);
        clsPoint center = modPoint::CalculateGraphicalCenterOfARISObjects(collection, process);
        EXPECT_EQ(center.XPos, expected.x);
        EXPECT_EQ(center.YPos, expected.y);
    }
    // The middle of the box is a 32-bit sum of its bounds: outside that range it is error 6.
    fakearis::ObjDef near("NEAR");
    near.PlaceIn(&model, 0, 0);
    clsPROCESS process;
    process.ARIS_Model = &model;
    process.MinXPos = process.MaxXPos = 2000000000;
    process.MinYPos = process.MaxYPos = 0;
    ARISObjDefCollection collection;
    collection.Add(&near);
    EXPECT_EQ(ErrorNumberOf([&] { modPoint::CalculateGraphicalCenterOfARISObjects(collection, process); }),
              platform::kErrOverflow);
}
