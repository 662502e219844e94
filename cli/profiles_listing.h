#pragma once
// A readable listing of a profile file for kovantis-cli show: the header, every assignment that
// is not the default in each profile, every macro with its steps.

#include <filesystem>
#include <iosfwd>

#include "profiles/profile_data.h"
#include "ports/text_source.h"

namespace kovantis::cli {

void ListProfileContents(std::ostream& out, const std::filesystem::path& file, const ProfileContents& contents,
                         bool headerValid, const TextSource& texts);

} // namespace kovantis::cli
