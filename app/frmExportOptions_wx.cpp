#include "app/frmExportOptions_wx.h"

#include <array>
#include <exception>
#include <utility>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/cshelp.h>
#include <wx/dialog.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "app/frmExportOptions.h"
#include "platform/Desktop_wx.h"
#include "platform/HelpBook.h"
#include "platform/MessageBox.h"
#include "platform/Mnemonics.h"
#include "runtime/modGlobals.h"

namespace {

/// Width at which the long labels wrap.
constexpr int kLabelWidth = 460;
/// Room a tab takes beside its caption (padding and borders of the toolkit's tabs).
constexpr int kTabPadding = 34;

wxString Wx(const std::string& utf8) { return wxString::FromUTF8(utf8); }

/// The window of frmExportOptions: a tab control with one page per tab, the buttons below.
/// It shows the states the dialog's logic keeps and forwards every user action to it.
class frmExportOptionsWindow : public wxDialog, public ExportOptionsView {
public:
    explicit frmExportOptionsWindow(frmExportOptions& form);

    void RunModal() override;
    void Dismiss() override;
    void SetNlsFontForm() override { platform::Set_NLS_Font_Form(this); }
    void ShowStates() override;
    void Beep() override { wxBell(); }
    void OpenHelp(int contextId) override;

private:
    wxWindow*& Window(Ctl id) { return windows_[static_cast<std::size_t>(id)]; }
    void CreateTabs();
    void CreateControl(const DialogControl& c, wxWindow* page, wxSizer* sizer);
    void CreateButtons(wxSizer* sizer);
    void FinishPage(wxWindow* page, wxSizer* sizer);
    void ArrangeLabels();
    void FitTabsSideBySide();
    void BindEvents();
    void ShowState(const DialogControl& c);
    void AssignMnemonics();
    wxWindow* MnemonicTarget(Ctl id);
    bool ActivateLabelMnemonic(wxKeyEvent& event);
    int HelpContextIdOf(wxWindow* window) const;
    void OnHelpRequest(wxWindow* window);
    void OnNumSuffixChar(wxKeyEvent& event);
    void OnCharHook(wxKeyEvent& event);

    /// Run one handler of the dialog's logic; an error that ends the program closes the window
    /// and is passed on after the modal loop (never through the toolkit's event loop).
    template <class Handler>
    void Guard(Handler handler) {
        try {
            handler();
        } catch (...) {
            pending_ = std::current_exception();
            if (IsModal()) EndModal(wxID_ABORT);
        }
    }

