#pragma once
// A temporary home with its documents folder, and a prompter whose file choices a test sets.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "support/fake_ports.h"

namespace kovantis::testing {

class TemporaryHome {
public:
    TemporaryHome()
    {
        char pattern[] = "/tmp/kovantis-profiles-XXXXXX";
        root_ = ::mkdtemp(pattern);
        std::filesystem::create_directories(root_ / "Documents");
    }
    ~TemporaryHome() { std::filesystem::remove_all(root_); }
    const std::filesystem::path& Root() const { return root_; }
    Paths MakePaths() const { return Paths(PathRoots{root_ / "bin", root_, root_ / "config", root_ / "data"}); }

private:
    std::filesystem::path root_;
};

class ScriptedPrompter : public FakePrompter {
public:
    std::string ChooseOpenFile(const std::string&, const std::string& folder) override
    {
        folders.push_back(folder);
        return openChoice;
    }
    std::string ChooseSaveFile(const std::string&, const std::string& folder, const std::string& name) override
    {
        folders.push_back(folder);
        suggestedNames.push_back(name);
        return saveChoice;
    }
    std::string openChoice;
    std::string saveChoice;
    std::vector<std::string> folders;
    std::vector<std::string> suggestedNames;
};

inline std::vector<uint8_t> FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace kovantis::testing
