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
#include "profiles/transfer_journal.h"
#include "app/text_format.h"

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
        // The download shows its own failure, naming what failed (a list too long for the
        // keyboard, a refusal, no answer, a keyboard gone).
        // Edits go to the bank of the profile the window shows. When that is not the profile
        // the keyboard runs (a refused switch, the profile manager), writing only the active
        // one's keymap would send the edit nowhere: all three are written then.
        // (An active profile that cannot be read leaves the download to refuse, as it does.)
        const int active = env_.commands.GetActiveProfile();
        const bool allProfiles = active >= 0 && active != currentProfile_ && currentProfile_ >= 0 &&
                                 currentProfile_ < kProfileCount;
        int saved = 0;
        const int downloaded = JournaledDownload(DownloadScope{allProfiles, -1}, &saved);
        result = downloaded != 1 ? downloaded : saved == 1 ? 1 : 0;
        if (result == 1) {
            env_.changes.Clear();
        } else if (downloaded == 1) {
            const std::u16string shown = Utf8ToUtf16(WorkingFilePath(env_.paths).string());
            failure = FormatText(env_.texts.Text("MAIN_APPLY_SAVE_ERROR"), {std::u16string_view(shown)});
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
    lastDownload_ = RunDownload(env_.data, {env_.commands, env_.device, env_.prompter, env_.texts, progress_},
                                DownloadScope{allProfiles, -1});
    return lastDownload_.result;
}

int ProfileController::JournaledDownload(DownloadScope scope, int* saved)
{
    ProfileData::Lock lock(env_.data.working);
    const std::filesystem::path journalPath = JournalPath(env_.paths);
    // A download that an earlier journal says wrote all three keymaps may have left any of
    // them half written: this one writes all three as well.
    if (const auto earlier = ReadJournal(journalPath); earlier && earlier->scope.allProfiles) {
        scope.allProfiles = true;
    }
    if (!scope.allProfiles && scope.profile < 0) {
        scope.profile = env_.commands.GetActiveProfile();  // -1 stays: the download refuses it
    }
    TransferJournal journal{scope, SerializeProfileContents(*lock)};
    if (journal.profileFile.empty() || !WriteJournal(journalPath, journal)) {
        const std::u16string shown = Utf8ToUtf16(journalPath.string());
        env_.prompter.ShowMessage(FormatText(
            env_.texts.TextOr("EXTRA_JOURNAL_WRITE_FAILED",
                   u"Nothing was written to the keyboard: the file %s, which lets an interrupted write be "
                   u"completed, cannot be written."),
            {std::u16string_view(shown)}));
        lastDownload_ = DownloadOutcome{};
        lastDownload_.messageShown = true;
        return 0;
    }
    if (saved != nullptr) {
        *saved = SaveWorkingFile(env_.paths, env_.data.working);
    }
    lastDownload_ = RunDownload(env_.data, {env_.commands, env_.device, env_.prompter, env_.texts, progress_}, scope);
    // The journal stays while the keyboard may hold part of it, or the working file holds what
    // the keyboard does not: the next start completes the download. A list the keyboard can
    // never take was refused before anything was sent.
    if (lastDownload_.Succeeded() || lastDownload_.messageShown) {
        RemoveJournal(journalPath);
    }
    if (!lastDownload_.Succeeded()) {
        ShowDownloadFailure(lastDownload_);
    }
    return lastDownload_.Succeeded() ? 1 : lastDownload_.result;
}

void ProfileController::ShowDownloadFailure(const DownloadOutcome& outcome)
{
    if (outcome.messageShown) {
        return;
    }
    const std::u16string cause = DescribeDownloadFailure(outcome, env_.texts);
    env_.prompter.ShowMessage(FormatText(
        env_.texts.TextOr("EXTRA_DOWNLOAD_FAILED",
               u"The keyboard did not take the new settings (%s). They are kept; apply them again to retry."),
        {std::u16string_view(cause)}));
}