    frmExportOptions& form_;
    std::array<wxWindow*, static_cast<std::size_t>(Ctl::Count)> windows_{};
    /// The captions as shown: the dialog's captions with a mnemonic marked in each.
    std::array<std::string, static_cast<std::size_t>(Ctl::Count)> shown_{};
    wxNotebook* tabs_ = nullptr;
    wxStaticBoxSizer* frame_ = nullptr;  ///< the sizer of the data-type frame
    std::exception_ptr pending_;
};

frmExportOptionsWindow::frmExportOptionsWindow(frmExportOptions& form)
    : wxDialog(nullptr, wxID_ANY, Wx(form.Control(Ctl::Form).caption), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxDIALOG_NO_PARENT, Wx(form.Control(Ctl::Form).name)),
      form_(form) {
    SetExtraStyle(GetExtraStyle() | wxDIALOG_EX_CONTEXTHELP);
    Window(Ctl::Form) = this;
    auto* top = new wxBoxSizer(wxVERTICAL);
    tabs_ = new wxNotebook(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, "SSTab1");
    Window(Ctl::SSTab1) = tabs_;
    CreateTabs();
    top->Add(tabs_, 1, wxEXPAND | wxALL, 10);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    CreateButtons(buttons);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    SetSizer(top);
    BindEvents();
    ShowStates();
    tabs_->SetSelection(static_cast<std::size_t>(form_.SelectedTab()));
}

void frmExportOptionsWindow::CreateTabs() {
    wxWindow* page = nullptr;
    wxSizer* sizer = nullptr;
    for (const DialogControl& c : form_.Controls()) {
        if (c.tab < 0) continue;
        if (c.kind == ControlKind::Tab) {
            if (page) FinishPage(page, sizer);
            page = new wxPanel(tabs_, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL, Wx(c.name));
            sizer = new wxBoxSizer(wxVERTICAL);
            Window(c.id) = page;
            tabs_->AddPage(page, Wx(c.caption));
            continue;
        }
        CreateControl(c, page, sizer);
    }
    if (page) FinishPage(page, sizer);
    ArrangeLabels();
}

void frmExportOptionsWindow::FinishPage(wxWindow* page, wxSizer* sizer) {
    sizer->AddSpacer(10);
    page->SetSizer(sizer);
}

void frmExportOptionsWindow::CreateControl(const DialogControl& c, wxWindow* page, wxSizer* sizer) {
    // The option buttons sit inside the frame of the data-type tab.
    wxWindow* parent = page;
    if (c.kind == ControlKind::OptionButton) parent = Window(Ctl::frDataTypes);
    wxWindow* w = nullptr;
    switch (c.kind) {
        case ControlKind::Label:
            w = new wxStaticText(parent, wxID_ANY, Wx(c.caption), wxDefaultPosition, wxDefaultSize, 0, Wx(c.name));
            break;
        case ControlKind::CheckBox:
            w = new wxCheckBox(parent, wxID_ANY, Wx(c.caption), wxDefaultPosition, wxDefaultSize, 0, wxDefaultValidator,
                               Wx(c.name));
            break;
        case ControlKind::TextBox: {
            auto* text = new wxTextCtrl(parent, wxID_ANY, Wx(c.text), wxDefaultPosition, wxSize(90, -1), 0,
                                        wxDefaultValidator, Wx(c.name));
            text->SetMaxLength(frmExportOptions::kMaxSuffixDigits);
            w = text;
            break;
        }
        case ControlKind::Frame: {
            auto* box =
                new wxStaticBox(parent, wxID_ANY, Wx(c.caption), wxDefaultPosition, wxDefaultSize, 0, Wx(c.name));
            Window(c.id) = box;
            frame_ = new wxStaticBoxSizer(box, wxVERTICAL);
            sizer->Add(frame_, 0, wxEXPAND | wxALL, 10);
            return;
        }
        case ControlKind::OptionButton: {
            const bool first = c.id == Ctl::rbARISDomainType;
            w = new wxRadioButton(parent, wxID_ANY, Wx(c.caption), wxDefaultPosition, wxDefaultSize,
                                  first ? wxRB_GROUP : 0, wxDefaultValidator, Wx(c.name));
            Window(c.id) = w;
            frame_->Add(w, 0, wxALL, 5);
            return;
        }
        default: return;
    }
    Window(c.id) = w;
    sizer->Add(w, 0, wxLEFT | wxRIGHT | wxTOP, 10);
}

void frmExportOptionsWindow::ArrangeLabels() {
    // The controls were created in the dialog's order (the label first); shown, the label
    // stands beside the text box below the check boxes.
    wxSizer* sizer = Window(Ctl::TabNaming)->GetSizer();
    wxWindow* label = Window(Ctl::stNumSuffix);
    wxWindow* text = Window(Ctl::efNumSuffix);
    sizer->Detach(label);
    sizer->Detach(text);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(label, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 10);
    row->Add(text, 0, wxALIGN_CENTER_VERTICAL);
    sizer->Add(row, 0, wxEXPAND | wxALL, 10);
    // On the control-flow tab the label explains the check boxes: it stands above them.
    wxWindow* flowLabel = Window(Ctl::stControlFlow);
    wxSizer* flow = Window(Ctl::TabControlFlow)->GetSizer();
    flow->Detach(flowLabel);
    flow->Insert(0, flowLabel, 0, wxLEFT | wxRIGHT | wxTOP, 10);
}

void frmExportOptionsWindow::CreateButtons(wxSizer* sizer) {
    sizer->Add(new wxContextHelpButton(this), 0, wxALIGN_CENTER_VERTICAL);
    sizer->AddStretchSpacer();
    for (const Ctl id : {Ctl::cmdOK, Ctl::cmdCancel, Ctl::cmdApply, Ctl::cmdHelp}) {
        const DialogControl& c = form_.Control(id);
        auto* button = new wxButton(this, wxID_ANY, Wx(c.caption), wxDefaultPosition, wxDefaultSize, 0,
                                    wxDefaultValidator, Wx(c.name));
        Window(id) = button;
        sizer->Add(button, 0, wxLEFT, 6);
    }
    static_cast<wxButton*>(Window(Ctl::cmdOK))->SetDefault();
    SetEscapeId(Window(Ctl::cmdCancel)->GetId());
}

void frmExportOptionsWindow::BindEvents() {
    for (const DialogControl& c : form_.Controls()) {
        wxWindow* w = Window(c.id);
        Ctl id = c.id;
        if (c.kind == ControlKind::CheckBox) {
            w->Bind(wxEVT_CHECKBOX, [this, id](wxCommandEvent& e) {
                Guard([&] { form_.Control_Click(id, e.IsChecked() ? CheckState::Checked : CheckState::Unchecked); });
            });
        } else if (c.kind == ControlKind::OptionButton) {
            w->Bind(wxEVT_RADIOBUTTON,
                    [this, id](wxCommandEvent&) { Guard([&] { form_.Control_Click(id, CheckState::Checked); }); });
        }
    }
    wxWindow* suffix = Window(Ctl::efNumSuffix);
    suffix->Bind(wxEVT_CHAR, &frmExportOptionsWindow::OnNumSuffixChar, this);
    suffix->Bind(wxEVT_TEXT,
                 [this](wxCommandEvent& e) { Guard([&] { form_.efNumSuffix_Change(e.GetString().utf8_string()); }); });
    Window(Ctl::cmdOK)->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Guard([&] { form_.cmdOK_Click(); }); });
    Window(Ctl::cmdCancel)->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Guard([&] { form_.cmdCancel_Click(); }); });
    Window(Ctl::cmdApply)->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Guard([&] { form_.cmdApply_Click(); }); });
    Window(Ctl::cmdHelp)->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Guard([&] { form_.cmdHelp_Click(); }); });
    tabs_->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent& e) {
        if (e.GetEventObject() == tabs_) form_.SelectTab(e.GetSelection());
        e.Skip();
    });
    // Closing the window by its title bar is a cancel.
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& e) {
        if (e.CanVeto()) e.Veto();
        Guard([&] { form_.cmdCancel_Click(); });
    });
    Bind(wxEVT_HELP, [this](wxHelpEvent& e) { OnHelpRequest(dynamic_cast<wxWindow*>(e.GetEventObject())); });
    Bind(wxEVT_CHAR_HOOK, &frmExportOptionsWindow::OnCharHook, this);
}

