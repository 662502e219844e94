// The profile commands: import, export, read-keyboard, apply, show, backup.

#include <memory>
#include <ostream>
#include <vector>

#include "cli/command_registry.h"
#include "cli/profiles_listing.h"
#include "cli/session.h"
#include "profiles/profile_data.h"
#include "platform/paths.h"
#include "profiles/keyboard_readback.h"
#include "profiles/macro_download.h"
#include "profiles/profile_controller.h"
#include "profiles/profile_file.h"
#include "update/firmware_update.h"

namespace kovantis::cli {
namespace {

int Import(Session& session, std::span<const std::string_view> args);
int Export(Session& session, std::span<const std::string_view> args);
int ReadKeyboard(Session& session, std::span<const std::string_view> args);
int Apply(Session& session, std::span<const std::string_view> args);
int Show(Session& session, std::span<const std::string_view> args);
int Backup(Session& session, std::span<const std::string_view> args);

const Command kImport{"import", "[--verify] FILE",
                      "replace the key assignments and macros of all three profiles with a profile file "
                      "and download them",
                      &Import};
const Command kExport{"export", "FILE", "write the working profile data to a profile file", &Export};
const Command kReadKeyboard{"read-keyboard", "FILE", "save what the keyboard holds as a profile file",
                            &ReadKeyboard};
const Command kApply{"apply", "[--verify]",
                     "download the working profile data for the active profile (--verify: read it back and "
                     "compare)",
                     &Apply};
const Command kShow{"show", "FILE", "list a profile file: header, assignments, macros", &Show};
const Command kBackup{"backup", "FILE", "back up the working profile data, as before a firmware update",
                      &Backup};

const CommandRegistration registerImport(kImport);
const CommandRegistration registerExport(kExport);
const CommandRegistration registerReadKeyboard(kReadKeyboard);
const CommandRegistration registerApply(kApply);
const CommandRegistration registerShow(kShow);
const CommandRegistration registerBackup(kBackup);

// The working data as the program keeps it: the working file.
bool LoadWorkingFile(Session& session)
{
    const std::filesystem::path file = WorkingFilePath(session.GetPaths());
    if (LoadProfileFile(file, session.Data().working) != 1) {
        session.Err() << "kovantis-cli: cannot read the working file " << file.string() << '\n';
        return false;
    }
    return true;
}

// Commands that take exactly one FILE.
const std::string_view* OneFile(std::span<const std::string_view> args)
{
    return args.size() == 1 && !args[0].empty() ? &args[0] : nullptr;
}

// Takes "--verify" out of the arguments; true when it was there.
bool TakeVerify(std::span<const std::string_view>& args, std::vector<std::string_view>& rest)
{
    bool verify = false;
    for (std::string_view arg : args) {
        if (arg == "--verify")
            verify = true;
        else
            rest.push_back(arg);
    }
    args = rest;
    return verify;
}

// Reads back what the download wrote; the first difference is the failure.
int VerifyDownload(Session& session, const ProfileController& controller)
{
    std::string difference;
    const int result = VerifyWrittenAreas(session.Commands(), controller.LastDownload().written, &difference);
    if (result != 1) {
        session.Err() << "kovantis-cli: verifying the download failed: " << difference << '\n';
        return kExitFailed;
    }
    session.Err() << "kovantis-cli: verified: the keyboard holds what was written\n";
    return kExitOk;
}

int Import(Session& session, std::span<const std::string_view> args)
{
    std::vector<std::string_view> rest;
    const bool verify = TakeVerify(args, rest);
    const std::string_view* file = OneFile(args);
    if (file == nullptr) {
        return session.UsageError(kImport, "import takes one profile file");
    }
    // A file that is not valid is refused before the keyboard is touched.
    const ProfileFileRead read = ReadProfileFile(std::string(*file));
    if (!read.Usable()) {
        if (read.contents && !read.headerValid)
            ShowFormatError(std::string(*file), session.GetPrompter(), session.Texts());
        session.Err() << "kovantis-cli: " << read.problem << '\n';
        return kExitFailed;
    }
    if (const int connected = session.ConnectKeyboard(); connected != kExitOk) {
        return connected;
    }
    ProfileController& controller = session.Core().Profiles();
    const int result = controller.ImportFile(std::string(*file));
    if (result != 1)
        return session.Failure("importing the profile file", result);
    return verify ? VerifyDownload(session, controller) : kExitOk;
}

int Export(Session& session, std::span<const std::string_view> args)
{
    const std::string_view* file = OneFile(args);
    if (file == nullptr) {
        return session.UsageError(kExport, "export takes one profile file");
    }
    if (!LoadWorkingFile(session)) {
        return kExitFailed;
    }
    const int result = SaveProfileFile(std::string(*file), session.Data().working);
    return result == 1 ? kExitOk : session.Failure("writing the profile file", result);
}

int ReadKeyboard(Session& session, std::span<const std::string_view> args)
{
    const std::string_view* file = OneFile(args);
    if (file == nullptr) {
        return session.UsageError(kReadKeyboard, "read-keyboard takes one profile file");
    }
    if (const int connected = session.ConnectKeyboard(); connected != kExitOk) {
        return connected;
    }
    const int result =
        ReadKeyboardToFile(std::string(*file), session.Commands(), session.Link().State(), session.Texts());
    return result == 1 ? kExitOk : session.Failure("reading the keyboard", result);
}

int Apply(Session& session, std::span<const std::string_view> args)
{
    std::vector<std::string_view> rest;
    const bool verify = TakeVerify(args, rest);
    if (!args.empty()) {
        return session.UsageError(kApply, "apply takes no arguments");
    }
    if (!LoadWorkingFile(session)) {
        return kExitFailed;
    }
    if (const int connected = session.ConnectKeyboard(); connected != kExitOk) {
        return connected;
    }
    session.Core().Changes().MarkChanged();  // what the working file holds is what Apply sends
    ProfileController& controller = session.Core().Profiles();
    const int result = controller.Apply();
    if (result != 1)
        return session.Failure("downloading the working profile data", result);
    return verify ? VerifyDownload(session, controller) : kExitOk;
}

int Show(Session& session, std::span<const std::string_view> args)
{
    const std::string_view* file = OneFile(args);
    if (file == nullptr) {
        return session.UsageError(kShow, "show takes one profile file");
    }
    const std::filesystem::path path(*file);
    const ProfileFileRead read = ReadProfileFile(path);
    if (!read.contents) {
        session.Err() << "kovantis-cli: " << read.problem << '\n';
        return kExitFailed;
    }
    if (!read.headerValid)
        ShowFormatError(path, session.GetPrompter(), session.Texts());
    ListProfileContents(session.Out(), path, *read.contents, read.headerValid, session.Texts());
    return kExitOk;
}

int Backup(Session& session, std::span<const std::string_view> args)
{
    const std::string_view* file = OneFile(args);
    if (file == nullptr) {
        return session.UsageError(kBackup, "backup takes one profile file");
    }
    if (!LoadWorkingFile(session)) {
        return kExitFailed;
    }
    const int result =
        BackupProfileData(std::string(*file), session.Data().working, session.GetPrompter(), session.Texts());
    return result == 1 ? kExitOk : kExitFailed;
}

} // namespace
} // namespace kovantis::cli
