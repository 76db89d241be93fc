#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// The options dialog: the fifteen export options shown on seven tabs before each export.
/// This class holds the dialog's logic and the states of its controls; the desktop window only
/// shows those states and forwards the user's actions. In batch mode no window is shown and
/// the dialog closes as with OK and no change.

/// Kinds of the dialog's parts.
enum class ControlKind { Form, TabControl, Tab, Label, CheckBox, TextBox, Frame, OptionButton, Button };

/// State of a check box or option button: cleared, checked or grey (neither).
enum class CheckState { Unchecked = 0, Checked = 1, Grayed = 2 };

/// The controls of the dialog, in the order of the tabs and of the controls on each tab.
enum class Ctl : int {
    Form,
    SSTab1,
    TabNaming,
    stNumSuffix,
    cbConvertARISNames,
    cbRemoveLineBreaks,
    efNumSuffix,
    TabLayout,
    cbDrawControlConWithBendPoints,
    cbDrawDataConWithBendPoints,
    TabAttributes,
    cbWriteOtherSettings,
    cbWriteDocumentation,
    cbWriteDescription,
    TabStaff,
    cbDynamicStaffAssignment,
    TabLoops,
    cbControlFlowLoops,
    cbDataFlowLoops,
    TabControlFlow,
    cbTransitionConditions,
    cbExitConditions,
    cbStartConditions,
    stControlFlow,
    TabDataTypes,
    frDataTypes,
    rbARISDomainType,
    rbARISAttrDataType,
    cmdOK,
    cmdCancel,
    cmdApply,
    cmdHelp,
    Count
};

/// One part of the dialog as the window shows it.
struct DialogControl {
    Ctl id = Ctl::Form;
    /// "cbConvertARISNames"; the tabs are named "SSTab1.Tab1" to "SSTab1.Tab7".
    std::string name;
    ControlKind kind = ControlKind::Form;
    /// The tab (0 to 6) the control sits on; -1 for the form, the tab control and the buttons.
    int tab = -1;
    /// The built-in English caption until activation, then the catalog's.
    std::string caption;
    /// Catalog id of the caption; 0 when it has none.
    int captionId = 0;
    /// Help topic of the control (set on activation); 0 when it has none.
    int helpContextId = 0;
    /// Check boxes and option buttons.
    CheckState value = CheckState::Unchecked;
    /// The text box's text.
    std::string text;
    bool enabled = true;
};

/// What the desktop window does for the dialog's logic.
class ExportOptionsView {
public:
    virtual ~ExportOptionsView() = default;
    /// Show the window modally until Dismiss; an error that ends the program is passed on.
    virtual void RunModal() = 0;
    /// Close the window; the export goes on.
    virtual void Dismiss() = 0;
    /// Apply the language's font to the window and to each of its controls.
    virtual void SetNlsFontForm() = 0;
    /// Show the controls' states again (captions, values, enabled, help ids).
    virtual void ShowStates() = 0;
    /// Signal a refused key.
    virtual void Beep() = 0;
    /// Open the help book at a topic.
    virtual void OpenHelp(int contextId) = 0;
};

class frmExportOptions;
/// Creates the window of the dialog; installed by the desktop build.
using ExportOptionsViewFactory = std::function<std::unique_ptr<ExportOptionsView>(frmExportOptions&)>;
void SetExportOptionsViewFactory(ExportOptionsViewFactory factory);

class frmExportOptions {
public:
    frmExportOptions();

    /// Load the options into the globals and let the user change them (batch mode: load only).
    /// Cancel asks whether to end the program; Yes ends it (ProgramEnd), No keeps the dialog open.
    void Show();

    // Events of the dialog.
    void Form_Load();
    void Form_Activate();
    /// A check box or option button was clicked; its new state is given.
    void Control_Click(Ctl control, CheckState newState);
    /// True when the key typed into efNumSuffix is accepted (digits and backspace); a refused
    /// key beeps.
    bool efNumSuffix_KeyPress(char32_t key);
    /// The text of efNumSuffix changed to `text`.
    void efNumSuffix_Change(const std::string& text);
    void cmdOK_Click();
    void cmdApply_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();

    // Operations.
    void LoadOptions();
    void SaveOptions();
    void SetLocalizedCaptions();
    void SetHelpContextIDs();

    /// The states of the dialog's controls, in tab order (index = Ctl).
    const std::vector<DialogControl>& Controls() const { return controls_; }
    const DialogControl& Control(Ctl id) const { return controls_[static_cast<std::size_t>(id)]; }
    bool SettingsChanged() const { return settingsChanged_; }
    /// The tab shown (from 0); Form_Load selects the first.
    int SelectedTab() const { return selectedTab_; }
    void SelectTab(int tab) { selectedTab_ = tab; }
    /// True while the dialog is open (between Show and OK).
    bool Open() const { return open_; }
    /// The longest text efNumSuffix takes (nine digits always fit into the 32-bit value).
    static constexpr std::size_t kMaxSuffixDigits = 9;

private:
    void BuildControls();
    DialogControl& Edit(Ctl id) { return controls_[static_cast<std::size_t>(id)]; }
    void SetSettingsChanged(bool changed);
    void LoadBoolean(const char* valueName, Ctl control, bool& global);
    void LoadFirstSuffixNumber();
    void SaveBoolean(const char* valueName, bool checked, bool& global);
    void SaveFirstSuffixNumber() const;
    void RefreshView();

    std::vector<DialogControl> controls_;
    bool settingsChanged_ = false;
    bool open_ = false;
    int selectedTab_ = 0;
    ExportOptionsView* view_ = nullptr;
};

/// The options dialog of the program (created on first use).
frmExportOptions& ExportOptionsDialog();
