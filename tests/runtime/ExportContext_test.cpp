#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/modGlobals.h"

namespace {

// Records the order in which parts end.
std::vector<std::string>& Ended() {
    static std::vector<std::string> ended;
    return ended;
}

struct FirstPart {
    int value = 0;
    ~FirstPart() { Ended().push_back("first"); }
};

struct SecondPart {
    std::string text;
    ~SecondPart() { Ended().push_back("second"); }
};

}  // namespace

TEST(ExportContext, TheInnermostIsCurrentAndTheOuterOneReturns) {
    ExportContext outer;
    outer.LocaleId = 1031;
    outer.Options.ConvertNames = false;
    EXPECT_EQ(&CurrentExport(), &outer);
    {
        ExportContext inner;
        EXPECT_EQ(&CurrentExport(), &inner);
        // A new export starts with the defaults, whatever the outer one holds.
        EXPECT_EQ(CurrentExport().LocaleId, 0);
        EXPECT_TRUE(CurrentExport().Options.ConvertNames);
        CurrentExport().LocaleId = 1033;
    }
    EXPECT_EQ(&CurrentExport(), &outer);
    EXPECT_EQ(CurrentExport().LocaleId, 1031);
    EXPECT_FALSE(CurrentExport().Options.ConvertNames);
}

TEST(ExportContext, PartsAreMadeOncePerExportAndEndLastMadeFirst) {
    Ended().clear();
    {
        ExportContext context;
        context.Part<SecondPart>().text = "kept";
        context.Part<FirstPart>().value = 7;
        EXPECT_EQ(context.Part<SecondPart>().text, "kept");
        EXPECT_EQ(&context.Part<FirstPart>(), &context.Part<FirstPart>());
        {
            ExportContext other;
            EXPECT_EQ(other.Part<FirstPart>().value, 0);
        }
        EXPECT_EQ(Ended(), std::vector<std::string>{"first"});
        EXPECT_EQ(context.Part<FirstPart>().value, 7);
    }
    EXPECT_EQ(Ended(), (std::vector<std::string>{"first", "first", "second"}));
}

TEST(ExportContext, ProcedureScopesRestoreTheCallerInTheirOwnExport) {
    ExportContext context;
    context.CurrentProcedure = std::string("Caller.Text");
    {
        ProcedureScope outer("Module.Outer");
        {
            ProcedureScope inner("Module.Inner");
            EXPECT_EQ(context.CurrentProcedure, "Module.Inner");
        }
        EXPECT_EQ(context.CurrentProcedure, "Module.Outer");
    }
    EXPECT_EQ(context.CurrentProcedure, "Caller.Text");
    EXPECT_EQ(context.CallerDepth, 0u);
}

TEST(ExportContext, ResetGivesTheCurrentExportTheValuesOfANewOne) {
    ExportContext context;
    context.CurrentStep = "Open file";
    context.GeneratedNamePrefix = "DATA_STRUCTURE_";
    context.GeneratedNameSuffix = 12;
    context.Options.StartConditions = true;
    modGlobals::Reset();
    EXPECT_EQ(context.CurrentStep, "");
    EXPECT_EQ(context.GeneratedNamePrefix, "");
    EXPECT_EQ(context.GeneratedNameSuffix, 0);
    EXPECT_FALSE(context.Options.StartConditions);
}