void frmExportOptionsWindow::OnNumSuffixChar(wxKeyEvent& event) {
    wxChar key = event.GetUnicodeKey();
    // Keys that type no character (arrows, Delete), Tab, Enter, Escape and shortcuts keep
    // their usual work; only typed characters and backspace are filtered.
    const bool typesCharacter = key != WXK_NONE && (key >= 32 || key == WXK_BACK) && key != WXK_DELETE;
    if (!typesCharacter || event.ControlDown() || event.AltDown()) {
        event.Skip();
        return;
    }
    bool accepted = false;
    Guard([&] { accepted = form_.efNumSuffix_KeyPress(static_cast<char32_t>(key)); });
    if (accepted) event.Skip();
}

void frmExportOptionsWindow::OnCharHook(wxKeyEvent& event) {
    if (ActivateLabelMnemonic(event)) return;
    if (event.GetKeyCode() != WXK_F1 || event.HasAnyModifiers()) {
        event.Skip();
        return;
    }
    OnHelpRequest(wxWindow::FindFocus());
}

wxWindow* frmExportOptionsWindow::MnemonicTarget(Ctl id) {
    // A label or frame hands its mnemonic on to the control it names; the toolkit activates
    // the others' mnemonics itself.
    switch (id) {
        case Ctl::stNumSuffix: return Window(Ctl::efNumSuffix);
        case Ctl::stControlFlow: return Window(Ctl::cbTransitionConditions);
        case Ctl::frDataTypes: {
            wxWindow* domain = Window(Ctl::rbARISDomainType);
            return static_cast<wxRadioButton*>(domain)->GetValue() ? domain : Window(Ctl::rbARISAttrDataType);
        }
        default: return nullptr;
    }
}

