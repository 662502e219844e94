#include "cli_runner.h"

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/vkbd_process.h"

namespace kovantis::testing {
namespace {

std::string Slurp(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

CliHome::CliHome()
{
    char pattern[] = "/tmp/kovantis-cli-user-XXXXXX";
    root_ = ::mkdtemp(pattern);
    ::chmod(root_.c_str(), 0755);  // a child under another user id may look inside
    std::filesystem::create_directories(root_ / "run");
    ::chmod((root_ / "run").c_str(), 0700);
}

CliHome::~CliHome()
{
    std::error_code error;
    std::filesystem::remove_all(root_, error);
}

ProgramRun CliHome::Run(const std::vector<std::string>& args, const std::string& program,
                        std::optional<unsigned> asUser) const
{
    char pattern[] = "/tmp/kovantis-cli-out-XXXXXX";
    const std::filesystem::path outputs = ::mkdtemp(pattern);
    const std::filesystem::path out = outputs / "out";
    const std::filesystem::path err = outputs / "err";
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("HOME", root_.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (root_ / "run").c_str(), 1);
        ::unsetenv("XDG_DOCUMENTS_DIR");
        ::unsetenv("KOVANTIS_USB_ID");
        for (const auto& [name, value] : environment) {
            if (value.empty())
                ::unsetenv(name.c_str());
            else
                ::setenv(name.c_str(), value.c_str(), 1);
        }
        const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        ::dup2(o, 1);
        ::dup2(e, 2);
        if (asUser && (::setgid(*asUser) != 0 || ::setuid(*asUser) != 0))
            ::_exit(126);
        const std::string path = BinDir() + "/" + program;
        std::vector<char*> argv{const_cast<char*>(path.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(path.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ProgramRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
    std::filesystem::remove_all(outputs);
    return run;
}

std::vector<std::string> CliHome::Tree() const
{
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_))
        paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace kovantis::testing
