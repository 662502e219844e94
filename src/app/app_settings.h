#pragma once
// The few per-user settings outside the keyboard:
//  - ovra.ini (in the per-user folder), section KEYCOLOR, DengCheck: the lighting view;
//  - the application settings store: Flip, the macro recorder's delay option and the stored
//    profile list of the profile manager.

#include <filesystem>
#include <span>
#include <string>

namespace kovantis {

class Paths;
class SettingsStore;
class TextSource;

class AppSettings {
public:
    AppSettings(const Paths& paths, const SettingsStore& store, const TextSource& texts);

    // "1" is on; anything else, a missing value or a missing file is off.
    bool LightingView() const;
    // Writes "1" or "0". A failed write (for example before the per-user folder exists) is
    // not reported.
    void SetLightingView(bool on) const;

    // Which way the keyboard picture is flipped: "1" flipped, anything else not.
    bool Flip() const;
    bool SetFlip(bool flipped) const;

    // The recorder's delay option, stored under the current text of the slot
    // MACRO_ACTION_RECORD_DELAY (the shipped language file words it alike in every language,
    // so the option survives a change of language). Read as a decimal number, default 0.
    int ReadRecordDelaySetting() const;
    // Writes 1 for 1 and 0 for anything else; returns the value written.
    int WriteRecordDelaySetting(int value) const;
    std::u16string RecordDelayValueName() const;

    // The profile manager's list: PROFILE01, PROFILE02, ... the full path of each entry, then
    // PROFILE00 the number of entries. Failures are not reported.
    void StoreProfileList(std::span<const std::filesystem::path> files) const;

private:
    const Paths& paths_;
    const SettingsStore& store_;
    const TextSource& texts_;
};

// The store's name of entry `index` of the profile list ("PROFILE" and two digits).
std::u16string ProfileListValueName(int index);

} // namespace kovantis
