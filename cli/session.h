#pragma once
// What a kovantis-cli command works with: its output streams, the language texts, the profile
// data, and the keyboard, reached exactly as the desktop program reaches it (libdevlinx.so with
// DEVLINX_BACKEND, DEVLINX_VIRTUAL_SOCKET and KOVANTIS_USB_ID) through the same composition root
// (session/session.h) and read as the program reads it on arrival (factory keymap, settings
// block) before a command touches it.

#include <iosfwd>
#include <memory>
#include <optional>
#include <string_view>

#include "app/language_table.h"
#include "lighting/lighting_view_setting.h"
#include "platform/paths.h"
#include "ports/editor_registry.h"
#include "ports/prompter.h"
#include "ports/text_source.h"
#include "ports/window_port.h"
#include "profiles/profile_data.h"
#include "session/session.h"

namespace kovantis::cli {

struct Command;

// Messages go to standard error after the program's name; questions are answered No (a script
// cannot answer them). Counts what it said, so that a command knows a failure was explained.
class ConsolePrompter final : public Prompter {
public:
    explicit ConsolePrompter(std::ostream& err) : err_(err) {}
    void ShowMessage(const std::u16string& text, const std::u16string& caption = {}) override;
    bool AskYesNo(const std::u16string& text, const std::u16string& caption = {}) override;
    int Said() const { return said_; }

private:
    std::ostream& err_;
    int said_ = 0;
};

class Session {
public:
    Session(std::ostream& out, std::ostream& err);
    ~Session();

    std::ostream& Out() { return out_; }
    std::ostream& Err() { return err_; }
    const Paths& GetPaths() const { return paths_; }
    const TextSource& Texts();
    // The language value that picks the skin's names (0 English, 1 Chinese).
    int LanguageValue();
    // The working copy and the download snapshot the commands work on.
    ProfileDataPair& Data() { return data_; }
    ConsolePrompter& GetPrompter() { return prompter_; }

    // Connects to the keyboard and waits until its arrival has been handled. kExitOk, or a
    // message on standard error and kExitFailed (desktop program running, library missing,
    // keyboard absent: then which keyboard was looked for where, and what may keep it away).
    int ConnectKeyboard();
    // The last ConnectKeyboard reached the library and found no keyboard.
    bool KeyboardAbsent() const { return keyboardAbsent_; }
    // After a successful ConnectKeyboard: the controllers, as the desktop program has them.
    kovantis::Session& Core() { return *core_; }
    DeviceLink& Link() { return core_->Link(); }
    CommandSet& Commands() { return core_->Commands(); }

    // The message and a pointer to the command's help on standard error; returns kExitUsage.
    int UsageError(const Command& command, std::string_view message);

private:
    std::ostream& out_;
    std::ostream& err_;
    ConsolePrompter prompter_;
    WindowPort window_;  // no window: every call is a no-op
    NoEditors editors_;
    Paths paths_;
    ProfileDataPair data_;
    std::unique_ptr<LanguageTable> texts_;
    std::unique_ptr<LightingViewSetting> lightingView_;
    std::optional<DeviceFunctions> functions_;
    std::unique_ptr<kovantis::Session> core_;
    bool keyboardAbsent_ = false;
};

// Parses a decimal or 0x-prefixed number within [low, high].
std::optional<long> ParseNumber(std::string_view text, long low, long high);

} // namespace kovantis::cli
