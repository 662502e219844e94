#pragma once
// Runs a program of the build (kovantis-cli by default) in a home of its own, with the virtual
// keyboard as its keyboard, and collects its exit status, standard output and standard error.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kovantis::testing {

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

    // Every path below the home, for checking that nothing was created.
    std::vector<std::string> Tree() const;

private:
    std::filesystem::path root_;
};

} // namespace kovantis::testing
