#include "update/firmware_update.h"

#include <system_error>

#include "profiles/profile_file.h"
#include "profiles/profile_file_choice.h"

namespace kovantis {

int BackupProfileData(const std::filesystem::path& path, ProfileData& working, Prompter& prompter,
                      const TextSource& texts)
{
    const int written = SaveProfileFile(path, working);
    prompter.ShowMessage(texts.Text(written == 1 ? "MAIN_UPDATE_BACKUP_OK" : "MAIN_UPDATE_BACKUP_NG"));
    return written;
}

FirmwareUpdate::FirmwareUpdate(const Paths& paths, ProfileData& working, CommandSet& commands,
                               Prompter& prompter, const TextSource& texts, ProcessStarter& starter)
    : paths_(paths), working_(working), commands_(commands), prompter_(prompter), texts_(texts), starter_(starter)
{
}

void FirmwareUpdate::Open()
{
    // The process's current folder is left alone: nothing of this program depends on it.
    std::error_code error;
    const std::filesystem::path package = paths_.PackageFolder();
    const std::string chosen =
        prompter_.ChooseOpenFile("*", std::filesystem::is_directory(package, error) ? package.string() : std::string());
    if (!chosen.empty()) {
        updaterPath_ = chosen;
    }
}

int FirmwareUpdate::Backup()
{
    paths_.EnsureUserFolder();
    const std::filesystem::path chosen = ChooseProfileFileToWrite(prompter_, texts_, paths_.UserFolder().string(), {});
    return chosen.empty() ? 0 : BackupTo(chosen);
}

int FirmwareUpdate::BackupTo(const std::filesystem::path& path)
{
    return BackupProfileData(path, working_, prompter_, texts_);
}

std::filesystem::path FirmwareUpdate::WorkingFolderFor(const std::filesystem::path& updater) const
{
    std::error_code error;
    const std::filesystem::path package = paths_.PackageFolder();
    if (std::filesystem::is_directory(package, error)) {
        return package;
    }
    return std::filesystem::absolute(updater, error).parent_path();
}

UpdateOutcome FirmwareUpdate::Update()
{
    const Startable startable = updaterPath_.empty() ? Startable::Missing : CheckStartable(updaterPath_);
    if (startable == Startable::Missing || startable == Startable::NotAFile) {
        prompter_.ShowMessage(texts_.Text("MAIN_UPDATE_ERROR_TEXT"));
        return UpdateOutcome::NoUpdater;
    }
    // Checked before the boot-loader command: a keyboard in its boot loader with no updater to
    // talk to it stays there until it is unplugged.
    if (startable != Startable::Yes) {
        prompter_.ShowMessage(texts_.Text("MAIN_SHELL_ERROR_TEXT"));
        return UpdateOutcome::NotStartable;
    }
    if (commands_.EnterBootMode() != 1) {
        prompter_.ShowMessage(texts_.Text("MAIN_BOOT_ERROR_TEXT"));
        return UpdateOutcome::BootRefused;
    }
    const std::string updater = updaterPath_;
    updaterPath_.clear();
    if (starter_.StartDetached(updater, {}, WorkingFolderFor(updater).string())) {
        return UpdateOutcome::Started;
    }
    prompter_.ShowMessage(texts_.Text("MAIN_SHELL_ERROR_TEXT"));
    return UpdateOutcome::StartFailed;
}

} // namespace kovantis
