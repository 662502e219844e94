#include "profiles/profile_controller.h"

#include "keyboard/bank.h"
#include "app/text_format.h"
#include "macros/macro_area.h"
#include "profiles/macro_download.h"
#include "platform/ini_file.h"
#include "profiles/keyboard_readback.h"
#include "profiles/profile_file.h"
#include "profiles/profile_file_choice.h"
#include "profiles/profile_manager_model.h"

namespace kovantis {
ProfileController::ProfileController(const ProfileEnvironment& env) : env_(env) {}

void ProfileController::PressProfileButton(int profile)
{
    currentProfile_ = profile;
    env_.lighting.SetCurrentProfile(profile);
    env_.lighting.ReadBackLighting(profile);
    env_.lighting.ReloadUserModes(profile);
    env_.lighting.RefreshPanel();
    env_.lighting.TurnLightingViewOff();
    if (env_.commands.GetActiveProfile() == profile) {
        return;
    }
    if (SwitchProfile(profile) == 1) {
        env_.window.PostProfileChecked(profile);
        env_.window.PostRefreshKeys();
    }
}

int ProfileController::SwitchProfile(int profile)
{
    if (profile < 0 || profile >= kProfileCount) {
        profile = 0;
    }
    if (env_.editors.AnyOpen()) {
        env_.prompter.ShowMessage(env_.texts.Text("PROFILE_SEELCT_PROMPT2"));
        return 0;
    }
    const bool unsaved = env_.changes.Pending() || (manager_ != nullptr && manager_->ApplyEnabled());
    bool asked = false;
    if (unsaved && !asking_) {
        asking_ = asked = true;
        const bool yes = env_.prompter.AskYesNo(env_.texts.Text("PROFILE_SELECT_PROMPT"));
        asking_ = false;
        if (yes) {
            Apply();
        } else {
            DiscardEdits();
        }
    }
    const int set = env_.commands.SetActiveProfile(profile);
    if (!asked && manager_ != nullptr) {
        manager_->FollowActiveProfile(profile);
    }
    env_.window.PostRefreshKeys();
    RebuildProfileMenu();
    return set == 1 ? 1 : 0;
}

void ProfileController::RestoreDefaultRecords(GKeyBank gBank)
{
    {
        ProfileData::Lock lock(env_.data.working);
        KeyboardViewModel::RestoreDefaultRecords(lock->image.Bank(currentProfile_), gBank);
    }
    env_.changes.MarkChanged();
}

void ProfileController::DiscardEdits()
{
    // The edits are only dropped once the working file has been read back in full; until then
    // they stay, and so does the Apply button.
    if (LoadProfileFile(WorkingFilePath(env_.paths), env_.data.working) == 1) {
        env_.changes.Clear();
    }
}

int ProfileController::Apply()
{
    env_.window.PostProgress(true);
    int result = 1;
    std::u16string failure;
    if (env_.changes.Pending()) {
        ProfileData::Lock lock(env_.data.working);
        const int saved = SaveWorkingFile(env_.paths, env_.data.working);
        // A list too long for the keyboard is refused by the download with a message of its own.
        const uint32_t space = static_cast<uint32_t>(std::max(env_.device.MacroAreaSize(), 0));
        const bool macrosFit = MeasureMacroAreaImage(lock->macros).withoutNames <= space;
        const int downloaded = FullDownload(false);
        result = saved == 1 && downloaded == 1 ? 1 : 0;
        if (result == 1) {
            env_.changes.Clear();
        } else if (saved != 1) {
            const std::u16string shown = Utf8ToUtf16(WorkingFilePath(env_.paths).string());
            failure = FormatText(env_.texts.Text("MAIN_APPLY_SAVE_ERROR"), {std::u16string_view(shown)});
        } else if (macrosFit) {
            failure = env_.texts.Text("MAIN_APPLY_DOWNLOAD_ERROR");
        }
    }
    env_.window.PostProgress(false);
    // A failure is never silent: Apply stays enabled and the user learns why.
    if (!failure.empty()) {
        env_.prompter.ShowMessage(failure);
    }
    return result;
}

bool ProfileController::ConfirmQuit()
{
    if (!env_.changes.Pending()) {
        return true;
    }
    if (!env_.prompter.AskYesNo(env_.texts.Text("MAIN_QUIT_SAVE_PROMPT"))) {
        return true;
    }
    // A failed Apply has said why; the program stays so that nothing is lost.
    return Apply() == 1;
}

int ProfileController::FullDownload(bool allProfiles)
{
    return DownloadToKeyboard(env_.data, {env_.commands, env_.device, env_.prompter, env_.texts}, allProfiles);
}

int ProfileController::LoadFromKeyboard()
{
    env_.paths.EnsureUserFolder();
    const int active = env_.commands.GetActiveProfile();
    const std::filesystem::path working = WorkingFilePath(env_.paths);
    bool loaded = false;
    ReadbackReport report;
    if (active >= 0 && ReadKeyboardToFile(working, env_.commands, env_.device, env_.texts, &report) == 1) {
        loaded = LoadProfileFile(working, env_.data.working) == 1;
    }
    if (!loaded) {
        CreateBlankImage(env_.data.working);
    } else if (report.macrosDropped) {
        env_.prompter.ShowMessage(env_.texts.Text("MAIN_MACROS_UNREADABLE"));
    }
    env_.window.PostRefreshKeys();
    env_.changes.Clear();
    return active;
}

void ProfileController::OnKeyboardArrived()
{
    const int active = LoadFromKeyboard();
    if (active >= 0 && active < kProfileCount) {
        env_.window.PostProfileChecked(active);
        currentProfile_ = active;
        env_.lighting.SetCurrentProfile(active);
    }
    env_.lighting.ReadBackLighting(currentProfile_);
    env_.lighting.ReloadUserModes(currentProfile_);
    env_.lighting.RefreshPanel();
    RebuildProfileMenu();
}

int ProfileController::Import()
{
    const std::string chosen = env_.prompter.ChooseOpenFile(kProfileFileFilter, {});
    return chosen.empty() ? 0 : ImportFile(chosen);
}

int ProfileController::ImportFile(const std::filesystem::path& path)
{
    std::unique_ptr<ProfileContents> fresh;
    if (ValidateProfileFile(path, env_.prompter, env_.texts) == kProfileFileValid) {
        fresh = ReadProfileContents(path);
    }
    if (!fresh) {
        env_.prompter.ShowMessage(env_.texts.Text("MAIN_PROMPT_INPORT"));
        return 0;
    }
    // Refused before anything is replaced: an import either happens whole or not at all.
    const uint32_t space = static_cast<uint32_t>(std::max(env_.device.MacroAreaSize(), 0));
    if (MeasureMacroAreaImage(fresh->macros).withoutNames > space) {
        env_.prompter.ShowMessage(env_.texts.Text("EXTRA_MACRO_TOO_LONG"));
        return 0;
    }
    int result = 0;
    {
        ProfileData::Lock lock(env_.data.working);
        lock.Replace(std::move(fresh));
        SaveWorkingFile(env_.paths, env_.data.working);
        result = FullDownload(true);
        env_.window.PostRefreshKeys();
    }
    env_.changes.Clear();
    return result;
}

int ProfileController::Export()
{
    env_.paths.EnsureUserFolder();
    const std::filesystem::path chosen =
        ChooseProfileFileToWrite(env_.prompter, env_.texts, env_.paths.UserFolder().string(), {});
    return chosen.empty() ? 0 : ExportFile(chosen);
}

int ProfileController::ExportFile(const std::filesystem::path& path)
{
    return SaveProfileFile(path, env_.data.working);
}

ProfileMenu ProfileController::RebuildProfileMenu()
{
    const ProfileMenu menu = BuildProfileMenu(env_.commands.GetActiveProfile(),
                                              Utf8ToUtf16(kWorkingFileName), env_.texts);
    env_.window.PostProfileCaption(menu.Caption(), ProfileMenuTooltip(menu, env_.texts));
    return menu;
}

} // namespace kovantis
