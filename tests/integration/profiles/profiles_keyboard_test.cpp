#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <future>
#include <thread>

#include "device/device_link.h"
#include "keyboard/bank.h"
#include "keyboard/hid_usage.h"
#include "wire/le_bytes.h"
#include "platform/device_library.h"
#include "ports/clock.h"
#include "profiles/keyboard_readback.h"
#include "profiles/profile_controller.h"
#include "profiles/profile_file.h"
#include "profiles/transfer_journal.h"
#include "support/fake_ports.h"
#include "support/vkbd_process.h"

using namespace std::chrono_literals;

namespace kovantis {
namespace {

using namespace kovantis::testing;

// One keyboard with the largest macro area for the whole program: the library reads its socket
// once per process.
class ProfilesKeyboardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        keyboard_ = new VkbdProcess({"--macro-space", "255"});
        setenv("DEVLINX_BACKEND", "virtual", 1);
        setenv("DEVLINX_VIRTUAL_SOCKET", keyboard_->SocketPath().c_str(), 1);
        unsetenv("KOVANTIS_USB_ID");
        std::string error;
        if (auto functions = DeviceLibrary::Load(BinDir() + "/libdevlinx.so", &error)) {
            functions_ = new DeviceFunctions(*functions);
        } else {
            ADD_FAILURE() << error;
        }
    }
    static void TearDownTestSuite()
    {
        delete keyboard_;
        keyboard_ = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(keyboard_ && keyboard_->Running() && functions_);
        ASSERT_EQ(keyboard_->Control("reset").substr(0, 2), "ok");
        keyboard_->Control("plug");
        char pattern[] = "/tmp/kovantis-profiles-it-XXXXXX";
        root_ = ::mkdtemp(pattern);
        paths_ = std::make_unique<Paths>(PathRoots{root_ / "bin", root_, root_ / "config", root_ / "data"});
        link_ = std::make_unique<DeviceLink>(*functions_, window_, prompter_, texts_, SystemClock());
        link_->State().SetWindowReady(true);
        ASSERT_EQ(link_->Start(), 1);
        if (link_->InitialDeviceCount() > 0 || link_->State().WaitUntilPresent(2s)) {
            link_->GetPresence().WaitIdle();
        }
        ASSERT_TRUE(link_->State().Present());
        controller_ = std::make_unique<ProfileController>(ProfileEnvironment{
            data_, link_->Commands(), link_->State(), window_, window_, prompter_, texts_, *paths_, changes_, lighting_});
    }
    void TearDown() override
    {
        keyboard_->Control("latency 0");
        controller_.reset();
        link_->Stop();
        link_.reset();
        std::filesystem::remove_all(root_);
    }

    static inline VkbdProcess* keyboard_ = nullptr;
    static inline DeviceFunctions* functions_ = nullptr;

    std::filesystem::path root_;
    std::unique_ptr<Paths> paths_;
    FakeWindow window_;
    FakePrompter prompter_;
    FakeTexts texts_;
    ProfileDataPair data_;
    UnsavedChanges changes_{window_};
    LightingHooks lighting_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<ProfileController> controller_;
};

MacroRecord Macro(uint16_t id, std::u16string_view name, std::vector<MacroAction> steps, uint8_t plays)
{
    MacroRecord m;
    m.SetName(name);
    m.id = id;
    m.playCount = plays;
    m.actionCount = static_cast<uint16_t>(steps.size());
    std::copy(steps.begin(), steps.end(), m.actions.begin());
    return m;
}

// Assignments the keyboard can hold, at keys of its factory layout, in all three profiles.
std::unique_ptr<ProfileContents> SampleContents()
{
    auto contents = BlankProfileContents();
    const KeyCode volumeUp = UsageToKeyCode(kConsumerPage, 0xE9);
    contents->macros = {
        Macro(1, u"Combo", {{120, 0x02A, kMacroPress}, {30, 0x01E, kMacroPress}, {0, 0x01E, kMacroRelease},
                            {40000, 0x02A, kMacroRelease}}, 1),
        Macro(2, u"Louder", {{10, volumeUp, kMacroPress}, {0, volumeUp, kMacroRelease}}, 5),
        Macro(3, u"", {{0, 0x15C, kMacroPress}}, 255)};
    auto set = [&](int bank, KeyCode key, KeyAssignment a) { contents->image.Bank(bank)[SlotOf(key)] = a; };
    set(0, 0x01E, MakeAssignment(AssignmentKind::Key, 0x030));       // A types B
    set(0, 0x030, MakeAssignment(AssignmentKind::Key, 0x036));       // B is Right Shift
    set(0, 0x010, MakeAssignment(AssignmentKind::Disabled));
    set(1, 0x01E, MakeAssignment(AssignmentKind::PlayMacro, 2, 5));
    set(1, 0x039, MakeAssignment(AssignmentKind::StopMacro));
    set(1, 0x001, MakeAssignment(AssignmentKind::Media, 6));
    set(2, 0x03B, MakeAssignment(AssignmentKind::Function, 3));
    set(2, 0x01C, MakeAssignment(AssignmentKind::PlayMacro, 3));
    set(2, 0x030, MakeAssignment(AssignmentKind::LaunchProgram));    // stays in files only
    contents->strings.Set(GlobalRecordNumber(2, 0x030), u"/usr/bin/true");
    return contents;
}

