#pragma once
// What the keyboard picture of the main window shows, apart from any widget: one entry per key,
// G, Fn and D button with its skin key, assigned mark, tooltip, caption, picture set and whether
// the flip leaves it usable; the G-key bank's labels and indicator; what a click edits; and the
// restore-defaults reset of the records. The window only draws these entries and forwards
// clicks.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "keyboard/assignment_text.h"
#include "keyboard/bank.h"
#include "keyboard/key_names.h"
#include "ports/text_source.h"

namespace kovantis {

enum class KeyButtonKind {
    Key,    // a key of the key list
    GKey,   // G1 to G9
    Fn,
    Extra,  // D1 to D6: usable only while the picture is flipped
};

// Which pictures a key button shows: the key set normally, the editing set while its key is
// being edited.
enum class KeyPictureSet { Key, Editing };

// Bank A shows the indicator set; bank B makes the disabled indicator show the over picture.
enum class BankIndicatorLook { BankA, BankB };

inline constexpr int kFirstExtraControlId = 1016;  // D1
inline constexpr int kExtraKeyCount = 6;
inline constexpr int kMacroEditControlId = 1007;
inline constexpr int kFirstFunctionKeyControlId = 1010;  // F1; F1 to F4 give way to D1 to D6
inline constexpr int kFlippedFunctionKeyCount = 4;

// Skin keys of D1 to D6 (d = 0 to 5): "KEY_D1" to "KEY_D6". A skin without them leaves the
// buttons out, like any control it leaves out.
std::string ExtraKeySkinKey(int d);

// D1 to D6.
constexpr bool IsExtraKeyControl(int controlId)
{
    return controlId >= kFirstExtraControlId && controlId < kFirstExtraControlId + kExtraKeyCount;
}

struct KeyButtonState {
    int controlId = 0;
    KeyButtonKind kind = KeyButtonKind::Key;
    std::string skinKey;
    KeyCode code = 0;     // keys of the key list
    int gKey = -1;        // G keys: 0 to 8
    bool assigned = false;
    std::u16string tooltip;
    std::u16string caption;  // G1 to G5 carry their bank's label
    KeyPictureSet pictures = KeyPictureSet::Key;
    bool usable = true;  // false while the flip gives the button's place to another
};

// The record a click on a button edits.
struct KeyEditTarget {
    int record = 0;          // in the current profile's bank
    bool macroOnly = false;  // G9 and the macro edit button
};

// Everything a refresh needs to describe the assignments.
struct KeyTextSources {
    const KeyNames& names;
    const TextSource& texts;
    const MacroNameLookup& macroNameOf;
};

class KeyboardViewModel {
public:
    KeyboardViewModel();

    std::span<const KeyButtonState> Buttons() const { return buttons_; }
    const KeyButtonState* Button(int controlId) const;

    // Marks and tooltips of every key and G button from the current profile's bank.
    void RefreshKeyButtons(BankView bank, GKeyBank gBank, const KeyTextSources& sources);
    // After a bank change: the G buttons' marks and tooltips from the new bank, so that no
    // button describes the bank that is no longer active.
    void RefreshGBankMarks(BankView bank, GKeyBank gBank, const KeyTextSources& sources);

    // The bank change: G1 to G5 labelled "A1".."A5" or "B1".."B5", G6 to G9 blank.
    void SetBank(GKeyBank gBank);
    GKeyBank Bank() const { return bank_; }
    BankIndicatorLook IndicatorLook() const;
    static std::u16string BankLabel(int g, GKeyBank gBank);

    // F1 to F4 usable unflipped, D1 to D6 flipped. The hint arrows point up while flipped.
    void SetFlip(bool flipped);
    bool Flipped() const { return flipped_; }
    bool ArrowsPointUp() const { return flipped_; }

    // A click in the function view: the record to edit, with the clicked button switched to the
    // editing set; nullopt (and nothing changed) for Fn, D1 to D6 and ids that are no button.
    // The macro edit button edits what G9 edits.
    std::optional<KeyEditTarget> BeginEditing(int controlId);
    // The editor closed: the button shows the key set again.
    void EndEditing(int controlId);
    // Whether a click on this button belongs to the lighting view while it is on (keys, Fn and
    // D1 to D6; G buttons and the macro edit button always edit).
    static bool ClickPaintsInLightingView(int controlId);

    // Restore defaults: zeroes the 104 key records and the nine G records of the active bank;
    // the other bank's G records and every other record stay.
    static void RestoreDefaultRecords(std::span<KeyAssignment, kRecordsPerBank> bank, GKeyBank gBank);

private:
    KeyButtonState* Find(int controlId);
    void Describe(KeyButtonState& button, BankView bank, GKeyBank gBank, const KeyTextSources& sources);

    std::vector<KeyButtonState> buttons_;
    GKeyBank bank_ = GKeyBank::A;
    bool flipped_ = false;
};

} // namespace kovantis
