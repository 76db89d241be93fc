// The desktop windows, opened for real on a (virtual) display and driven with simulated
// events: the options dialog, its help, the save-file window and the message box styles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/gauge.h>
#include <wx/html/helpdata.h>
#include <wx/html/helpdlg.h>
#include <wx/html/helpwnd.h>
#include <wx/html/htmlwin.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "../support/TestEnv.h"
#include "app/clsIOHandler.h"
#include "app/frmExportOptions.h"
#include "platform/DesktopUi.h"
#include "platform/Desktop_wx.h"
#include "platform/Mnemonics.h"
#include "platform/RegistryStore.h"
#include "platform/UiMode.h"
#include "platform/UserLocale.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "runtime/modProgress.h"
#include "runtime/modUtilities.h"

namespace {

const char* kKey = modUtilities::kProgramKey;

/// Let the toolkit handle what is pending (painting, simulated input) for a while.
void Settle(int milliseconds) {
    wxStopWatch watch;
    while (watch.Time() < milliseconds) {
        wxTheApp->Yield(true);
        wxMilliSleep(10);
    }
}

wxWindow* ShownTopLevel(const wxString& name) {
    for (wxWindow* w : wxTopLevelWindows) {
        if (w->GetName() == name && w->IsShown()) return w;
    }
    return nullptr;
}

template <class T>
T* Child(wxWindow* parent, const char* name) {
    return dynamic_cast<T*>(wxWindow::FindWindowByName(name, parent));
}

void Send(wxWindow* w, wxEventType type, int value = 0) {
    wxCommandEvent e(type, w->GetId());
    e.SetEventObject(w);
    e.SetInt(value);
    w->GetEventHandler()->ProcessEvent(e);
}

/// Toggle a check box as a click does.
void Click(wxCheckBox* box) {
    box->SetValue(!box->GetValue());
    Send(box, wxEVT_CHECKBOX, box->GetValue() ? 1 : 0);
}

void Press(wxWindow* button) { Send(button, wxEVT_BUTTON); }

/// Sees every modal dialog the toolkit opens (native ones included, which are no top-level
/// windows of the toolkit's list); can answer one in place of the user.
class DialogSpy : public wxModalDialogHook {
public:
    /// Given a dialog about to open: wxID_NONE to show it, or the answer to return unshown.
    std::function<int(wxDialog*)> answer;
    std::vector<wxDialog*> open;

    int Enter(wxDialog* dialog) override {
        int result = answer ? answer(dialog) : wxID_NONE;
        if (result == wxID_NONE) open.push_back(dialog);
        return result;
    }
    void Exit(wxDialog* dialog) override { std::erase(open, dialog); }
    /// The innermost open dialog of a type.
    template <class T>
    T* Open() const {
        for (auto it = open.rbegin(); it != open.rend(); ++it) {
            if (auto* d = dynamic_cast<T*>(*it)) return d;
        }
        return nullptr;
    }
};

DialogSpy* g_spy = nullptr;

/// Ends every modal dialog still open after a time limit, so that a failing step cannot hang
/// the test run.
class Watchdog : public wxTimer {
public:
    explicit Watchdog(int seconds) { StartOnce(seconds * 1000); }
    void Notify() override {
        ADD_FAILURE() << "a dialog was still open after the time limit";
        for (wxDialog* dialog : std::vector<wxDialog*>(g_spy->open)) {
            if (dialog->IsModal()) dialog->EndModal(wxID_CANCEL);
        }
    }
};

/// Run a step once the next window's modal loop runs.
void WhenShown(std::function<void()> step) { wxTheApp->CallAfter(std::move(step)); }

/// Take a picture of a window's screen area into docs/ when screenshots are asked for.
void Screenshot(wxWindow* window, const std::string& file, bool nativeWindow = false) {
    const char* dir = std::getenv("LUMENPORT_SCREENSHOT_DIR");
    if (!dir || !window) return;
    Settle(800);
    // A native dialog has no geometry of the toolkit's own: the whole screen, trimmed to what
    // is drawn on it (the only window open).
    wxRect r = window->GetScreenRect();
    std::string area = !nativeWindow ? "-crop " + std::to_string(r.width) + "x" + std::to_string(r.height) + "+" +
                                           std::to_string(r.x) + "+" + std::to_string(r.y)
                                     : std::string("-trim");
    std::string command = "import -window root " + area + " +repage " + dir + "/" + file;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetInteractive(true); }
    void TearDown() override { platform::SetInteractive(false); }

    /// Load the language library named by "Language" in the user hive, as start-up does.
    void UseLanguage(const std::string& code) {
        platform::RegistryHive(sb.userHive, "HKEY_CURRENT_USER").Write(kKey, "Language", code);
        ASSERT_TRUE(modUtilities::LoadLocalizedResources());
    }

