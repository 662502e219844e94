#pragma once
// Failures in words a person can act on: what the keyboard's answer meant, and what is wrong
// with a file before anything is read from it or written to it.

#include <filesystem>
#include <optional>
#include <string>

namespace kovantis::cli {

// Why a keyboard command gave `result` (any result but 1): refused, no answer, gone, ...
std::string ResultReason(int result);

// What keeps `path` from being read as a file: missing, a folder, no permission (the system's
// own words); nullopt when it is a regular file that can be opened for reading.
std::optional<std::string> ReadProblem(const std::filesystem::path& path);

// What keeps a file from being written at `path`: a folder there, a missing or unwritable
// folder to put it in; nullopt when nothing is in the way.
std::optional<std::string> WriteProblem(const std::filesystem::path& path);

} // namespace kovantis::cli
