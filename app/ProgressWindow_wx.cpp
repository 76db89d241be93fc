#include "app/ProgressWindow_wx.h"

#include <memory>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "platform/Desktop_wx.h"
#include "runtime/modProgress.h"
#include "runtime/modUtilities.h"

namespace {

wxString Wx(const std::string& utf8) { return wxString::FromUTF8(utf8.c_str()); }

/// The window: one line of text (as the terminal shows it), a bar and Cancel. Cancel and
/// closing the window only note the wish; the export asks and acts on it when it next reports.
class ProgressDialog : public wxDialog {
public:
    explicit ProgressDialog(const wxString& title)
        : wxDialog(nullptr, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX,
                   "frmProgress") {
        text_ =
            new wxStaticText(this, wxID_ANY, "", wxDefaultPosition, wxSize(420, -1), wxST_NO_AUTORESIZE, "lblProgress");
        bar_ = new wxGauge(this, wxID_ANY, 100, wxDefaultPosition, wxSize(420, -1), wxGA_HORIZONTAL | wxGA_SMOOTH,
                           wxDefaultValidator, "barProgress");
        auto* cancel = new wxButton(this, wxID_CANCEL, Wx(modUtilities::GetNLSString(50028)), wxDefaultPosition,
                                    wxDefaultSize, 0, wxDefaultValidator, "cmdCancel");
        auto* column = new wxBoxSizer(wxVERTICAL);
        column->Add(text_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 12);
        column->Add(bar_, 0, wxEXPAND | wxALL, 12);
        column->Add(cancel, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
        SetSizerAndFit(column);
        platform::Set_NLS_Font_Form(this);
        Bind(
            wxEVT_BUTTON, [this](wxCommandEvent&) { cancelled_ = true; }, wxID_CANCEL);
        Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
            if (!event.CanVeto()) return event.Skip();
            event.Veto();
            cancelled_ = true;
        });
        CentreOnScreen();
    }

    void ShowProgress(const wxString& title, const wxString& text, int percent) {
        if (GetTitle() != title) SetTitle(title);
        if (text_->GetLabel() != text) text_->SetLabel(text);
        if (percent < 0) bar_->Pulse();
        else if (bar_->GetValue() != percent) bar_->SetValue(percent);
        if (!IsShown()) wxDialog::Show();
    }
    bool TakeCancel() {
        const bool cancelled = cancelled_;
        cancelled_ = false;
        return cancelled;
    }

private:
    wxStaticText* text_;
    wxGauge* bar_;
    bool cancelled_ = false;
};

class WxProgressWindow final : public modProgress::ProgressWindow {
public:
    ~WxProgressWindow() override { Close(); }

    bool Update(const std::string& title, const std::string& text, int percent) override {
        if (!dialog_) {
            dialog_ = new ProgressDialog(Wx(title));
            // The pointer says the program is busy while the window is open.
            wxBeginBusyCursor();
        }
        dialog_->ShowProgress(Wx(title), Wx(text), percent);
        // Paint and take the Cancel button's click; every other window is disabled meanwhile,
        // so that no event can start anything while the export stands in this call.
        wxSafeYield(dialog_, true);
        return dialog_->TakeCancel();
    }

    void Close() override {
        if (!dialog_) return;
        wxEndBusyCursor();
        dialog_->Hide();
        dialog_->Destroy();
        dialog_ = nullptr;
    }

private:
    ProgressDialog* dialog_ = nullptr;
};

}  // namespace

void InstallProgressWindow() { modProgress::SetProgressWindow(std::make_unique<WxProgressWindow>()); }

void RemoveProgressWindow() { modProgress::SetProgressWindow(nullptr); }
