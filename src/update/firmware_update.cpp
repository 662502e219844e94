#include "update/firmware_update.h"

#include <system_error>

#include "profiles/profile_file.h"

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
    const std::string chosen = prompter_.ChooseOpenFile("*", paths_.PackageFolder().string());
    if (!chosen.empty()) {
        updaterPath_ = chosen;
    }
}

int FirmwareUpdate::Backup()
{
    const std::string chosen = prompter_.ChooseSaveFile("*.kvp", {}, "*.kvp");
    return chosen.empty() ? 0 : BackupTo(WithProfileExtension(chosen));
}

int FirmwareUpdate::BackupTo(const std::filesystem::path& path)
{
    return BackupProfileData(path, working_, prompter_, texts_);
}

UpdateOutcome FirmwareUpdate::Update()
{
    std::error_code error;
    if (updaterPath_.empty() || !std::filesystem::is_regular_file(updaterPath_, error)) {
        prompter_.ShowMessage(texts_.Text("MAIN_UPDATE_ERROR_TEXT"));
        return UpdateOutcome::NoUpdater;
    }
    if (commands_.EnterBootMode() != 1) {
        prompter_.ShowMessage(texts_.Text("MAIN_BOOT_ERROR_TEXT"));
        return UpdateOutcome::BootRefused;
    }
    const std::string updater = updaterPath_;
    updaterPath_.clear();
    if (starter_.StartDetached(updater, {}, paths_.PackageFolder().string())) {
        return UpdateOutcome::Started;
    }
    prompter_.ShowMessage(texts_.Text("MAIN_SHELL_ERROR_TEXT"));
    return UpdateOutcome::StartFailed;
}

} // namespace kovantis
