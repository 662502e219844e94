#include "profiles/profile_manager_model.h"

#include "keyboard/bank.h"
#include "platform/ini_file.h"
#include "profiles/profile_file.h"
#include "profiles/profile_file_choice.h"

namespace kovantis {
namespace {

// The folder of a file, ending in a separator.
std::filesystem::path FolderOf(const std::filesystem::path& file)
{
    std::filesystem::path folder = file.parent_path();
    folder += std::filesystem::path::preferred_separator;
    return folder;
}

// The suggested name of a new profile: the text without the folder separator it starts with.
std::string NewProfileName(const TextSource& texts)
{
    std::string name = Utf16ToUtf8(texts.Text("PROFILE_NEW"));
    while (!name.empty() && (name.front() == '\\' || name.front() == '/')) {
        name.erase(name.begin());
    }
    return name;
}

} // namespace

ProfileManagerModel::ProfileManagerModel(ProfileController& controller, const AppSettings& settings)
    : controller_(controller), settings_(settings)
{
}

ProfileManagerModel::~ProfileManagerModel() { Close(); }

void ProfileManagerModel::Fill()
{
    const ProfileEnvironment& env = controller_.Environment();
    rows_.clear();
    const std::filesystem::path working = WorkingFilePath(env.paths);
    for (int p = 0; p < kProfileCount; ++p) {
        AppendRow(working);
    }
    const int active = env.commands.GetActiveProfile();
    if (active >= 0 && active < kProfileCount) {
        rows_[static_cast<size_t>(active)].ticked = true;
    }
    selected_ = -1;
    applyEnabled_ = false;
    open_ = true;
    controller_.SetOpenManager(this);
}

void ProfileManagerModel::AppendRow(const std::filesystem::path& file)
{
    rows_.push_back({Utf8ToUtf16(file.stem().string()), FolderOf(file), false});
}

void ProfileManagerModel::Add()
{
    const ProfileEnvironment& env = controller_.Environment();
    env.paths.EnsureUserFolder();
    const std::filesystem::path file =
        ChooseProfileFileToWrite(env.prompter, env.texts, env.paths.UserFolder().string(), NewProfileName(env.texts));
    if (file.empty()) {
        return;
    }
    CreateBlankImage(file);
    AppendRow(file);
    applyEnabled_ = true;
}

void ProfileManagerModel::Load()
{
    const ProfileEnvironment& env = controller_.Environment();
    const std::string chosen = env.prompter.ChooseOpenFile(kProfileFileFilter, env.paths.UserFolder().string());
    if (chosen.empty()) {
        return;
    }
    AppendRow(chosen);
    applyEnabled_ = true;
}

void ProfileManagerModel::Delete()
{
    if (selected_ >= 0 && static_cast<size_t>(selected_) < rows_.size()) {
        rows_.erase(rows_.begin() + selected_);
        selected_ = -1;
        applyEnabled_ = true;
    }
}

void ProfileManagerModel::Tick(int row, bool ticked)
{
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) {
        return;
    }
    if (ticked) {
        for (ProfileRow& r : rows_) {
            r.ticked = false;
        }
    }
    rows_[static_cast<size_t>(row)].ticked = ticked;
    applyEnabled_ = true;
}

int ProfileManagerModel::Apply()
{
    const ProfileEnvironment& env = controller_.Environment();
    std::vector<std::filesystem::path> stored;
    int ticked = -1;
    for (size_t i = 0; i < rows_.size(); ++i) {
        stored.push_back(rows_[i].folder / std::filesystem::path(Utf16ToUtf8(rows_[i].name) + ".kvp"));
        if (rows_[i].ticked) {
            ticked = static_cast<int>(i);
        }
    }
    settings_.StoreProfileList(stored);
    // Only the on-board rows name a profile the keyboard has; a file row activates nothing.
    int result = 1;
    if (ticked >= 0 && ticked < kProfileCount) {
        result = env.commands.SetActiveProfile(ticked) == 1 ? 1 : 0;
    }
    controller_.LoadFromKeyboard();
    controller_.RebuildProfileMenu();
    if (result != 1) {
        // Apply stays enabled so that the user can try again.
        env.prompter.ShowMessage(env.texts.Text("PROFILE_ACTIVATE_ERROR"));
        return 0;
    }
    applyEnabled_ = false;
    env.changes.Clear();
    return 1;
}

int ProfileManagerModel::Ok()
{
    if (Apply() != 1) {
        return 0;
    }
    Close();
    return 1;
}

void ProfileManagerModel::Cancel()
{
    applyEnabled_ = false;
    Close();
}

void ProfileManagerModel::FollowActiveProfile(int profile)
{
    selected_ = profile;
    Tick(profile, true);
    applyEnabled_ = false;
}

void ProfileManagerModel::Close()
{
    if (open_) {
        open_ = false;
        controller_.SetOpenManager(nullptr);
    }
}

} // namespace kovantis
