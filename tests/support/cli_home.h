#pragma once
// Runs a program of the build (kovantis-cli by default) in a home of its own, with the virtual
// keyboard as its keyboard, and collects its exit status, standard output and standard error.

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kovantis::testing {

class VkbdProcess;

// A file's bytes; empty when it cannot be read.
std::string Slurp(const std::filesystem::path& path);

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CliHome {
public:
    CliHome();
    ~CliHome();
    CliHome(const CliHome&) = delete;
    CliHome& operator=(const CliHome&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path WorkingFile() const { return root_ / "Documents" / "Kovantis_09A" / "$Profile0"; }

    // Environment for the program on top of the home's own (HOME, XDG_*); an empty value unsets.
    std::map<std::string, std::string> environment;
    // Standard error is a pseudo-terminal (what a person at a terminal sees) instead of a file.
    bool errorToTerminal = false;

    // kovantis-cli ARGS, or another program of the build with `program`. With `asUser`, the
    // child runs under that user id (to meet permissions that root would not).
    ProgramRun Run(const std::vector<std::string>& args, const std::string& program = "kovantis-cli",
                   std::optional<unsigned> asUser = std::nullopt) const;

    // A program started without waiting for it (to be killed in the middle, or to guard against
    // a hang); Wait collects it.
    struct Child {
        pid_t pid = -1;
        std::filesystem::path outputs;
    };
    Child Start(const std::vector<std::string>& args, const std::string& program = "kovantis-cli") const;
    // Its run once it has ended; a child still running after `limit` is killed and `*hung` set
    // (exitCode is -1 for a child ended by a signal).
    ProgramRun Wait(const Child& child, std::chrono::milliseconds limit = std::chrono::seconds(60),
                    bool* hung = nullptr) const;

    // The programs talk to `keyboard` through the virtual backend.
    void UseKeyboard(const VkbdProcess& keyboard);

    // Every path below the home, for checking that nothing was created.
    std::vector<std::string> Tree() const;

private:
    // Forks the child with the home's environment and its outputs in `outputs`.
    pid_t Launch(const std::vector<std::string>& args, const std::string& program, std::optional<unsigned> asUser,
                 const std::filesystem::path& outputs, int terminalSide) const;

    std::filesystem::path root_;
};

} // namespace kovantis::testing