std::filesystem::path SaveContents(const std::filesystem::path& path, std::unique_ptr<ProfileContents> contents)
{
    ProfileData data(ProfileDataRole::Working);
    ProfileData::Lock(data).Replace(std::move(contents));
    EXPECT_EQ(SaveProfileFile(path, data), 1);
    return path;
}

TEST_F(ProfilesKeyboardTest, ImportedFileReadsBackWithEverythingTheKeyboardHolds)
{
    const std::filesystem::path file = SaveContents(root_ / "sample.kvp", SampleContents());
    ASSERT_EQ(controller_->ImportFile(file), 1);
    const std::filesystem::path back = root_ / "back.kvp";
    ASSERT_EQ(ReadKeyboardToFile(back, link_->Commands(), link_->State(), texts_), 1);
    ASSERT_EQ(ValidateProfileFile(back, prompter_, texts_), 1);

    const auto sent = ReadProfileContents(file);
    const auto read = ReadProfileContents(back);
    ASSERT_TRUE(sent && read);
    for (int bank = 0; bank < kProfileCount; ++bank) {
        for (int r = 0; r < kKeyRecordCount; ++r) {
            KeyAssignment expected = sent->image.Bank(bank)[static_cast<size_t>(r)];
            if (expected.kind == AssignmentKind::LaunchProgram) {
                expected = {};  // the keyboard keeps its default there
            }
            expected.extra = 0;  // the cycle count typed stays in the program
            EXPECT_EQ(read->image.Bank(bank)[static_cast<size_t>(r)], expected) << bank << " " << r;
        }
    }
    ASSERT_EQ(read->macros.size(), sent->macros.size());
    for (size_t i = 0; i < sent->macros.size(); ++i) {
        MacroRecord expected = sent->macros[i];
        if (expected.Name().empty()) {
            expected.SetName(u"MACRO_NEW_PREFIX" + std::u16string(1, static_cast<char16_t>(u'1' + i)));
        }
        EXPECT_EQ(read->macros[i], expected) << i;
    }
    EXPECT_EQ(ReadU16(read->image.header, 14), 3);
    EXPECT_EQ(ReadU32(read->image.header, 16), 0u);  // the keyboard holds no texts
}

TEST_F(ProfilesKeyboardTest, UnplugInTheMiddleOfADownloadFailsAndKeepsTheWorkingFile)
{
    // A large macro area on a slow link: the download takes long enough to be cut.
    auto contents = SampleContents();
    contents->macros.clear();
    for (uint16_t id = 1; id <= 7; ++id) {
        std::vector<MacroAction> steps(1000, MacroAction{10, 0x01E, kMacroPress});
        contents->macros.push_back(Macro(id, u"Big", steps, 1));
    }
    const std::filesystem::path working = WorkingFilePath(*paths_);
    SaveContents(working, std::move(contents));
    ASSERT_EQ(LoadProfileFile(working, data_.working), 1);
    const std::vector<uint8_t> before = [&] {
        std::ifstream in(working, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }();
    keyboard_->Control("latency 2");
    changes_.MarkChanged();

    auto apply = std::async(std::launch::async, [&] { return controller_->Apply(); });
    std::this_thread::sleep_for(300ms);
    keyboard_->Control("unplug");
    ASSERT_EQ(apply.wait_for(60s), std::future_status::ready) << "the download hangs";
    const int result = apply.get();
    EXPECT_TRUE(result == 0 || result == -1) << result;  // the keyboard is gone
    EXPECT_TRUE(changes_.Pending());  // Apply stays enabled for a retry
    EXPECT_TRUE(JournalExists(JournalPath(*paths_)));  // the next arrival completes it

    EXPECT_EQ(ValidateProfileFile(working, prompter_, texts_), 1);
    std::ifstream in(working, std::ios::binary);
    EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}), before);
}

} // namespace
} // namespace kovantis