    platform::RegValue UserValue(const char* name) const {
        return platform::RegistryHive(sb.userHive, "HKEY_CURRENT_USER").Read(kKey, name);
    }

    testenv::Sandbox sb{""};
    Watchdog watchdog{60};
};

TEST_F(DesktopTest, GermanOptionsDialogShowsCatalogCaptionsAndStoresAChangedCheckBox) {
    UseLanguage("DEU");
    bool ran = false;
    WhenShown([&] {
        ran = true;
        wxWindow* dialog = ShownTopLevel("frmExportOptions");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(static_cast<wxDialog*>(dialog)->GetTitle(), wxString::FromUTF8("Optionen"));
        auto* tabs = Child<wxNotebook>(dialog, "SSTab1");
        ASSERT_NE(tabs, nullptr);
        const char* expected[] = {"Syntax",    "Graphik",      "Merkmale",  "Personalzuordnung",
                                  "Schleifen", "Kontrollfluß", "Datentypen"};
        ASSERT_EQ(tabs->GetPageCount(), 7u);
        for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(tabs->GetPageText(i), wxString::FromUTF8(expected[i]));
        EXPECT_EQ(tabs->GetSelection(), 0);

        auto* other = Child<wxCheckBox>(dialog, "cbWriteOtherSettings");
        auto* apply = Child<wxButton>(dialog, "cmdApply");
        auto* ok = Child<wxButton>(dialog, "cmdOK");
        ASSERT_TRUE(other && apply && ok);
        EXPECT_EQ(other->GetLabelText(), wxString::FromUTF8("Weitere Einstellungen übernehmen"));
        EXPECT_EQ(apply->GetLabelText(), wxString::FromUTF8("Übernehmen"));
        EXPECT_EQ(Child<wxButton>(dialog, "cmdCancel")->GetLabelText(), "Abbrechen");
        EXPECT_EQ(Child<wxRadioButton>(dialog, "rbARISAttrDataType")->GetLabelText(),
                  wxString::FromUTF8("ARIS-Attribut 'Datentyp'"));
        EXPECT_TRUE(Child<wxRadioButton>(dialog, "rbARISAttrDataType")->GetValue());
        // The long label is wrapped at blanks.
        wxString label = Child<wxStaticText>(dialog, "stNumSuffix")->GetLabelText();
        label.Replace("\n", " ");
        EXPECT_EQ(label,
                  wxString::FromUTF8("Startindex für die Numerierung generierter Datennamen (z.B.DATA_STRUCTURE_0)"));
        EXPECT_EQ(Child<wxTextCtrl>(dialog, "efNumSuffix")->GetValue(), "0");
        EXPECT_TRUE(ok->IsThisEnabled());
        EXPECT_EQ(static_cast<wxDialog*>(dialog)->GetDefaultItem(), ok);

        EXPECT_FALSE(other->GetValue());
        EXPECT_FALSE(apply->IsThisEnabled());
        Click(other);
        EXPECT_TRUE(apply->IsThisEnabled());
        Screenshot(dialog, "options-dialog-de.png");
        tabs->SetSelection(5);
        Screenshot(dialog, "options-dialog-de-control-flow.png");
        tabs->SetSelection(6);
        Screenshot(dialog, "options-dialog-de-data-types.png");
        Press(ok);
    });
    ExportOptionsDialog().Show();
    EXPECT_TRUE(ran);
    EXPECT_EQ(UserValue("UseOtherSettings"), platform::RegValue(std::int32_t{-1}));
    EXPECT_EQ(UserValue("ConvertNames"), platform::RegValue(std::int32_t{-1}));
    EXPECT_TRUE(CurrentExport().Options.UseOtherSettings);
}

TEST_F(DesktopTest, TypedSuffixKeepsOnlyDigitsAndCancelNoKeepsTheDialogOpen) {
    UseLanguage("ENU");
    sb.boxes->answers = {platform::kIdNo};
    bool ran = false;
    WhenShown([&] {
        ran = true;
        wxWindow* dialog = ShownTopLevel("frmExportOptions");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Child<wxNotebook>(dialog, "SSTab1")->GetPageText(0), "Naming conventions");
        Screenshot(dialog, "options-dialog-en.png");
        auto* suffix = Child<wxTextCtrl>(dialog, "efNumSuffix");
        ASSERT_NE(suffix, nullptr);
        // Real key presses through the display server.
        Settle(300);
        wxUIActionSimulator input;
        wxRect r = suffix->GetScreenRect();
        input.MouseMove(r.GetPosition() + wxPoint(r.width / 2, r.height / 2));
        input.MouseClick();
        Settle(200);
        suffix->SetFocus();
        suffix->SelectAll();
        Settle(200);
        input.Text("1a2");
        Settle(500);
        EXPECT_EQ(suffix->GetValue(), "12");
        EXPECT_EQ(ExportOptionsDialog().Control(Ctl::efNumSuffix).text, "12");

        Press(Child<wxButton>(dialog, "cmdCancel"));  // answered No: the dialog stays
        EXPECT_TRUE(static_cast<wxDialog*>(dialog)->IsModal());
        Press(Child<wxButton>(dialog, "cmdApply"));
        Press(Child<wxButton>(dialog, "cmdOK"));
    });
    ExportOptionsDialog().Show();
    EXPECT_TRUE(ran);
    ASSERT_EQ(sb.boxes->texts.size(), 1u);
    EXPECT_NE(sb.boxes->texts[0].find("KVB00999Q"), std::string::npos) << sb.boxes->texts[0];
    EXPECT_EQ(UserValue("FirstSuffixNumber"), platform::RegValue(std::int32_t{12}));
}