ProfileController::Recovery ProfileController::RecoverInterruptedDownload()
{
    const std::filesystem::path journalPath = JournalPath(env_.paths);
    if (!JournalExists(journalPath)) {
        return Recovery::None;
    }
    std::string problem;
    const std::optional<TransferJournal> journal = ReadJournal(journalPath, &problem);
    std::unique_ptr<ProfileContents> contents;
    if (journal) {
        contents = ParseProfileContents(journal->profileFile);
    }
    if (!contents) {
        // Never written by this program as it stands (the journal is replaced whole): it cannot
        // say what to write, so the keyboard is read back as usual.
        if (problem.empty()) {
            problem = journalPath.string() + ": does not hold a profile";
        }
        env_.prompter.ShowMessage(Utf8ToUtf16(problem));
        RemoveJournal(journalPath);
        return Recovery::None;
    }
    ProfileData::Lock lock(env_.data.working);
    lock.Replace(std::move(contents));
    SaveProfileFile(WorkingFilePath(env_.paths), env_.data.working);
    lastDownload_ = RunDownload(env_.data, {env_.commands, env_.device, env_.prompter, env_.texts, progress_}, journal->scope);
    env_.window.PostRefreshKeys();
    if (lastDownload_.Succeeded()) {
        RemoveJournal(journalPath);
        env_.changes.Clear();
        env_.prompter.ShowMessage(env_.texts.TextOr("EXTRA_RECOVERY_DONE",
                                         u"An earlier write to the keyboard was interrupted; it has now been completed."));
        return Recovery::Completed;
    }
    env_.changes.MarkChanged();
    const std::u16string cause = DescribeDownloadFailure(lastDownload_, env_.texts);
    env_.prompter.ShowMessage(FormatText(
        env_.texts.TextOr("EXTRA_RECOVERY_FAILED",
               u"An earlier write to the keyboard was interrupted and could not be completed (%s). The settings "
               u"it was writing are kept; apply them to try again."),
        {std::u16string_view(cause)}));
    return Recovery::Failed;
}

int ProfileController::LoadFromKeyboard()
{
    env_.paths.EnsureUserFolder();
    // A half-written keyboard is never read back: the interrupted download is completed first,
    // and then the working data already is what the keyboard holds.
    if (RecoverInterruptedDownload() != Recovery::None) {
        return env_.commands.GetActiveProfile();
    }
    const int active = env_.commands.GetActiveProfile();
    const std::filesystem::path working = WorkingFilePath(env_.paths);
    bool loaded = false;
    ReadbackReport report;
    if (active >= 0 && ReadKeyboardToFile(working, env_.commands, env_.device, env_.texts, &report, progress_) == 1) {
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
    ProfileFileRead read = ReadProfileFile(path);
    if (!read.Usable()) {
        // One message that says why; the wrong-format text would claim the defaults are used,
        // while a refused import replaces nothing.
        env_.prompter.ShowMessage(env_.texts.Text("MAIN_PROMPT_INPORT") + u"\n" + Utf8ToUtf16(read.problem));
        return 0;
    }
    std::unique_ptr<ProfileContents> fresh = std::move(read.contents);
    // Refused before anything is replaced: an import either happens whole or not at all.
    const uint32_t space = static_cast<uint32_t>(std::max(env_.device.MacroAreaSize(), 0));
    if (MeasureMacroAreaImage(fresh->macros).withoutNames > space) {
        env_.prompter.ShowMessage(env_.texts.Text("EXTRA_MACRO_TOO_LONG"));
        return 0;
    }
    int result = 0;
    {
        ProfileData::Lock lock(env_.data.working);
        std::unique_ptr<ProfileContents> old = lock.Replace(std::move(fresh));
        int saved = 0;
        result = JournaledDownload(DownloadScope{true, -1}, &saved);
        if (!lastDownload_.sent && lastDownload_.messageShown) {
            lock.Replace(std::move(old));  // nothing changed anywhere: neither does the program
            return result;
        }
        // Without a working file (the keyboard has not been read yet) there is nothing to keep
        // in step; the keyboard holds the import.
        env_.window.PostRefreshKeys();
    }
    if (result == 1) {
        env_.changes.Clear();
    } else {
        env_.changes.MarkChanged();  // Apply writes what the import could not
    }
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
