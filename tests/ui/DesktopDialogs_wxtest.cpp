// The desktop windows, opened for real on a (virtual) display and driven with simulated
// events: the options dialog, its help, the save-file window and the message box styles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/html/helpdata.h>
#include <wx/html/helpdlg.h>
#include <wx/html/helpwnd.h>
#include <wx/html/htmlwin.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "../support/TestEnv.h"
#include "runtime/clsExceptionHandler.h"
#include "app/frmExportOptions.h"
#include "runtime/modGlobals.h"
#include "runtime/modUtilities.h"
#include "platform/Desktop_wx.h"
#include "platform/DesktopUi.h"
#include "platform/RegistryStore.h"
#include "platform/UiMode.h"
#include "platform/UserLocale.h"

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
    std::string area = !nativeWindow ? "-crop " + std::to_string(r.width) + "x" + std::to_string(r.height) +
                                                         "+" + std::to_string(r.x) + "+" + std::to_string(r.y)
                                                   : std::string("-trim");
    std::string command = "import -window root " + area + " +repage " + dir + "/" + file;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetInteractive(true);
    }
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
        const char* expected[] = {"Syntax", "Graphik", "Merkmale", "Personalzuordnung", "Schleifen",
                                  "Kontrollfluß", "Datentypen"};
        ASSERT_EQ(tabs->GetPageCount(), 7u);
        for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(tabs->GetPageText(i), wxString::FromUTF8(expected[i]));
        EXPECT_EQ(tabs->GetSelection(), 0);

        auto* other = Child<wxCheckBox>(dialog, "cbWriteOtherSettings");
        auto* apply = Child<wxButton>(dialog, "cmdApply");
        auto* ok = Child<wxButton>(dialog, "cmdOK");
        ASSERT_TRUE(other && apply && ok);
        EXPECT_EQ(other->GetLabel(), wxString::FromUTF8("Weitere Einstellungen übernehmen"));
        EXPECT_EQ(apply->GetLabelText(), wxString::FromUTF8("Übernehmen"));
        EXPECT_EQ(Child<wxButton>(dialog, "cmdCancel")->GetLabel(), "Abbrechen");
        EXPECT_EQ(Child<wxRadioButton>(dialog, "rbARISAttrDataType")->GetLabel(),
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
    platform::SaveFileRequest request{folder, "proc", "Flow Definition Files (*.wpx)|*.wpx|All Files (*.*)|*.*",
                                      "wpx"};
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

TEST(DesktopForms, MessageBoxWindowHasTitleTextIconAndButtons) {
    platform::WxMessageBox presenter;
    wxString message, caption;
    long style = 0;
    g_spy->answer = [&](wxDialog* dialog) {
        auto* box = dynamic_cast<wxMessageDialog*>(dialog);
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