TEST_F(DesktopTest, CancelYesEndsTheProgram) {
    UseLanguage("DEU");
    WhenShown([&] {
        wxWindow* dialog = ShownTopLevel("frmExportOptions");
        ASSERT_NE(dialog, nullptr);
        Press(Child<wxButton>(dialog, "cmdCancel"));
    });
    try {
        ExportOptionsDialog().Show();
        ADD_FAILURE() << "Yes did not end the program";
    } catch (const ProgramEnd& end) {
        EXPECT_EQ(end.exitStatus, kExitUserRequest);
    }
    EXPECT_EQ(ShownTopLevel("frmExportOptions"), nullptr);
    EXPECT_EQ(UserValue("ConvertNames").index(), 0u);  // nothing stored
}

/// Once the help window's own modal loop runs: note its page, take its picture, close it.
TEST_F(DesktopTest, ProgressWindowAppearsOnASlowLoadAndCancelYesEndsTheProgram) {
    UseLanguage("ENU");
    modProgress::SetDelays(std::chrono::milliseconds(1000), std::chrono::milliseconds(500));
    wxStopWatch watch;
    modProgress::LoadStarted("/data/P/Dense.xml", 62'354'432);
    long appeared = -1;
    int status = -1;
    bool askedNo = false;
    sb.boxes->answers = {platform::kIdNo, platform::kIdYes};
    try {
        // A slow load: a chunk of 64 KiB every 10 ms.
        for (std::uint64_t read = 65536; read <= 62'354'432; read += 65536) {
            modProgress::BytesRead(read);
            wxMilliSleep(10);
            wxWindow* window = ShownTopLevel("frmProgress");
            if (!window) continue;
            if (appeared < 0) {
                appeared = watch.Time();
                EXPECT_TRUE(wxIsBusy());  // the pointer shows the program busy
                auto* text = Child<wxStaticText>(window, "lblProgress");
                ASSERT_NE(text, nullptr);
                EXPECT_TRUE(text->GetLabel().StartsWith("reading Dense.xml: ")) << text->GetLabel();
                EXPECT_TRUE(text->GetLabel().EndsWith(
                    " of 62.4 MB (" + std::to_string(Child<wxGauge>(window, "barProgress")->GetValue()) + " %)"))
                    << text->GetLabel();
                EXPECT_EQ(Child<wxButton>(window, "cmdCancel")->GetLabelText(), "Cancel");
                Screenshot(window, "progress-window-en.png");
                Press(Child<wxButton>(window, "cmdCancel"));  // answered No: the load goes on
            } else if (!askedNo && sb.boxes->texts.size() == 1) {
                askedNo = true;
                // A real click through the display: the window takes it while the load runs.
                wxUIActionSimulator input;
                const wxRect r = Child<wxButton>(window, "cmdCancel")->GetScreenRect();
                input.MouseMove(r.GetPosition() + wxPoint(r.width / 2, r.height / 2));
                input.MouseClick();  // answered Yes
            }
        }
        ADD_FAILURE() << "Cancel did not end the program";
    } catch (const ProgramEnd& end) {
        status = end.exitStatus;
    }
    modProgress::LoadFinished();
    EXPECT_EQ(status, kExitUserRequest);
    EXPECT_GE(appeared, 500);
    EXPECT_TRUE(askedNo);
    EXPECT_EQ(sb.boxes->texts.size(), 2u);
    EXPECT_EQ(ShownTopLevel("frmProgress"), nullptr);
    EXPECT_FALSE(wxIsBusy());
}

