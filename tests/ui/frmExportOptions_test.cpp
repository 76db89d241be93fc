#include "app/frmExportOptions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/RegistryStore.h"
#include "platform/UiMode.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "runtime/modUtilities.h"
#include "tests/support/TestEnv.h"

using platform::RegValue;

namespace {

const char* kKey = modUtilities::kProgramKey;

/// What the window stand-in was asked to do.
struct ViewLog {
    int dismissed = 0;
    int fontsApplied = 0;
    int beeps = 0;
    std::vector<int> helpTopics;
};

/// A window stand-in: runs a script against the dialog in place of the user.
class ScriptedView : public ExportOptionsView {
public:
    ScriptedView(frmExportOptions& form, std::function<void(frmExportOptions&)> script, ViewLog& log)
        : form_(form), script_(std::move(script)), log_(log) {}
    void RunModal() override {
        form_.Form_Activate();
        script_(form_);
    }
    void Dismiss() override { ++log_.dismissed; }
    void SetNlsFontForm() override { ++log_.fontsApplied; }
    void ShowStates() override {}
    void Beep() override { ++log_.beeps; }
    void OpenHelp(int contextId) override { log_.helpTopics.push_back(contextId); }

private:
    frmExportOptions& form_;
    std::function<void(frmExportOptions&)> script_;
    ViewLog& log_;
};

class ExportOptionsTest : public ::testing::Test {
protected:
    void TearDown() override {
        platform::SetInteractive(false);
        SetExportOptionsViewFactory({});
    }

    platform::RegistryHive User() const { return platform::RegistryHive(sb.userHive, "HKEY_CURRENT_USER"); }
    platform::RegistryHive Machine() const { return platform::RegistryHive(sb.machineHive, "HKEY_LOCAL_MACHINE"); }
    bool Checked(const frmExportOptions& f, Ctl id) const { return f.Control(id).value == CheckState::Checked; }

    /// Show the dialog interactively with a script in place of the user; what the window was
    /// asked to do is kept in `view`.
    void ShowWith(frmExportOptions& form, std::function<void(frmExportOptions&)> script) {
        platform::SetInteractive(true);
        SetExportOptionsViewFactory([this, script](frmExportOptions& f) -> std::unique_ptr<ExportOptionsView> {
            return std::make_unique<ScriptedView>(f, script, view);
        });
        form.Show();
    }

    /// Type keys into efNumSuffix as the text box does: an accepted key changes the text.
    static void Type(frmExportOptions& f, const std::string& keys) {
        for (char key : keys) {
            if (!f.efNumSuffix_KeyPress(static_cast<char32_t>(key))) continue;
            std::string text = f.Control(Ctl::efNumSuffix).text;
            if (key == '\b') {
                if (!text.empty()) text.pop_back();
            } else {
                text.push_back(key);
            }
            f.efNumSuffix_Change(text);
        }
    }

