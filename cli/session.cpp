#include "cli/session.h"

#include "device/command_result.h"

#include <charconv>
#include <ostream>

#include "app/language_table.h"
#include "cli/command_registry.h"
#include "cli/failure_text.h"
#include "cli/keyboard_search.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/instance_folder.h"
#include "ports/clock.h"

namespace kovantis::cli {
namespace {

// The library reports the keyboard within moments of Init; without one, this is how long a
// command waits for a late count notification before it says the keyboard is absent.
constexpr std::chrono::milliseconds kArrivalWait{500};

// The command line edits as the panel does with its lighting view on, but leaves the desktop
// program's own lamp setting alone.
class ViewOn final : public LightingViewSetting {
public:
    bool Read() const override { return true; }
    void Write(bool) override {}
};

LightingSkinTexts MainSkinTexts(const Paths& paths)
{
    auto doc = IniDocument::Load(paths.ShippedFile("Main.ini").string());
    return LightingSkinTexts(doc ? std::move(*doc) : IniDocument{});
}

} // namespace

void ConsolePrompter::ShowMessage(const std::u16string& text, const std::u16string&)
{
    ++said_;
    err_ << "kovantis-cli: " << Utf16ToUtf8(text) << '\n';
}

bool ConsolePrompter::AskYesNo(const std::u16string& text, const std::u16string&)
{
    ++said_;
    err_ << "kovantis-cli: " << Utf16ToUtf8(text) << " (answered no)\n";
    return false;
}

Session::Session(std::ostream& out, std::ostream& err)
    : out_(out), err_(err), prompter_(err), paths_(Paths::FromEnvironment()),
      lightingView_(std::make_unique<ViewOn>())
{
}

Session::~Session() = default;

const TextSource& Session::Texts()
{
    if (!texts_) {
        texts_ = std::make_unique<LanguageTable>(paths_);
        texts_->Load();
    }
    return *texts_;
}

int Session::LanguageValue()
{
    Texts();
    return texts_->LanguageValue();
}

int Session::ConnectKeyboard()
{
    if (core_)
        return kExitOk;
    // The desktop program's lock, where the desktop program itself looks for it.
    std::string folderError;
    const std::optional<InstancePaths> instance = InstancePathsOfProcess(FolderUse::Inspect, &folderError);
    if (!instance) {
        err_ << "kovantis-cli: cannot tell whether the desktop program is running: " << folderError << '\n';
        return kExitFailed;
    }
    if (const auto pid = LockHolder(instance->lock)) {
        err_ << "kovantis-cli: the Kovantis desktop program is running (process " << *pid
             << "); quit it first, so that only one program talks to the keyboard\n";
        return kExitFailed;
    }
    std::string error;
    functions_ = DeviceLibrary::Load(kDeviceLibraryName, &error);
    if (!functions_) {
        err_ << "kovantis-cli: cannot use the device library: " << error << '\n';
        return kExitFailed;
    }
    core_ = std::make_unique<kovantis::Session>(
        SessionSetup{*functions_, paths_, data_, *lightingView_, MainSkinTexts(paths_), LanguageValue()},
        SessionPorts{window_, editors_, prompter_, Texts(), SystemClock()});
    DeviceState& device = core_->Device();
    device.SetWindowReady(true);
    device.SetFirstArrivalDone();
    const int started = core_->Start();
    if (started <= 0) {
        core_.reset();
        err_ << "kovantis-cli: the device library did not start (Init gave " << started << ")\n";
        return kExitFailed;
    }
    device.WaitUntilPresent(kArrivalWait);
    core_->Link().GetPresence().WaitIdle();
    if (!device.Present()) {
        keyboardAbsent_ = true;
        err_ << "kovantis-cli: no keyboard found\n" << ExplainNoKeyboard(SystemSearchPlaces());
        return kExitFailed;
    }
    // A keyboard that did not answer its arrival reads will not answer the command either: one
    // exchange's retries are enough to know.
    if (const int arrival = device.ArrivalReadResult(); KeyboardGoneOrSilent(arrival)) {
        err_ << "kovantis-cli: reading the keyboard failed: " << ResultReason(arrival) << '\n';
        return kExitFailed;
    }
    // A download an earlier run left unfinished is completed before anything else.
    if (core_->Profiles().RecoverInterruptedDownload() == ProfileController::Recovery::Failed)
        return kExitFailed;
    return kExitOk;
}

int Session::UsageError(const Command& command, std::string_view message)
{
    err_ << "kovantis-cli: " << message << "\nTry 'kovantis-cli help " << command.name << "'.\n";
    return kExitUsage;
}

std::optional<long> ParseNumber(std::string_view text, long low, long high)
{
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace kovantis::cli