TEST_F(DesktopTest, ProgressWindowFollowsTheRoundsAndClosesWhenTheExportEnds) {
    UseLanguage("DEU");
    modProgress::SetDelays(std::chrono::milliseconds(1000), std::chrono::milliseconds(500));
    modProgress::ExportStarted();
    modProgress::RoundStarted(2);
    for (int i = 0; i < 40; ++i) {
        modProgress::ConstructCompleted();
        wxMilliSleep(10);
    }
    EXPECT_EQ(ShownTopLevel("frmProgress"), nullptr);  // not within the first half second
    wxWindow* window = nullptr;
    for (std::size_t process = 1; process <= 61 && !window; ++process) {
        modProgress::ProcessStarted(process, 61);
        for (int i = 0; i < 10; ++i) {
            modProgress::ConstructCompleted();
            wxMilliSleep(5);
        }
        window = ShownTopLevel("frmProgress");
    }
    ASSERT_NE(window, nullptr);
    // Let the window catch up with the last report.
    Settle(100);
    modProgress::ConstructCompleted();
    const wxString label = Child<wxStaticText>(window, "lblProgress")->GetLabel();
    EXPECT_TRUE(label.StartsWith("Runde 2, Prozess ")) << label;
    EXPECT_TRUE(label.Contains(" von 61, ")) << label;
    EXPECT_EQ(Child<wxButton>(window, "cmdCancel")->GetLabelText(), "Abbrechen");
    EXPECT_GT(Child<wxGauge>(window, "barProgress")->GetValue(), 0);
    Screenshot(window, "progress-window-de.png");
    modProgress::ExportFinished();
    EXPECT_EQ(ShownTopLevel("frmProgress"), nullptr);
    EXPECT_FALSE(wxIsBusy());
    EXPECT_TRUE(sb.boxes->texts.empty());
}

void CloseHelpNotingPage(wxString& opened, const char* screenshot = nullptr) {
    WhenShown([&opened, screenshot] {
        for (wxWindow* w : wxTopLevelWindows) {
            auto* help = dynamic_cast<wxHtmlHelpDialog*>(w);
            if (!help || !help->IsShown()) continue;
            opened = help->GetHelpWindow()->GetHtmlWindow()->GetOpenedPage();
            if (screenshot) Screenshot(help, screenshot);
            help->EndModal(wxID_OK);
        }
    });
}

TEST_F(DesktopTest, F1ContextHelpAndHelpButtonOpenTheTopics) {
    UseLanguage("DEU");
    wxString byKey, byContextHelp, byButton;
    WhenShown([&] {
        wxWindow* dialog = ShownTopLevel("frmExportOptions");
        ASSERT_NE(dialog, nullptr);
        // F1 pressed on the display server while the suffix box has the focus.
        auto* suffix = Child<wxTextCtrl>(dialog, "efNumSuffix");
        Settle(300);
        wxUIActionSimulator input;
        wxRect r = suffix->GetScreenRect();
        input.MouseMove(r.GetPosition() + wxPoint(r.width / 2, r.height / 2));
        input.MouseClick();
        suffix->SetFocus();
        Settle(200);
        CloseHelpNotingPage(byKey, "help-de.png");
        input.Char(WXK_F1);
        Settle(1500);
        // The context-help button asks the control that was clicked next for its help.
        auto* loops = Child<wxCheckBox>(dialog, "cbDataFlowLoops");
        CloseHelpNotingPage(byContextHelp);
        wxHelpEvent ask(wxEVT_HELP, loops->GetId(), wxDefaultPosition, wxHelpEvent::Origin_HelpButton);
        ask.SetEventObject(loops);
        loops->GetEventHandler()->ProcessEvent(ask);
        CloseHelpNotingPage(byButton);
        Press(Child<wxButton>(dialog, "cmdHelp"));
        Press(Child<wxButton>(dialog, "cmdOK"));
    });
    ExportOptionsDialog().Show();
    EXPECT_TRUE(byKey.EndsWith("#zip:numsuffix.html")) << byKey;
    EXPECT_TRUE(byContextHelp.EndsWith("#zip:dataloops.html")) << byContextHelp;
    EXPECT_TRUE(byButton.EndsWith("#zip:options.html")) << byButton;
    EXPECT_TRUE(byKey.Contains("kvbrdeu.htb")) << byKey;
}

/// Every control's help topic is in both help books.
TEST(HelpBooks, HoldATopicForEveryContextId) {
    testenv::Sandbox sb("");
    frmExportOptions form;
    form.Form_Load();
    form.SetHelpContextIDs();
    for (const char* book : {"kvbrdeu.htb", "kvbrenu.htb"}) {
        wxHtmlHelpData data;
        ASSERT_TRUE(data.AddBook(wxString::FromUTF8(testenv::BinPath(book)))) << book;
        int topics = 0;
        for (const DialogControl& c : form.Controls()) {
            if (c.helpContextId == 0) continue;
            ++topics;
            wxString page = data.FindPageById(c.helpContextId);
            EXPECT_FALSE(page.empty()) << book << ": no topic " << c.helpContextId << " for " << c.name;
            wxFileSystem fs;
            std::unique_ptr<wxFSFile> file(fs.OpenFile(page));
            EXPECT_TRUE(file) << book << ": " << page;
        }
        EXPECT_GE(topics, 22);
    }
}

