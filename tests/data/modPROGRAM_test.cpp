// Programs: properties and containers, found and on demand, and an activity's program and
// support tools.
#include <gtest/gtest.h>

#include "DataFixture.h"
#include "process/clsACTIVITY.h"
#include "process/modPROGRAM.h"
#include "writer/clsWPXWriter.h"

namespace {

using namespace datatest;

// Check is supported by Archive, then Scanner; Review by a program without name. Archive uses
// the data object Invoice.
amltest::AmlBuilder ProgramDatabase() {
    amltest::AmlBuilder b(amltest::kGerman);
    b.Obj("check", kFunction, "Check")
        .Obj("review", kFunction, "Review")
        .Obj("archive", kProgram, "Archive", {{kDescription, "Keeps invoices"}, {kSizeOfArray, "PRIORITY 1"}})
        .Obj("scanner", kProgram, "Scanner")
        .Obj("nameless", kProgram, "")
        .Obj("invoice", kErmAttribute, "Invoice")
        .Cxn("archive", kSupports, "check")
        .Cxn("scanner", kSupports, "check")
        .Cxn("nameless", kSupports, "review")
        .Cxn("archive", kCanUse, "invoice")
        .Model("M1", 14, "Landscape", {"check", "review", "archive", "scanner", "nameless", "invoice"});
    return b;
}

TEST(Program, PropertiesFollowTheOptions) {
    struct Row {
        bool otherSettings, description;
        const char* expectedOther;
        const char* expectedDescription;
    };
    const Row rows[] = {
        {true, true, "PRIORITY 1", "'Keeps invoices'"},
        {false, false, "", ""},
    };
    for (const Row& row : rows) {
        DataEnv env(ProgramDatabase());
        CurrentExport().Options.UseOtherSettings = row.otherSettings;
        CurrentExport().Options.UseDescriptionAttr = row.description;
        clsPROGRAM& archive = PROGRAM_Add_ARIS_Mapping(env.Obj("archive"));
        EXPECT_EQ(archive.ObjectName, "'Archive'");
        EXPECT_EQ(archive.OtherSettings, row.expectedOther);
        EXPECT_EQ(archive.DESCRIPTION, row.expectedDescription);
        // The program's data objects give its containers, both from the same relation steps.
        EXPECT_EQ(archive.Containers.InputName(), "'DATA_STRUCTURE_0'");
        EXPECT_EQ(&archive.Containers.InputContainer(), &archive.Containers.OutputContainer());
        clsWPXWriter().WriteProgram(archive);
        std::vector<std::string> expected = {"", "PROGRAM 'Archive' ('DATA_STRUCTURE_0', 'DATA_STRUCTURE_0')"};
        if (row.description) expected.push_back("\tDESCRIPTION 'Keeps invoices'");
        if (row.otherSettings) expected.push_back("\tPRIORITY 1");
        expected.push_back("END 'Archive'");
        EXPECT_EQ(env.FileLines(), expected);
    }
}

TEST(Program, FoundProgramsAreNotCreatedOrSetUpAgainOnDemand) {
    DataEnv env(ProgramDatabase());
    PROGRAM_Create(env.Models({"M1"}));
    ASSERT_EQ(clsPROGRAM::Registry().Count(), 3u);
    clsPROGRAM& scanner = *clsPROGRAM::Registry().Item(2);
    EXPECT_EQ(scanner.Containers.InputName(), "'Default Data Structure'");
    std::size_t logged = env.LogLines().size();
    EXPECT_EQ(&PROGRAM_Add_ARIS_Mapping(env.Obj("scanner")), &scanner);
    EXPECT_EQ(env.LogLines().size(), logged);
}

TEST(Program, TheFirstProgramRunsTheOthersAreSupportTools) {
    DataEnv env(ProgramDatabase());
    clsACTIVITY activity;
    activity.ARISObjectDefinition = env.Obj("check");
    activity.SetupProperty_PROGRAM();
    activity.SetupProperty_SUPPORT_TOOL();
    EXPECT_EQ(activity.PROGRAM, "'Archive'");
    EXPECT_EQ(activity.SUPPORT_TOOL, "'Scanner'");
    ASSERT_EQ(clsPROGRAM::Registry().Count(), 1u);  // no construct for a support tool
    std::vector<std::string> log = env.LogLines();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[log.size() - 3].substr(0, 10), "KVB03060I ");
    EXPECT_NE(log[log.size() - 3].find("'Archive'"), std::string::npos);
    EXPECT_EQ(log[log.size() - 2], "KVB03010I Warning: you have assigned more than one 'PROGRAM' to a 'ACTIVITY'");
    EXPECT_EQ(log.back().substr(0, 28), "KVB03060I The ARIS object 'S");
    EXPECT_NE(log.back().find("of type 'SUPPORT_TOOL'."), std::string::npos);

    // A process activity runs no program: every related program is a support tool.
    clsACTIVITY subprocessActivity;
    subprocessActivity.ARISObjectDefinition = env.Obj("check");
    subprocessActivity.AssignedModel = env.Model("M1");
    subprocessActivity.SetupProperty_SUPPORT_TOOL();
    EXPECT_EQ(subprocessActivity.SUPPORT_TOOL, "'Archive' 'Scanner'");
}

TEST(Program, AProgramWithoutNameNamesNothingAndIsNotCreated) {
    DataEnv env(ProgramDatabase());
    clsACTIVITY activity;
    activity.ARISObjectDefinition = env.Obj("review");
    activity.SetupProperty_PROGRAM();
    EXPECT_EQ(activity.PROGRAM, "");
    EXPECT_TRUE(clsPROGRAM::Registry().Empty());
    // As a support tool its empty name under convention "6" is a warning and it is skipped.
    activity.AssignedModel = env.Model("M1");
    activity.SetupProperty_SUPPORT_TOOL();
    EXPECT_EQ(activity.SUPPORT_TOOL, "");
    EXPECT_EQ(env.Boxes().size(), 1u);
}

}  // namespace
