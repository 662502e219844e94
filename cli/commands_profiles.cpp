// The profile commands: import, export, read-keyboard, apply, show, backup.

#include <memory>
#include <ostream>

#include "cli/command_registry.h"
#include "cli/failure_text.h"
#include "cli/outcome.h"
#include "cli/profiles_listing.h"
#include "cli/progress_meter.h"
#include "cli/session.h"
#include "platform/paths.h"
#include "ports/clock.h"
#include "profiles/keyboard_readback.h"
#include "profiles/macro_download.h"
#include "profiles/profile_controller.h"
#include "profiles/profile_data.h"
#include "profiles/profile_file.h"
#include "update/firmware_update.h"

namespace kovantis::cli {
namespace {

int Import(Session& session, const Arguments& args);
int Export(Session& session, const Arguments& args);
int ReadKeyboard(Session& session, const Arguments& args);
int Apply(Session& session, const Arguments& args);
int Show(Session& session, const Arguments& args);
int Backup(Session& session, const Arguments& args);

const Command kImport{
    "import", "[--verify] FILE",
    "replace the key assignments and macros of all three profiles with a profile file and download them",
    "The file is checked before anything is changed: a file that is missing, unreadable, not a\n"
    "profile file or whose macros do not fit the keyboard changes nothing. Otherwise it becomes\n"
    "the working data (saved to the working file) and all three profiles are downloaded to the\n"
    "keyboard.\n"
    "\n"
    "  --verify   read back what was written and compare it\n"
    "\n"
    "Example:\n"
    "  kovantis-cli import --verify ~/Documents/gaming.kvp\n",
    &Import, false, true};
const Command kExport{"export", "FILE", "write the working profile data to a profile file",
                      "The file is replaced as a whole (or left as it was when the write fails).\n"
                      "The working data is the file $Profile0 in Kovantis_09A of your documents folder, which\n"
                      "the desktop program edits; when there is none yet it is read from the keyboard first.\n"
                      "\n"
                      "Example:\n"
                      "  kovantis-cli export ~/Documents/gaming.kvp\n",
                      &Export};
const Command kReadKeyboard{"read-keyboard", "FILE", "save what the keyboard holds as a profile file",
                            "Reads the three keymaps and the macros from the keyboard. The keyboard does\n"
                            "not keep the texts of program and text assignments: those stay empty.\n"
                            "\n"
                            "Example:\n"
                            "  kovantis-cli read-keyboard keyboard.kvp\n",
                            &ReadKeyboard};
const Command kApply{"apply", "[--verify]", "download the working profile data for the active profile",
                     "Sends the macros and the active profile's key assignments of the working data,\n"
                     "as the desktop program's Apply button does. With --verify, reads back what was\n"
                     "written and compares it.\n"
                     "The working data is the file $Profile0 in Kovantis_09A of your documents folder, which\n"
                     "the desktop program edits; when there is none yet it is read from the keyboard first.\n",
                     &Apply, false, true};
const Command kShow{"show", "FILE", "list a profile file: header, assignments, macros",
                    "Reads only the file; the keyboard is not needed. Profiles are numbered 1 to 3,\n"
                    "records as the file holds them.\n"
                    "\n"
                    "With --json: {\"file\", \"header_valid\", \"format_version\", \"total_size\",\n"
                    "\"macro_count\", \"string_area_size\", \"usb_id\", \"profiles\": [{\"profile\",\n"
                    "\"assignments\": [{\"record\", \"kind\", \"value\", \"text\", \"bank\"?, \"string\"?}]}],\n"
                    "\"macros\": [{\"number\", \"name\", \"id\", \"play_count\", \"steps\": [{\"action\",\n"
                    "\"key\", \"delay_ms\"}]}]}.\n"
                    "\n"
                    "Example:\n"
                    "  kovantis-cli show --json gaming.kvp | jq '.macros[].name'\n",
                    &Show, true};
const Command kBackup{"backup", "FILE", "back up the working profile data, as before a firmware update",
                      "The working data is the file $Profile0 in Kovantis_09A of your documents folder, which\n"
                      "the desktop program edits; when there is none yet it is read from the keyboard first.\n"
                      "\n"
                      "Example:\n"
                      "  kovantis-cli backup before-update.kvp\n",
                      &Backup};

const CommandRegistration registerImport(kImport);
const CommandRegistration registerExport(kExport);
const CommandRegistration registerReadKeyboard(kReadKeyboard);
const CommandRegistration registerApply(kApply);
const CommandRegistration registerShow(kShow);
const CommandRegistration registerBackup(kBackup);

// A profile file that is about to be read: kExitOk, or the reason on standard error.
int CheckProfileFile(Session& session, std::string_view verb, const std::filesystem::path& file)
{
    if (const auto problem = ReadProblem(file))
        return FileFailed(session, verb, file, *problem);
    QuietPrompter quiet;
    if (ValidateProfileFile(file, quiet, session.Texts()) != kProfileFileValid)
        return FileFailed(session, verb, file, "it is not a Kovantis profile file (its header is not valid)");
    return kExitOk;
}

// Reads what the keyboard holds into `file`, with progress on a terminal.
int ReadKeyboardInto(Session& session, const std::filesystem::path& file)
{
    ProgressMeter meter(session.Err(), StandardErrorIsTerminal(), SystemClock(), "reading the keyboard");
    session.Commands().TakeLastFailure();
    ReadbackReport report;
    const int result = ReadKeyboardToFile(file, session.Commands(), session.Link().State(), session.Texts(), &report,
                                          [&meter](int sent, int total) { meter.Update(sent, total); });
    meter.Finish();
    if (result == 1) {
        if (report.macrosDropped)
            session.Err() << "kovantis-cli: the keyboard's macro memory holds nothing this program could have "
                             "written: "
                          << file.string() << " has its key assignments and no macros\n";
        return kExitOk;
    }
    if (const int failed = session.Commands().TakeLastFailure(); failed != 1)
        return KeyboardFailed(session, "reading the keyboard", failed);
    if (const auto problem = WriteProblem(file))
        return FileFailed(session, "write", file, *problem);
    session.Err() << "kovantis-cli: cannot write " << file.string() << ": the write failed (disk full?)\n";
    return kExitFailed;
}

// The working data as the desktop program keeps it: the working file. On a fresh account there
// is none yet, and it is read from the keyboard first, as the desktop program does when the
// keyboard arrives.
int LoadWorkingData(Session& session)
{
    const std::filesystem::path file = WorkingFilePath(session.GetPaths());
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        session.Err() << "kovantis-cli: there is no working file yet; reading it from the keyboard into "
                      << file.string() << '\n';
        if (const int connected = Connect(session); connected != kExitOk)
            return connected;
        if (const int read = ReadKeyboardInto(session, file); read != kExitOk)
            return read;
    }
    if (const int checked = CheckProfileFile(session, "read the working file", file); checked != kExitOk)
        return checked;
    if (LoadProfileFile(file, session.Data().working) != 1)
        return FileFailed(session, "read the working file", file, "its contents are damaged");
    return kExitOk;
}

// Commands that take exactly one FILE.
const std::string_view* OneFile(const Arguments& args)
{
    return args.operands.size() == 1 && !args.operands[0].empty() ? &args.operands[0] : nullptr;
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

// "PATH: cause" → "cause".
std::string CauseOf(const std::string& problem, const std::filesystem::path& path)
{
    const std::string prefix = path.string() + ": ";
    return problem.starts_with(prefix) ? problem.substr(prefix.size()) : problem;
}

TransferProgress MeterProgress(ProgressMeter& meter)
{
    return [&meter](int sent, int total) { meter.Update(sent, total); };
}

int Import(Session& session, const Arguments& args)
{
    const std::string_view* file = OneFile(args);
    if (file == nullptr)
        return session.UsageError(kImport, "import takes one profile file");
    const std::filesystem::path path(*file);
    // A file that is not valid is refused before the keyboard is touched.
    if (const int checked = CheckProfileFile(session, "import", path); checked != kExitOk)
        return checked;
    if (const ProfileFileRead read = ReadProfileFile(path); !read.Usable()) {
        return FileFailed(session, "import", path,
                          read.problem.empty() ? std::string("its contents are damaged") : CauseOf(read.problem, path));
    }
    if (const int connected = Connect(session); connected != kExitOk)
        return connected;
    // The import saves the working file as the desktop program's does, which keeps one there.
    const std::filesystem::path working = WorkingFilePath(session.GetPaths());
    std::error_code error;
    if (!std::filesystem::exists(working, error) && CreateBlankImage(working) != 1) {
        return FileFailed(session, "create the working file", working,
                          WriteProblem(working).value_or("the write failed"));
    }
    ProgressMeter meter(session.Err(), StandardErrorIsTerminal(), SystemClock(), "downloading to the keyboard");
    ProfileController& controller = session.Core().Profiles();
    controller.SetTransferProgress(MeterProgress(meter));
    const int said = session.GetPrompter().Said();
    const int result = controller.ImportFile(path);
    controller.SetTransferProgress({});
    meter.Finish();
    if (result == 1)
        return args.verify ? VerifyDownload(session, controller) : kExitOk;
    // The import refused with a message of its own (the macros do not fit), or the download failed.
    return session.GetPrompter().Said() > said ? kExitFailed : KeyboardFailed(session, "downloading the profiles", 0);
}

int Export(Session& session, const Arguments& args)
{
    const std::string_view* file = OneFile(args);
    if (file == nullptr)
        return session.UsageError(kExport, "export takes one profile file");
    const std::filesystem::path path(*file);
    if (const auto problem = WriteProblem(path))
        return FileFailed(session, "write", path, *problem);
    if (const int loaded = LoadWorkingData(session); loaded != kExitOk)
        return loaded;
    if (SaveProfileFile(path, session.Data().working) != 1)
        return FileFailed(session, "write", path, WriteProblem(path).value_or("the write failed (disk full?)"));
    return kExitOk;
}

int ReadKeyboard(Session& session, const Arguments& args)
{
    const std::string_view* file = OneFile(args);
    if (file == nullptr)
        return session.UsageError(kReadKeyboard, "read-keyboard takes one profile file");
    const std::filesystem::path path(*file);
    if (const auto problem = WriteProblem(path))
        return FileFailed(session, "write", path, *problem);
    if (const int connected = Connect(session); connected != kExitOk)
        return connected;
    return ReadKeyboardInto(session, path);
}

int Apply(Session& session, const Arguments& args)
{
    if (!args.operands.empty())
        return session.UsageError(kApply, "apply takes no arguments");
    if (const int loaded = LoadWorkingData(session); loaded != kExitOk)
        return loaded;
    if (const int connected = Connect(session); connected != kExitOk)
        return connected;
    session.Core().Changes().MarkChanged();  // what the working file holds is what Apply sends
    ProgressMeter meter(session.Err(), StandardErrorIsTerminal(), SystemClock(), "downloading to the keyboard");
    ProfileController& controller = session.Core().Profiles();
    controller.SetTransferProgress(MeterProgress(meter));
    const int said = session.GetPrompter().Said();
    const int result = controller.Apply();
    controller.SetTransferProgress({});
    meter.Finish();
    if (result == 1)
        return args.verify ? VerifyDownload(session, controller) : kExitOk;
    return session.GetPrompter().Said() > said ? kExitFailed
                                               : KeyboardFailed(session, "downloading the working profile data", 0);
}

int Show(Session& session, const Arguments& args)
{
    const std::string_view* file = OneFile(args);
    if (file == nullptr)
        return session.UsageError(kShow, "show takes one profile file");
    const std::filesystem::path path(*file);
    if (const auto problem = ReadProblem(path))
        return FileFailed(session, "read", path, *problem);
    QuietPrompter quiet;
    const bool valid = ValidateProfileFile(path, quiet, session.Texts()) == kProfileFileValid;
    const std::unique_ptr<ProfileContents> contents = ReadProfileContents(path);
    if (!contents)
        return FileFailed(session, "read", path, "it is not a Kovantis profile file, or it is damaged");
    if (args.json)
        WriteProfileContentsJson(session.Out(), path, *contents, valid, session.Texts());
    else
        ListProfileContents(session.Out(), path, *contents, valid, session.Texts());
    return kExitOk;
}

int Backup(Session& session, const Arguments& args)
{
    const std::string_view* file = OneFile(args);
    if (file == nullptr)
        return session.UsageError(kBackup, "backup takes one profile file");
    const std::filesystem::path path(*file);
    if (const auto problem = WriteProblem(path))
        return FileFailed(session, "write", path, *problem);
    if (const int loaded = LoadWorkingData(session); loaded != kExitOk)
        return loaded;
    QuietPrompter quiet;  // the desktop program's "backup written" box; silence here means done
    if (BackupProfileData(path, session.Data().working, quiet, session.Texts()) != 1)
        return FileFailed(session, "write", path, WriteProblem(path).value_or("the write failed (disk full?)"));
    return kExitOk;
}

} // namespace
} // namespace kovantis::cli