TEST_F(DesktopTest, SaveFileWindowProposesTheNameAndAddsTheDefaultExtension) {
    testenv::TempDir temp;
    std::string folder = temp.File("exports");
    testenv::WriteFile(folder + "/claims.wpx", "");
    testenv::WriteFile(folder + "/claims.log", "");
    testenv::WriteFile(folder + "/order-handling.wpx", "");
    platform::SaveFileRequest request{
        folder, "proc", "Flow Definition Files (*.wpx)|*.wpx|All Files (*.*)|*.*", "wpx", {}};
    ASSERT_TRUE(platform::SaveFileDialog());
    wxString wildcard, directory;
    int filterIndex = -1;
    WhenShown([&] {
        auto* dialog = g_spy->Open<wxFileDialog>();
        ASSERT_NE(dialog, nullptr);
        wildcard = dialog->GetWildcard();
        directory = dialog->GetDirectory();
        filterIndex = dialog->GetFilterIndex();
        Screenshot(dialog, "save-file-dialog.png", true);
        dialog->EndModal(wxID_OK);
    });
    std::optional<std::string> chosen = platform::SaveFileDialog()(request);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, folder + "/proc.wpx");
    EXPECT_EQ(wildcard, "Flow Definition Files (*.wpx)|*.wpx|All Files (*.*)|*.*");
    EXPECT_EQ(filterIndex, 0);

    WhenShown([&] {
        auto* dialog = g_spy->Open<wxFileDialog>();
        ASSERT_NE(dialog, nullptr);
        dialog->EndModal(wxID_CANCEL);
    });
    EXPECT_FALSE(platform::SaveFileDialog()(request).has_value());
}

/// The windows of a tab page and its descendants (the frame's option buttons included).
void CollectControls(wxWindow* parent, std::vector<wxControl*>& out) {
    for (wxWindow* child : parent->GetChildren()) {
        if (auto* control = dynamic_cast<wxControl*>(child)) out.push_back(control);
        CollectControls(child, out);
    }
}

TEST_F(DesktopTest, EveryControlHasAMnemonicUniqueInItsTabAndTheCaptionsStay) {
    for (const char* language : {"ENU", "DEU"}) {
        UseLanguage(language);
        WhenShown([&] {
            wxWindow* dialog = ShownTopLevel("frmExportOptions");
            ASSERT_NE(dialog, nullptr);
            auto* tabs = Child<wxNotebook>(dialog, "SSTab1");
            std::vector<wxControl*> buttons;
            for (const char* name : {"cmdOK", "cmdCancel", "cmdApply", "cmdHelp"})
                buttons.push_back(Child<wxButton>(dialog, name));
            const frmExportOptions& form = ExportOptionsDialog();
            for (std::size_t tab = 0; tab < tabs->GetPageCount(); ++tab) {
                std::vector<wxControl*> controls = buttons;
                CollectControls(tabs->GetPage(tab), controls);
                std::map<char32_t, wxString> seen;
                for (wxControl* control : controls) {
                    if (dynamic_cast<wxTextCtrl*>(control)) continue;  // named by its label
                    wxString label = control->GetLabel();
                    char32_t mnemonic = platform::MnemonicOf(label.utf8_string());
                    EXPECT_NE(mnemonic, 0u) << language << " tab " << tab << ": " << label;
                    if (mnemonic) {
                        auto [it, fresh] = seen.emplace(mnemonic, label);
                        EXPECT_TRUE(fresh) << language << " tab " << tab << ": " << label << " and " << it->second;
                    }
                    // The caption is the catalog's, with only the mnemonic's mark added.
                    for (const DialogControl& c : form.Controls()) {
                        if (c.name == control->GetName().utf8_string()) {
                            wxString plain = wxString::FromUTF8(c.caption);
                            plain.Replace("&", "");
                            wxString shown = control->GetLabelText();
                            shown.Replace("\n", " ");
                            EXPECT_EQ(shown, plain) << c.name;
                        }
                    }
                }
            }
            // Pressed on the display server: a check box's mnemonic toggles it, the label's
            // mnemonic puts the focus into the text box it names.
            Settle(300);
            wxUIActionSimulator input;
            if (std::string(language) == "DEU") {
                // The marked letters show while Alt is held.
                input.KeyDown(WXK_ALT);
                Settle(200);
                Screenshot(dialog, "options-dialog-de-mnemonics.png");
                input.KeyUp(WXK_ALT);
                Settle(200);
            }
            auto* names = Child<wxCheckBox>(dialog, "cbConvertARISNames");
            bool before = names->GetValue();
            input.Char(static_cast<int>(platform::MnemonicOf(names->GetLabel().utf8_string())), wxMOD_ALT);
            Settle(400);
            EXPECT_NE(names->GetValue(), before) << language;
            auto* label = Child<wxStaticText>(dialog, "stNumSuffix");
            input.Char(static_cast<int>(platform::MnemonicOf(label->GetLabel().utf8_string())), wxMOD_ALT);
            Settle(400);
            EXPECT_EQ(wxWindow::FindFocus(), Child<wxTextCtrl>(dialog, "efNumSuffix")) << language;
            Press(Child<wxButton>(dialog, "cmdOK"));
        });
        ExportOptionsDialog().Show();
    }
}

