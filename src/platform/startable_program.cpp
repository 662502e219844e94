#include "platform/startable_program.h"

#include <array>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

namespace kovantis {
namespace {

bool Executable(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

// The interpreter of a "#!" line: the first word after the mark, leading blanks skipped.
std::filesystem::path InterpreterOf(const std::string& line)
{
    size_t begin = 2;
    while (begin < line.size() && (line[begin] == ' ' || line[begin] == '\t')) {
        ++begin;
    }
    size_t end = begin;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') {
        ++end;
    }
    return line.substr(begin, end - begin);
}

} // namespace

Startable CheckStartable(const std::filesystem::path& program)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(program, error);
    if (!std::filesystem::exists(status)) {
        return Startable::Missing;
    }
    if (!std::filesystem::is_regular_file(status)) {
        return Startable::NotAFile;
    }
    if (::access(program.c_str(), X_OK) != 0) {
        return Startable::NotExecutable;
    }
    std::ifstream in(program, std::ios::binary);
    std::array<char, 4> magic{};
    if (!in.read(magic.data(), magic.size()) && in.gcount() < 2) {
        return Startable::UnknownFormat;
    }
    if (in.gcount() == 4 && magic == std::array<char, 4>{'\x7f', 'E', 'L', 'F'}) {
        return Startable::Yes;
    }
    if (magic[0] != '#' || magic[1] != '!') {
        return Startable::UnknownFormat;
    }
    in.clear();
    in.seekg(0);
    std::string line;
    std::getline(in, line);
    const std::filesystem::path interpreter = InterpreterOf(line);
    // The kernel only takes an absolute interpreter path; it does not search PATH.
    if (interpreter.empty() || !interpreter.is_absolute() || !Executable(interpreter)) {
        return Startable::NoInterpreter;
    }
    return Startable::Yes;
}

} // namespace kovantis
