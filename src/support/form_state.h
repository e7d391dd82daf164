#pragma once
// The store of a window's control state in the settings file, with the completion marker
// that guards the settings file's backup copy.
//
// A save writes "SektionVorhanden" into the window's section, the marker
// "Check"/"WroteSuccesful" and then one or two keys per input control, in the order the
// window created its controls. A load that finds the marker refreshes the ".bak" copy;
// one that does not puts the ".bak" copy back before anything is read - when that copy
// carries the marker itself.
#include <optional>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_system.h"

namespace tastomat {

enum class ControlKind {
    Edit,            // plain single-line edit: text
    NumericEdit,     // edit holding a floating-point value: text, then the value
    LabeledEdit,     // edit with a caption label: text
    FolderPathEdit,  // path field: text
    ComboBox,        // text, then selected index under name + "I"
    CheckBox,        // checked flag
    RadioGroup,      // selected index
    ListBox,         // selected index, -1 for none
    CheckListBox,    // item count, then one flag per item under name + i
    MenuItem,        // checked flag
    DateTimePicker,  // value as float
    TrackBar,        // position
    Other,           // buttons, frames, dialogs: never stored
};

// One named component of a window as the store sees it. Each kind uses only the accessors
// its row above names; the others are never called for it.
class FormControl {
  public:
    virtual ~FormControl() = default;
    virtual const std::string& component_name() const = 0;
    virtual ControlKind kind() const = 0;

    virtual std::string text() const { return {}; }
    virtual void set_text(const std::string&) {}
    // Numeric edit value, date-time value.
    virtual double number() const { return 0; }
    virtual void set_number(double) {}
    // Selected index (combo box, radio group, list box) or position (track bar).
    virtual int index() const { return -1; }
    virtual void set_index(int) {}
    // Check box, menu item.
    virtual bool checked() const { return false; }
    virtual void set_checked(bool) {}
    // Check list box.
    virtual int item_count() const { return 0; }
    virtual bool item_checked(int) const { return false; }
    virtual void set_item_checked(int, bool) {}
};

// A window: its component name and its components in creation order.
class FormComponents {
  public:
    virtual ~FormComponents() = default;
    virtual std::string component_name() const = 0;
    virtual std::vector<FormControl*> components() const = 0;
};

// How the store reaches the file.
struct FormStateFile {
    FileSystem& files;
    CodePage& code_page;
    // Floating-point values are written with the user's decimal separator.
    char decimal_separator = ',';
};

// Writes the marker entries and every input control's state and stores the file.
// FileError when the file cannot be read or written.
void SaveFormState(const FormComponents& window, const std::string& file_name,
                   const std::string& section, const FormStateFile& storage);
void SaveFormState(const FormComponents& window, const std::string& file_name,
                   const FormStateFile& storage);

// Refreshes or puts back the backup, then sets every input control from the section when
// its "SektionVorhanden" flag is true; a missing key leaves its control as it was.
// Returns that flag. Never writes the settings file itself.
bool LoadFormState(const FormComponents& window, const std::string& file_name,
                   const std::string& section, const FormStateFile& storage);
bool LoadFormState(const FormComponents& window, const std::string& file_name,
                   const FormStateFile& storage);

// The text LoadFormState would put into one text control of the section, read from the
// file or from the backup it would put back, without writing either: nullopt when it
// would leave the control as it is. FileError when the file cannot be read. Lets the
// start arm the launcher hotkey before the settings window exists.
std::optional<std::string> stored_control_text(const std::string& file_name,
                                               const std::string& section,
                                               const std::string& control,
                                               const FormStateFile& storage);

// Floating-point text as the store writes it ("1,5" with a comma separator) and reads it;
// false when the text is no number.
std::string format_form_float(double value, char decimal_separator);
bool parse_form_float(const std::string& text, char decimal_separator, double& value);

}  // namespace tastomat