TEST_F(DesktopTest, EscapeCancelsFromAnyControlAlsoAfterApply) {
    UseLanguage("ENU");
    sb.boxes->answers = std::vector<int>(8, platform::kIdNo);
    std::vector<std::string> escapedFrom;
    WhenShown([&] {
        auto* dialog = static_cast<wxDialog*>(ShownTopLevel("frmExportOptions"));
        ASSERT_NE(dialog, nullptr);
        Settle(300);
        wxUIActionSimulator input;
        auto clickOn = [&](wxWindow* w) {
            wxRect r = w->GetScreenRect();
            input.MouseMove(r.GetPosition() + wxPoint(r.width / 2, r.height / 2));
            input.MouseClick();
            Settle(300);
        };
        auto escape = [&](const char* from) {
            std::size_t asked = sb.boxes->texts.size();
            input.Char(WXK_ESCAPE);
            Settle(400);
            EXPECT_EQ(sb.boxes->texts.size(), asked + 1) << "Escape from " << from << " was not a cancel";
            EXPECT_TRUE(dialog->IsModal());  // answered No: the dialog stays
            escapedFrom.push_back(from);
        };
        // A change, then Apply clicked: it saves, is disabled, and Escape still cancels.
        clickOn(Child<wxCheckBox>(dialog, "cbRemoveLineBreaks"));
        auto* apply = Child<wxButton>(dialog, "cmdApply");
        ASSERT_TRUE(apply->IsThisEnabled());
        clickOn(apply);
        EXPECT_FALSE(apply->IsThisEnabled());
        escape("Apply");
        clickOn(Child<wxTextCtrl>(dialog, "efNumSuffix"));
        escape("efNumSuffix");
        clickOn(Child<wxCheckBox>(dialog, "cbConvertARISNames"));
        escape("cbConvertARISNames");
        Child<wxNotebook>(dialog, "SSTab1")->SetSelection(6);
        Settle(300);
        clickOn(Child<wxRadioButton>(dialog, "rbARISDomainType"));
        escape("rbARISDomainType");
        Child<wxButton>(dialog, "cmdHelp")->SetFocus();
        Settle(200);
        escape("cmdHelp");
        Press(Child<wxButton>(dialog, "cmdOK"));
    });
    ExportOptionsDialog().Show();
    EXPECT_EQ(escapedFrom.size(), 5u);
    for (const std::string& text : sb.boxes->texts) EXPECT_NE(text.find("KVB00999Q"), std::string::npos) << text;
    EXPECT_EQ(UserValue("RemoveLineBreaks"), platform::RegValue(std::int32_t{0}));  // saved by Apply
}

