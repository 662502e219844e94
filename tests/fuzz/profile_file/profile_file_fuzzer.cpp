// Any bytes as a profile file: the header check and the load never read or write out of bounds,
// a failed load changes nothing, and whatever loads saves to a file that loads back the same.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "profiles/profile_file.h"

namespace {

class SilentPrompter final : public kovantis::Prompter {
public:
    void ShowMessage(const std::u16string&, const std::u16string&) override {}
    bool AskYesNo(const std::u16string&, const std::u16string&) override { return false; }
};

class NoTexts final : public kovantis::TextSource {
public:
    std::u16string Text(std::string_view) const override { return u"%s %d %x"; }
};

const std::string& FuzzFile()
{
    static const std::string path = "/tmp/kovantis-profile-fuzz-" + std::to_string(::getpid()) + ".kvp";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kovantis;
    static SilentPrompter prompter;
    static NoTexts texts;
    if (!WriteFileAtomically(FuzzFile(), std::span<const uint8_t>(data, size))) {
        return 0;
    }
    ValidateProfileFile(FuzzFile(), prompter, texts);

    ProfileData working(ProfileDataRole::Working);
    {
        ProfileData::Lock lock(working);
        lock->macros.resize(1);
        lock->macros[0].id = 77;
    }
    if (LoadProfileFile(FuzzFile(), working) != 1) {
        ProfileData::Lock lock(working);
        if (lock->macros.size() != 1 || lock->macros[0].id != 77) {
            std::abort();  // a failed load changed the data
        }
        return 0;
    }
    std::unique_ptr<ProfileContents> loaded;
    {
        ProfileData::Lock lock(working);
        loaded = std::make_unique<ProfileContents>(*lock);
    }
    const std::vector<uint8_t> saved = SerializeProfileContents(*loaded);
    if (saved.empty()) {
        std::abort();
    }
    const std::unique_ptr<ProfileContents> again = ParseProfileContents(saved);
    if (!again || again->macros != loaded->macros || again->image.records != loaded->image.records ||
        again->strings.Total() != loaded->strings.Total()) {
        std::abort();  // what loads must save and load back the same
    }
    return 0;
}
