#pragma once
// The main window against kovantis-vkbd through the real libdevlinx.so, in this process, on
// Qt's offscreen platform. One keyboard and one library per test program (the library reads its
// socket once); each test gets the keyboard back in its factory state, fresh per-user folders
// and a new window. Questions are answered by a scripted prompter.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_settings.h"
#include "app/language_table.h"
#include "profiles/profile_data.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "support/fake_ports.h"
#include "support/offscreen_ui.h"
#include "support/vkbd_link.h"
#include "ui/main_window/main_window.h"

namespace kovantis::testing {


// The fake prompter with file choices a test sets (empty: the user cancelled).
class ChoosingPrompter : public FakePrompter {
public:
    std::string ChooseOpenFile(const std::string&, const std::string& folder) override
    {
        openFolders.push_back(folder);
        return openChoice;
    }
    std::string ChooseSaveFile(const std::string& filter, const std::string& folder, const std::string&) override
    {
        saveFilters.push_back(filter);
        saveFolders.push_back(folder);
        return saveChoice;
    }
    std::string openChoice;
    std::string saveChoice;
    std::vector<std::string> openFolders;
    std::vector<std::string> saveFolders;
    std::vector<std::string> saveFilters;
};

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Builds and initialises the window; waits until "INIT" has been handled and, with the
    // keyboard plugged, until its arrival has been handled too.
    void StartWindow(bool startHidden = false);
    CKovantisDlg& Window() { return *window_; }

    static VkbdProcess& Keyboard() { return SharedKeyboard::Get().Keyboard(); }
    static const DeviceFunctions& Library() { return SharedKeyboard::Get().Library(); }
    // The table the windows are built on, for a test that wraps one of its functions.
    static DeviceFunctions& LibraryTable() { return SharedKeyboard::Get().Library(); }
    // Changes one record of the working data as an editor would, and marks the change.
    void Edit(int bank, int record, const KeyAssignment& value);
    KeyAssignment Record(int bank, int record);
    void Click(std::string_view skinKey);
    bool ApplyEnabled();

    ChoosingPrompter prompter_;
    std::filesystem::path userRoot_;
    std::optional<Paths> paths_;
    std::optional<LanguageTable> language_;
    std::optional<SettingsStore> store_;
    std::optional<AppSettings> settings_;
    std::unique_ptr<ProfileDataPair> data_;
    std::unique_ptr<CKovantisDlg> window_;
};

} // namespace kovantis::testing