TEST_F(DesktopTest, SaveWindowStartsInTheLastFolderAndAsksAboutTheLogToo) {
    UseLanguage("DEU");
    testenv::TempDir temp;
    std::string folder = temp.File("exports");
    testenv::WriteFile(folder + "/claims.wpx", "old");
    testenv::WriteFile(folder + "/claims.log", "old");
    std::filesystem::create_directories(temp.File("integration"));
    // The window changes folders in the background: every answer is a name in the folder
    // the window shows, which the tool integration's "OutputPath" gives first.
    platform::RegistryHive user(sb.userHive, "HKEY_CURRENT_USER");
    user.Write(modUtilities::kToolIntegrationKey, "OutputPath", folder);
    sb.boxes->answers = {platform::kIdNo};
    // The save windows, answered in turn with these files; the folder each one started in.
    std::vector<std::string> answers = {"claims.wpx", "orders.wpx", "returns.wpx"};
    std::vector<wxString> folders;
    bool pending = false;  // the toolkit enters the file window's modal state twice per showing
    g_spy->answer = [&](wxDialog* dialog) {
        auto* window = dynamic_cast<wxFileDialog*>(dialog);
        if (window && !answers.empty() && !pending) {
            // Answered once this showing's modal loop runs.
            pending = true;
            std::string path = answers.front();
            answers.erase(answers.begin());
            wxTheApp->CallAfter([&folders, &pending, window, path] {
                pending = false;
                Settle(500);  // the window reads its folder in the background
                folders.push_back(window->GetDirectory());
                window->SetFilename(wxString::FromUTF8(path));
                window->EndModal(wxID_OK);
            });
        }
        return static_cast<int>(wxID_NONE);
    };
    struct Forget {
        ~Forget() { g_spy->answer = nullptr; }
    } forget;
    // The file that exists is chosen first (answered No), then a new one beside it.
    clsIOHandler first;
    first.FileSelectDialog();
    EXPECT_EQ(first.DefinitionFileName(), folder + "/orders.wpx");
    ASSERT_EQ(sb.boxes->texts.size(), 1u);
    EXPECT_EQ(sb.boxes->texts[0],
              "claims.wpx ist bereits vorhanden.\r\nMöchten Sie die Datei ersetzen? Ihr Protokoll claims.log wird "
              "ebenfalls ersetzt.");
    EXPECT_EQ(sb.boxes->styles[0] & 0x70, platform::kMbExclamation);
    EXPECT_EQ(testenv::ReadFile(folder + "/claims.log"), "old");  // answered No: nothing replaced

    // The next export starts in the folder of the last definition file, not in "OutputPath".
    user.Write(modUtilities::kToolIntegrationKey, "OutputPath", temp.File("integration"));
    clsIOHandler second;
    second.FileSelectDialog();
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[2], wxString::FromUTF8(folder));
    EXPECT_EQ(second.DefinitionFileName(), folder + "/returns.wpx");
}

TEST(DesktopForms, MessageBoxesShowTheIconOfTheirTypeAndButtonsInTheLanguage) {
    platform::WxMessageBox presenter([] { return platform::MessageBoxLabels{"&Ja", "&Nein", "OK", "Abbrechen"}; });
    struct Row {
        int style;
        wxArtID icon;
        std::vector<wxString> buttons;
    } rows[] = {
        {platform::kMbOkOnly + platform::kMbCritical, wxART_ERROR, {"OK"}},
        {platform::kMbYesNo + platform::kMbQuestion, wxART_QUESTION, {"Ja", "Nein"}},
        {platform::kMbOkOnly + platform::kMbExclamation, wxART_WARNING, {"OK"}},
        {platform::kMbOkCancel + platform::kMbInformation, wxART_INFORMATION, {"OK", "Abbrechen"}},
    };
    for (const Row& r : rows) {
        std::vector<wxStaticBitmap*> icons;
        std::vector<wxImage> images;
        std::vector<wxString> buttons;
        WhenShown([&] {
            auto* dialog = g_spy->Open<wxDialog>();
            ASSERT_NE(dialog, nullptr);
            std::vector<wxControl*> controls;
            CollectControls(dialog, controls);
            for (wxControl* c : controls) {
                if (auto* bitmap = dynamic_cast<wxStaticBitmap*>(c)) {
                    icons.push_back(bitmap);
                    images.push_back(bitmap->GetBitmap().ConvertToImage());
                }
                if (auto* button = dynamic_cast<wxButton*>(c)) buttons.push_back(button->GetLabelText());
            }
            if ((r.style & 0x70) == platform::kMbQuestion) Screenshot(dialog, "message-box-question.png");
            dialog->EndModal(wxID_OK);
        });
        presenter.Show(
            "Warnung KVB00999Q  gemeldet von 'frmExportOptions.cmdCancel_Click'\r\n\r\n"
            "Sind Sie sicher, daß Sie das Programm beenden möchten?\r\n",
            r.style, "Lumenport");
        std::sort(buttons.begin(), buttons.end());
        std::vector<wxString> expected = r.buttons;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(buttons, expected) << r.style;
        ASSERT_EQ(icons.size(), 1u) << r.style;
        // The very icon the art provider gives for the type.
        wxImage shown = images[0];
        wxImage wanted = wxArtProvider::GetBitmap(r.icon, wxART_MESSAGE_BOX).ConvertToImage();
        ASSERT_TRUE(shown.IsOk() && wanted.IsOk()) << r.style;
        ASSERT_EQ(shown.GetSize(), wanted.GetSize()) << r.style;
        EXPECT_EQ(std::memcmp(shown.GetData(), wanted.GetData(), shown.GetWidth() * shown.GetHeight() * 3), 0)
            << r.style;
    }
}

