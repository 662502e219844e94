#include "platform/posix_process_starter.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kovantis {
namespace {

// Actions and attributes of one spawn, released on every path.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
};

} // namespace

bool PosixProcessStarter::StartDetached(const std::string& program, const std::vector<std::string>& args,
                                        const std::string& workingFolder)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);

    SpawnSetup setup;
    // Its own session, so that closing this program's terminal does not end the updater.
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSID);
    if (!workingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(&setup.actions, workingFolder.c_str());
    }
    pid_t child = 0;
    if (::posix_spawn(&child, program.c_str(), &setup.actions, &setup.attributes, argv.data(), environ) != 0) {
        return false;
    }
    // Never waited for by the program, but reaped so that it leaves no zombie behind.
    std::thread([child] {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

} // namespace kovantis