bool frmExportOptionsWindow::ActivateLabelMnemonic(wxKeyEvent& event) {
    if (!event.AltDown() || event.ControlDown()) return false;
    const wxChar key = event.GetUnicodeKey();
    if (key == WXK_NONE) return false;
    const char32_t letter = platform::MnemonicOf("&" + wxString(key).Lower().utf8_string());
    const int tab = tabs_->GetSelection();
    for (const DialogControl& c : form_.Controls()) {
        if (c.tab != tab || (c.kind != ControlKind::Label && c.kind != ControlKind::Frame)) continue;
        if (platform::MnemonicOf(shown_[static_cast<std::size_t>(c.id)]) != letter) continue;
        wxWindow* target = MnemonicTarget(c.id);
        if (!target || !target->IsEnabled()) return false;
        target->SetFocus();
        if (auto* text = dynamic_cast<wxTextCtrl*>(target)) text->SelectAll();
        return true;
    }
    return false;
}

void frmExportOptionsWindow::AssignMnemonics() {
    // The buttons below the tabs are reachable from every tab: their letters first, then one
    // letter per control of each tab, unique within the tab and against the buttons.
    auto assign = [this](const std::vector<Ctl>& ids, const std::u32string& taken) {
        std::vector<std::string> captions;
        for (const Ctl id : ids) captions.push_back(form_.Control(id).caption);
        std::vector<std::string> marked = platform::WithMnemonics(captions, taken);
        for (std::size_t i = 0; i < ids.size(); ++i) shown_[static_cast<std::size_t>(ids[i])] = marked[i];
    };
    const std::vector<Ctl> buttons = {Ctl::cmdOK, Ctl::cmdCancel, Ctl::cmdApply, Ctl::cmdHelp};
    assign(buttons, {});
    std::u32string taken;
    for (const Ctl id : buttons) {
        if (const char32_t m = platform::MnemonicOf(shown_[static_cast<std::size_t>(id)])) taken.push_back(m);
    }
    for (int tab = 0; tab < static_cast<int>(tabs_->GetPageCount()); ++tab) {
        std::vector<Ctl> ids;
        for (const DialogControl& c : form_.Controls()) {
            const bool captioned = c.kind == ControlKind::Label || c.kind == ControlKind::CheckBox ||
                                   c.kind == ControlKind::OptionButton || c.kind == ControlKind::Frame;
            if (c.tab == tab && captioned) ids.push_back(c.id);
        }
        assign(ids, taken);
    }
}

int frmExportOptionsWindow::HelpContextIdOf(wxWindow* window) const {
    // A control without a topic of its own (a label, the frame, a tab page) shows the topic of
    // the control it sits in.
    for (wxWindow* w = window; w; w = w->GetParent()) {
        for (const DialogControl& c : form_.Controls()) {
            if (windows_[static_cast<std::size_t>(c.id)] == w && c.helpContextId != 0) return c.helpContextId;
        }
        if (w == this) break;
    }
    return form_.Control(Ctl::Form).helpContextId;
}

void frmExportOptionsWindow::OnHelpRequest(wxWindow* window) {
    int id = HelpContextIdOf(window ? window : this);
    Guard([&] { OpenHelp(id); });
}