TEST(DesktopForms, MessageBoxWindowHasTitleTextIconAndButtons) {
    platform::WxMessageBox presenter;
    wxString message, caption;
    long style = 0;
    g_spy->answer = [&](wxDialog* dialog) {
        auto* box = dynamic_cast<wxMessageDialogBase*>(dialog);
        if (!box) return static_cast<int>(wxID_NONE);
        message = box->GetMessage();
        caption = box->GetTitle();
        style = box->GetMessageDialogStyle();
        return static_cast<int>(wxID_NO);
    };
    int answer = presenter.Show("Warnung KVB00999Q  gemeldet von 'x'\r\n\r\nSind Sie sicher?\r\n",
                                platform::kMbYesNo + platform::kMbQuestion + platform::kMbSetForeground, "Lumenport");
    g_spy->answer = nullptr;
    EXPECT_EQ(answer, platform::kIdNo);
    EXPECT_EQ(caption, "Lumenport");
    EXPECT_EQ(message, "Warnung KVB00999Q  gemeldet von 'x'\n\nSind Sie sicher?\n");
    EXPECT_EQ(style & (wxYES_NO | wxOK | wxCANCEL | wxICON_MASK), wxYES_NO | wxICON_QUESTION);
}

TEST(DesktopForms, MessageBoxStylesAndAnswers) {
    struct Row {
        int style;
        long flags;
    };
    const Row rows[] = {
        {platform::kMbOkOnly + platform::kMbCritical, wxOK | wxICON_ERROR},
        {platform::kMbYesNo + platform::kMbQuestion + platform::kMbSetForeground, wxYES_NO | wxICON_QUESTION},
        {platform::kMbOkOnly + platform::kMbExclamation, wxOK | wxICON_WARNING},
        {platform::kMbOkCancel + platform::kMbCritical, wxOK | wxCANCEL | wxICON_ERROR},
        {platform::kMbOkOnly + platform::kMbInformation, wxOK | wxICON_INFORMATION},
    };
    for (const Row& r : rows) {
        long flags = platform::WxMessageBoxFlags(r.style);
        EXPECT_EQ(flags & (wxOK | wxCANCEL | wxYES_NO | wxICON_MASK), r.flags) << r.style;
        EXPECT_TRUE(flags & wxSTAY_ON_TOP) << r.style;
    }
    EXPECT_EQ(platform::MsgBoxResultOf(wxID_YES, platform::kMbYesNo), platform::kIdYes);
    EXPECT_EQ(platform::MsgBoxResultOf(wxID_NO, platform::kMbYesNo), platform::kIdNo);
    EXPECT_EQ(platform::MsgBoxResultOf(wxID_CANCEL, platform::kMbYesNo), platform::kIdNo);
    EXPECT_EQ(platform::MsgBoxResultOf(wxID_CANCEL, platform::kMbOkCancel), platform::kIdCancel);
    EXPECT_EQ(platform::MsgBoxResultOf(wxID_OK, platform::kMbOkCancel), platform::kIdOk);
    EXPECT_EQ(platform::MsgBoxResultOf(wxID_CANCEL, platform::kMbOkOnly), platform::kIdOk);
}

TEST(DesktopForms, DefaultExtensionAndFontCharacterSets) {
    EXPECT_EQ(platform::WithDefaultExtension("/out/proc", "wpx"), "/out/proc.wpx");
    EXPECT_EQ(platform::WithDefaultExtension("/out/proc.txt", "wpx"), "/out/proc.txt");
    EXPECT_EQ(platform::WithDefaultExtension("/out.d/proc", "wpx"), "/out.d/proc.wpx");
    struct Row {
        const char* locale;
        wxFontEncoding encoding;
    };
    const Row rows[] = {
        {"ja_JP.UTF-8", wxFONTENCODING_SHIFT_JIS}, {"ko_KR.UTF-8", wxFONTENCODING_CP949},
        {"zh_TW.UTF-8", wxFONTENCODING_BIG5},      {"zh_CN.GB2312", wxFONTENCODING_GB2312},
        {"zh_HK.UTF-8", wxFONTENCODING_DEFAULT},   {"de_DE.UTF-8", wxFONTENCODING_DEFAULT},
        {"C.UTF-8", wxFONTENCODING_DEFAULT},
    };
    for (const Row& r : rows) {
        int set = platform::CharacterSetForLocale(platform::LocaleIdOf(r.locale));
        EXPECT_EQ(platform::FontEncodingForCharacterSet(set), r.encoding) << r.locale;
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!InstallDesktopUi(argc, argv)) {
        std::cerr << "test_ui_desktop: the window toolkit cannot start (no display?)\n";
        return 1;
    }
    wxFileSystem::AddHandler(new wxArchiveFSHandler);
    DialogSpy spy;
    spy.Register();
    g_spy = &spy;
    int status = RUN_ALL_TESTS();
    spy.Unregister();
    ShutdownDesktopUi();
    return status;
}
