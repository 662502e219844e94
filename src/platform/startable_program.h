#pragma once
// Whether a file can be started as a program, asked before anything is done that only makes
// sense once it runs (the firmware update sends the keyboard to its boot loader first). A file
// passes when it is a regular file this user may execute and the kernel can run it directly:
// an ELF image, or a script whose "#!" interpreter exists and is executable. posix_spawn never
// falls back to a shell, so any other file would fail to start.

#include <filesystem>

namespace kovantis {

enum class Startable {
    Yes,
    Missing,          // no such file
    NotAFile,         // a folder, device or similar
    NotExecutable,    // no execute permission for this user
    NoInterpreter,    // "#!" names an interpreter that is missing or not executable
    UnknownFormat,    // neither ELF nor "#!"
};

Startable CheckStartable(const std::filesystem::path& program);

} // namespace kovantis
