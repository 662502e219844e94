#pragma once
// Profile files the tests import, export and compare: small, valid, and different from a blank
// keyboard in every way a file can be.

#include <filesystem>

namespace kovantis::testing {

// One macro "Greeting" (press H, 100 ms, release H; played twice) on A of profile 2, and Q
// disabled in profile 3. Returns `path`.
std::filesystem::path GreetingProfileFile(const std::filesystem::path& path);
// Three macros of 40 steps each, on W of every profile. Returns `path`.
std::filesystem::path OtherProfileFile(const std::filesystem::path& path);

} // namespace kovantis::testing