void frmExportOptionsWindow::OpenHelp(int contextId) {
    const std::string book = platform::FindHelpBook(CurrentExport().HelpFile);
    if (platform::ShowHelpTopic(book, contextId, this)) return;
    platform::CurrentMessageBox().Show("The help file '" + CurrentExport().HelpFile + "' could not be found.",
                                       platform::kMbOkOnly + platform::kMbExclamation, "Lumenport");
}

void frmExportOptionsWindow::ShowState(const DialogControl& c) {
    wxWindow* w = windows_[static_cast<std::size_t>(c.id)];
    if (!w) return;
    const std::string& shown = shown_[static_cast<std::size_t>(c.id)];
    switch (c.kind) {
        case ControlKind::Form: SetTitle(Wx(c.caption)); break;
        case ControlKind::Tab: tabs_->SetPageText(static_cast<std::size_t>(c.tab), Wx(c.caption)); break;
        case ControlKind::Label: {
            auto* label = static_cast<wxStaticText*>(w);
            if (label->GetLabel() != Wx(shown)) {
                label->SetLabel(Wx(shown));
                label->Wrap(kLabelWidth);
            }
            break;
        }
        case ControlKind::CheckBox:
            w->SetLabel(Wx(shown));
            static_cast<wxCheckBox*>(w)->SetValue(c.value == CheckState::Checked);
            break;
        case ControlKind::OptionButton:
            w->SetLabel(Wx(shown));
            static_cast<wxRadioButton*>(w)->SetValue(c.value == CheckState::Checked);
            break;
        case ControlKind::TextBox: {
            auto* text = static_cast<wxTextCtrl*>(w);
            if (text->GetValue() != Wx(c.text)) text->ChangeValue(Wx(c.text));
            break;
        }
        case ControlKind::Frame:
        case ControlKind::Button: w->SetLabel(Wx(shown)); break;
        case ControlKind::TabControl: break;
    }
    if (c.kind != ControlKind::Form && c.kind != ControlKind::Tab) w->Enable(c.enabled);
}

void frmExportOptionsWindow::ShowStates() {
    wxWindow* focus = wxWindow::FindFocus();
    AssignMnemonics();
    for (const DialogControl& c : form_.Controls()) ShowState(c);
    // A control disabled while it has the focus (Apply, once the options are saved) would leave
    // the dialog without one, and keys such as Escape would reach nobody: OK takes the focus.
    if (focus && focus != this && IsDescendant(focus) && !focus->IsEnabled()) Window(Ctl::cmdOK)->SetFocus();
    if (IsShown()) Layout();
}

void frmExportOptionsWindow::FitTabsSideBySide() {
    // The toolkit's tab control scrolls tabs that do not fit; the dialog is made wide enough
    // to show all seven captions side by side.
    int width = 0;
    for (std::size_t i = 0; i < tabs_->GetPageCount(); ++i)
        width += tabs_->GetTextExtent(tabs_->GetPageText(i)).x + kTabPadding;
    tabs_->SetMinSize(wxSize(width, -1));
}

void frmExportOptionsWindow::RunModal() {
    // Activation: the language's fonts, the catalog's captions and the help topics.
    form_.Form_Activate();
    FitTabsSideBySide();
    GetSizer()->SetSizeHints(this);
    Fit();
    // The pages not shown yet take their controls' new sizes now, not on first display.
    for (std::size_t i = 0; i < tabs_->GetPageCount(); ++i) tabs_->GetPage(i)->Layout();
    Centre();
    Raise();
    ShowModal();
    if (pending_) std::rethrow_exception(std::exchange(pending_, nullptr));
}

void frmExportOptionsWindow::Dismiss() {
    if (IsModal()) EndModal(wxID_OK);
}

}  // namespace

void InstallExportOptionsWindow() {
    SetExportOptionsViewFactory([](frmExportOptions& form) -> std::unique_ptr<ExportOptionsView> {
        return std::make_unique<frmExportOptionsWindow>(form);
    });
}

void RemoveExportOptionsWindow() { SetExportOptionsViewFactory({}); }