    testenv::Sandbox sb{"DEU"};
    ViewLog view;
};

TEST_F(ExportOptionsTest, NoStoredValuesShowTheDefaultsAndWriteNothing) {
    frmExportOptions f;
    f.Show();  // batch mode: loaded and closed as with OK, nothing changed
    for (Ctl id :
         {Ctl::cbConvertARISNames, Ctl::cbRemoveLineBreaks, Ctl::cbDrawControlConWithBendPoints,
          Ctl::cbDrawDataConWithBendPoints, Ctl::cbWriteDescription, Ctl::cbWriteDocumentation,
          Ctl::cbDynamicStaffAssignment, Ctl::cbControlFlowLoops, Ctl::cbDataFlowLoops, Ctl::rbARISAttrDataType})
        EXPECT_TRUE(Checked(f, id)) << f.Control(id).name;
    for (Ctl id : {Ctl::cbWriteOtherSettings, Ctl::cbStartConditions, Ctl::cbExitConditions,
                   Ctl::cbTransitionConditions, Ctl::rbARISDomainType})
        EXPECT_FALSE(Checked(f, id)) << f.Control(id).name;
    EXPECT_EQ(f.Control(Ctl::efNumSuffix).text, "0");
    EXPECT_FALSE(f.SettingsChanged());
    EXPECT_FALSE(f.Control(Ctl::cmdApply).enabled);
    EXPECT_EQ(f.SelectedTab(), 0);

    const ExportOptions& o = CurrentExport().Options;
    EXPECT_TRUE(o.ConvertNames && o.RemoveLineBreaks && o.UseDataConBendPoints && o.UseCtrlConBendPoints &&
                o.UseDescriptionAttr && o.UseDocumentationAttr && o.DynamicStaffAssignment && o.FindDataFlowLoops &&
                o.FindControlFlowLoops && o.DataTypeFromAttribute);
    EXPECT_FALSE(o.UseOtherSettings || o.StartConditions || o.ExitConditions || o.TransitionConditions);
    EXPECT_EQ(o.FirstSuffixNumber, 0);
    EXPECT_FALSE(std::filesystem::exists(sb.userHive));
    EXPECT_TRUE(sb.boxes->texts.empty());
}

TEST_F(ExportOptionsTest, StoredValuesAreLoadedUserBeforeMachine) {
    struct Row {
        const char* value;
        RegValue user, machine;
        Ctl control;
        bool expected;
    };
    const Row rows[] = {
        {"ConvertNames", std::int32_t{0}, {}, Ctl::cbConvertARISNames, false},
        {"RemoveLineBreaks", {}, std::int32_t{0}, Ctl::cbRemoveLineBreaks, false},
        {"UseOtherSettings", std::int32_t{5}, std::int32_t{0}, Ctl::cbWriteOtherSettings, true},
        {"StartConditions", std::int32_t{-1}, {}, Ctl::cbStartConditions, true},
        {"ExitConditions", std::string("1"), {}, Ctl::cbExitConditions, true},
        {"TransitionConditions", std::string("True"), {}, Ctl::cbTransitionConditions, true},
        {"FindDataFlowLoops", std::string("0"), std::int32_t{-1}, Ctl::cbDataFlowLoops, false},
        {"UseCtrlConBendPoints", {}, std::int32_t{0}, Ctl::cbDrawControlConWithBendPoints, false},
        {"DataTypeFromAttribute", std::int32_t{0}, {}, Ctl::rbARISAttrDataType, false},
    };
    for (const Row& r : rows) {
        if (!std::holds_alternative<std::monostate>(r.user)) User().Write(kKey, r.value, r.user);
        if (!std::holds_alternative<std::monostate>(r.machine)) Machine().Write(kKey, r.value, r.machine);
    }
    frmExportOptions f;
    f.Show();
    for (const Row& r : rows) EXPECT_EQ(Checked(f, r.control), r.expected) << r.value;
    EXPECT_TRUE(Checked(f, Ctl::rbARISDomainType));
    const ExportOptions& o = CurrentExport().Options;
    EXPECT_FALSE(o.ConvertNames);
    EXPECT_FALSE(o.RemoveLineBreaks);
    EXPECT_TRUE(o.UseOtherSettings);
    EXPECT_TRUE(o.StartConditions && o.ExitConditions && o.TransitionConditions);
    EXPECT_FALSE(o.FindDataFlowLoops);
    EXPECT_FALSE(o.UseCtrlConBendPoints);
    EXPECT_TRUE(o.UseDataConBendPoints);
    EXPECT_FALSE(o.DataTypeFromAttribute);
}

TEST_F(ExportOptionsTest, FirstSuffixNumberShowsZeroForNegativeValues) {
    struct Row {
        RegValue stored;
        const char* shown;
        std::int32_t global;
    };
    const Row rows[] = {
        {std::int32_t{7}, "7", 7},
        {std::int32_t{-3}, "0", 0},
        {std::string(" 12 "), "12", 12},
        {std::string("-1"), "0", 0},
        {std::int32_t{2147483647}, "2147483647", 2147483647},
    };
    for (const Row& r : rows) {
        User().Write(kKey, "FirstSuffixNumber", r.stored);
        frmExportOptions f;
        f.Show();
        EXPECT_EQ(f.Control(Ctl::efNumSuffix).text, r.shown);
        EXPECT_EQ(CurrentExport().Options.FirstSuffixNumber, r.global);
    }
}

TEST_F(ExportOptionsTest, NonNumericStoredValueEndsTheProgramAsUnknownError) {
    struct Row {
        const char* value;
        const char* text;
        int number;
    };
    const Row rows[] = {
        {"FirstSuffixNumber", "abc", 13},
        {"FirstSuffixNumber", "99999999999", 6},
        {"UseOtherSettings", "yes", 13},
    };
    for (const Row& r : rows) {
        testenv::Sandbox own("DEU");
        platform::RegistryHive(own.userHive, "HKEY_CURRENT_USER").Write(kKey, r.value, std::string(r.text));
        frmExportOptions f;
        try {
            f.Show();
            ADD_FAILURE() << r.value << "=" << r.text << " did not end the program";
        } catch (const ProgramEnd& end) {
            EXPECT_EQ(end.exitStatus, kExitMercyful);
        }
        ASSERT_EQ(own.boxes->texts.size(), 1u);
        const std::string& shown = own.boxes->texts[0];
        char id[16];
        std::snprintf(id, sizeof id, "KVB%05dC", r.number);
        EXPECT_NE(shown.find(std::string("Unbekannter Fehler ") + id), std::string::npos) << shown;
        EXPECT_NE(shown.find("'frmExportOptions.LoadOptions'"), std::string::npos) << shown;
        EXPECT_NE(shown.find(r.text), std::string::npos) << shown;
        EXPECT_NE(shown.find(r.value), std::string::npos) << shown;
    }
}

TEST_F(ExportOptionsTest, MachineValueIsWrittenToTheUserHiveAfterOkWithChanges) {
    Machine().Write(kKey, "UseOtherSettings", std::int32_t{-1});
    Machine().Write(kKey, "FirstSuffixNumber", std::int32_t{4});
    std::string machineBefore = testenv::ReadFile(sb.machineHive);
    frmExportOptions f;
    ShowWith(f, [](frmExportOptions& form) {
        EXPECT_EQ(form.Control(Ctl::efNumSuffix).text, "4");
        EXPECT_TRUE(form.Control(Ctl::cbWriteOtherSettings).value == CheckState::Checked);
        form.Control_Click(Ctl::cbStartConditions, CheckState::Checked);
        EXPECT_TRUE(form.Control(Ctl::cmdApply).enabled);
        form.cmdOK_Click();
    });
    EXPECT_EQ(view.dismissed, 1);
    EXPECT_FALSE(f.Open());
    EXPECT_EQ(User().Read(kKey, "UseOtherSettings"), RegValue(std::int32_t{-1}));
    EXPECT_EQ(User().Read(kKey, "FirstSuffixNumber"), RegValue(std::int32_t{4}));
    EXPECT_EQ(User().Read(kKey, "StartConditions"), RegValue(std::int32_t{-1}));
    EXPECT_EQ(User().Read(kKey, "ExitConditions"), RegValue(std::int32_t{0}));
    EXPECT_EQ(User().Read(kKey, "DataTypeFromAttribute"), RegValue(std::int32_t{-1}));
    std::string user = testenv::ReadFile(sb.userHive);
    EXPECT_NE(user.find("\"UseOtherSettings\"=dword:ffffffff"), std::string::npos) << user;
    EXPECT_NE(user.find("\"ExitConditions\"=dword:00000000"), std::string::npos) << user;
    EXPECT_EQ(testenv::ReadFile(sb.machineHive), machineBefore);
    EXPECT_TRUE(CurrentExport().Options.StartConditions);
}

TEST_F(ExportOptionsTest, OkWithoutChangeWritesNothing) {
    Machine().Write(kKey, "ConvertNames", std::int32_t{0});
    frmExportOptions f;
    ShowWith(f, [](frmExportOptions& form) { form.cmdOK_Click(); });
    EXPECT_EQ(view.dismissed, 1);
    EXPECT_FALSE(std::filesystem::exists(sb.userHive));
    EXPECT_FALSE(CurrentExport().Options.ConvertNames);
}

TEST_F(ExportOptionsTest, SuffixTakesOnlyDigits) {
    frmExportOptions f;
    ShowWith(f, [](frmExportOptions& form) {
        Type(form, "\b1a2");
        EXPECT_EQ(form.Control(Ctl::efNumSuffix).text, "12");
        EXPECT_TRUE(form.SettingsChanged());
        // Pasted text keeps its digits only, at most nine of them.
        form.efNumSuffix_Change("3-4x5");
        EXPECT_EQ(form.Control(Ctl::efNumSuffix).text, "345");
        form.efNumSuffix_Change("12345678901");
        EXPECT_EQ(form.Control(Ctl::efNumSuffix).text, "123456789");
        form.cmdOK_Click();
    });
    EXPECT_EQ(view.beeps, 1);  // only "a" was refused
    EXPECT_EQ(User().Read(kKey, "FirstSuffixNumber"), RegValue(std::int32_t{123456789}));
    EXPECT_EQ(CurrentExport().Options.FirstSuffixNumber, 123456789);
}

TEST_F(ExportOptionsTest, EmptiedSuffixAndApplyStoreZero) {
    User().Write(kKey, "FirstSuffixNumber", std::int32_t{25});
    frmExportOptions f;
    ShowWith(f, [&](frmExportOptions& form) {
        Type(form, "\b\b");
        EXPECT_EQ(form.Control(Ctl::efNumSuffix).text, "");
        form.cmdApply_Click();
        EXPECT_EQ(User().Read(kKey, "FirstSuffixNumber"), RegValue(std::int32_t{0}));
        EXPECT_FALSE(form.SettingsChanged());
        EXPECT_FALSE(form.Control(Ctl::cmdApply).enabled);
        EXPECT_TRUE(form.Open());
        // Apply stored everything; OK without a further change writes nothing more.
        std::string afterApply = testenv::ReadFile(sb.userHive);
        form.cmdOK_Click();
        EXPECT_EQ(testenv::ReadFile(sb.userHive), afterApply);
    });
    EXPECT_EQ(CurrentExport().Options.FirstSuffixNumber, 0);
}

TEST_F(ExportOptionsTest, GreyCheckBoxIsSavedAsFalseAndOptionButtonsExcludeEachOther) {
    frmExportOptions f;
    ShowWith(f, [](frmExportOptions& form) {
        form.Control_Click(Ctl::cbWriteDescription, CheckState::Grayed);
        form.Control_Click(Ctl::rbARISDomainType, CheckState::Checked);
        EXPECT_EQ(form.Control(Ctl::rbARISAttrDataType).value, CheckState::Unchecked);
        form.cmdOK_Click();
    });
    EXPECT_EQ(User().Read(kKey, "UseDescriptionAttr"), RegValue(std::int32_t{0}));
    EXPECT_EQ(User().Read(kKey, "DataTypeFromAttribute"), RegValue(std::int32_t{0}));
    EXPECT_FALSE(CurrentExport().Options.UseDescriptionAttr);
    EXPECT_FALSE(CurrentExport().Options.DataTypeFromAttribute);
}

TEST_F(ExportOptionsTest, CancelAsksAndNoKeepsTheDialogOpenYesEndsTheProgram) {
    sb.boxes->answers = {platform::kIdNo, platform::kIdYes};
    frmExportOptions f;
    try {
        ShowWith(f, [](frmExportOptions& form) {
            form.Control_Click(Ctl::cbExitConditions, CheckState::Checked);
            form.cmdCancel_Click();  // No: back in the dialog
            EXPECT_TRUE(form.Open());
            form.cmdCancel_Click();  // Yes: the program ends
            ADD_FAILURE() << "Yes did not end the program";
        });
        ADD_FAILURE() << "Show returned after Yes";
    } catch (const ProgramEnd& end) {
        EXPECT_EQ(end.exitStatus, kExitUserRequest);
    }
    ASSERT_EQ(sb.boxes->texts.size(), 2u);
    const std::string& question = sb.boxes->texts[0];
    EXPECT_NE(question.find("Warnung KVB00999Q  gemeldet von 'frmExportOptions.cmdCancel_Click'"), std::string::npos)
        << question;
    EXPECT_NE(question.find("Sind Sie sicher, daß Sie das Programm beenden möchten?"), std::string::npos);
    EXPECT_EQ(sb.boxes->styles[0], platform::kMbYesNo + platform::kMbQuestion + platform::kMbSetForeground);
    EXPECT_FALSE(std::filesystem::exists(sb.userHive));  // cancelled changes are not stored
    EXPECT_FALSE(f.Open());
}

TEST_F(ExportOptionsTest, ActivationGivesCatalogCaptionsFontsAndHelpTopics) {
    frmExportOptions f;
    f.Form_Load();
    EXPECT_EQ(f.Control(Ctl::Form).caption, "Options");
    EXPECT_EQ(f.Control(Ctl::TabNaming).caption, "Naming conventions");
    EXPECT_EQ(f.Control(Ctl::cbDrawDataConWithBendPoints).caption, "Insert bendpoints into  WPX data connectors");
    EXPECT_EQ(f.Control(Ctl::cmdHelp).caption, "&Help");
    EXPECT_EQ(f.Control(Ctl::cbWriteOtherSettings).helpContextId, 0);

    ShowWith(f, [](frmExportOptions& form) {
        form.cmdHelp_Click();
        form.cmdOK_Click();
    });
    EXPECT_EQ(view.fontsApplied, 1);
    EXPECT_EQ(view.helpTopics, std::vector<int>{50000});
    const char* tabs[] = {"Syntax",    "Graphik",      "Merkmale",  "Personalzuordnung",
                          "Schleifen", "Kontrollfluß", "Datentypen"};
    int tab = 0;
    for (const DialogControl& c : f.Controls()) {
        if (c.kind != ControlKind::Tab) continue;
        EXPECT_EQ(c.caption, tabs[tab++]);
    }
    EXPECT_EQ(tab, 7);
    struct Row {
        Ctl id;
        const char* caption;
        int helpId;
    };
    const Row rows[] = {
        {Ctl::Form, "Optionen", 50000},
        {Ctl::cmdHelp, "&Hilfe", 50001},
        {Ctl::SSTab1, "", 50002},
        {Ctl::cbWriteOtherSettings, "Weitere Einstellungen übernehmen", 50003},
        {Ctl::rbARISDomainType, "ARIS-Objekt 'ERM-Wertebereich'", 50004},
        {Ctl::efNumSuffix, "", 50011},
        {Ctl::cbConvertARISNames, "ARIS-Namen in WPX-verträgliche Namen umwandeln", 50018},
        {Ctl::stNumSuffix, "Startindex für die Numerierung generierter Datennamen (z.B.DATA_STRUCTURE_0)", 0},
        {Ctl::cmdApply, "Ü&bernehmen", 50019},
        {Ctl::cmdCancel, "Abbrechen", 50020},
        {Ctl::cmdOK, "OK", 50021},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(f.Control(r.id).caption, r.caption) << f.Control(r.id).name;
        EXPECT_EQ(f.Control(r.id).helpContextId, r.helpId) << f.Control(r.id).name;
    }
}

TEST_F(ExportOptionsTest, WithoutLanguageLibraryTheBuiltInCaptionsStay) {
    CurrentExport().LanguageLibrary.Free();
    frmExportOptions f;
    f.Form_Load();
    f.Form_Activate();
    EXPECT_EQ(f.Control(Ctl::TabDataTypes).caption, "Data types");
    EXPECT_EQ(f.Control(Ctl::cmdApply).caption, "Apply");
}

}  // namespace
