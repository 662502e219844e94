// The macro page against kovantis-vkbd: a macro recorded with its pauses, OK, then Apply's
// download, and what the keyboard holds afterwards.

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>

#include <filesystem>

#include "app/app_settings.h"
#include "keyboard/key_table.h"
#include "macro_page_fixture.h"
#include "macros/macro_area.h"
#include "wire/le_bytes.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "profiles/macro_download.h"
#include "profiles/working_bank_store.h"
#include "profiles/working_macro_host.h"
#include "support/vkbd_link.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {
namespace {

using testing::DeliverTimedKey;
using testing::MacroDialog;

constexpr int kRecordF1 = 0x03B;
constexpr int kControlF1 = 1060;
constexpr KeyCode kC = 0x02E;
constexpr uint8_t kUsageA = 0x04;
constexpr uint8_t kUsageB = 0x05;
constexpr uint8_t kUsageC = 0x06;

class MacroPageOnKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(link.Error(), "");
        ASSERT_EQ(link.Link().Commands().SetActiveProfile(0), 1);
        folder = std::filesystem::path(link.Keyboard().Folder()) / "home";
        paths = std::make_unique<Paths>(PathRoots{folder / "bin", folder, folder / "config", folder / "data"});
        store = std::make_unique<SettingsStore>(paths->SettingsStoreFile());
        settings = std::make_unique<AppSettings>(*paths, *store, link.Texts());
        settings->WriteRecordDelaySetting(1);
        auto host = std::make_unique<WorkingMacroHost>(
            WorkingMacroLinks{data.working, changes, window, link.Link().State(), *settings});
        ui = std::make_unique<MacroDialog>(bank, std::move(host));
    }
    void TearDown() override { ui.reset(); }

    int Download() { return DownloadToKeyboard(data, {link.Link().Commands(), link.Link().State(), link.Prompter(), link.Texts()}, false); }
    // The keyboard's macro area: the header, then as much as it says it holds.
    std::vector<uint8_t> MacroArea()
    {
        const std::vector<uint8_t> head = link.Keyboard().Dump("macro 0 16");
        return link.Keyboard().Dump("macro 0 " + std::to_string(ReadU16(head, 2)));
    }
    // The three bytes the keymap holds at the position of F1.
    std::vector<uint8_t> ActionOfF1()
    {
        const std::vector<uint8_t> factory = link.Keyboard().Dump("factory");
        const std::vector<uint8_t> keymap = link.Keyboard().Dump("keymap 0");
        for (size_t p = 0; p + 2 < factory.size(); p += 3) {
            if (factory[p] == 2 && factory[p + 1] == 2 && factory[p + 2] == 0x3A)  // F1's usage
                return {keymap[p], keymap[p + 1], keymap[p + 2]};
        }
        return {};
    }
    // Encoded step i of the first macro: its word and two bytes.
    std::vector<uint8_t> Step(const std::vector<uint8_t>& area, int i) const
    {
        const size_t at = ReadU16(area, 16) + 4 + 4 * static_cast<size_t>(i);
        return {area.begin() + static_cast<std::ptrdiff_t>(at), area.begin() + static_cast<std::ptrdiff_t>(at + 4)};
    }

    testing::VkbdLink link;
    std::filesystem::path folder;
    std::unique_ptr<Paths> paths;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<AppSettings> settings;
    ProfileDataPair data;
    testing::FakeWindow window;
    UnsavedChanges changes{window};
    WorkingBankStore bank{data.working, changes, [] { return 0; }};
    std::unique_ptr<MacroDialog> ui;
};

TEST_F(MacroPageOnKeyboardTest, RecordedPausesReachTheKeyboardAndAnInPlaceEditChangesThem)
{
    ASSERT_TRUE(ui->Open(kRecordF1, kControlF1));
    ui->Dialog().PressPage(KeyPage::Macro);
    ui->Page().Button(kMacroAddControlId)->click();
    ui->Page().PressRecord(5000);
    QWidget& window = ui->Dialog();
    ASSERT_TRUE(DeliverTimedKey(window, QEvent::KeyPress, KEY_A, 5300));
    ASSERT_TRUE(DeliverTimedKey(window, QEvent::KeyRelease, KEY_A, 5420));
    ASSERT_TRUE(DeliverTimedKey(window, QEvent::KeyPress, KEY_B, 5670));
    ASSERT_TRUE(DeliverTimedKey(window, QEvent::KeyRelease, KEY_B, 5750));
    ui->Page().PressRecord(5800);
    ui->Dialog().PressOk();
    ASSERT_FALSE(ui->Dialog().isVisible());
    EXPECT_TRUE(changes.Pending());
    ASSERT_EQ(Download(), 1);

    std::vector<uint8_t> area = MacroArea();
    ASSERT_GE(area.size(), 16u + 2 + 4 + 16);
    EXPECT_EQ(ReadU16(area, 0), kMacroAreaMagic);
    EXPECT_EQ(ReadU16(area, 4), 1);
    const size_t entry = ReadU16(area, 16);
    EXPECT_EQ(ReadU16(area, entry), 4);  // four steps
    EXPECT_EQ(area[entry + 2], 1);       // played once
    // A down, 120 ms; A up, 250 ms; B down, 80 ms; B up, none: class 2, press bit 15.
    EXPECT_EQ(Step(area, 0), (std::vector<uint8_t>{12, 0xA0, 2, kUsageA}));
    EXPECT_EQ(Step(area, 1), (std::vector<uint8_t>{25, 0x20, 2, kUsageA}));
    EXPECT_EQ(Step(area, 2), (std::vector<uint8_t>{8, 0xA0, 2, kUsageB}));
    EXPECT_EQ(Step(area, 3), (std::vector<uint8_t>{0, 0x20, 2, kUsageB}));
    EXPECT_EQ(ActionOfF1(), (std::vector<uint8_t>{5, 1, 0}));  // F1 plays macro position 0

    // Open again, change one step's pause and key in place, Apply: the keyboard's bytes follow.
    ASSERT_TRUE(ui->Open(kRecordF1, kControlF1));
    auto* delay = qobject_cast<QLineEdit*>(ui->EditCell(1, 2));
    ASSERT_NE(delay, nullptr);
    delay->setText("1234");
    auto* keys = qobject_cast<QComboBox*>(ui->EditCell(2, 0));
    ASSERT_NE(keys, nullptr);
    keys->setCurrentIndex(PickerPositionOf(kC));
    emit keys->activated(keys->currentIndex());
    QCoreApplication::processEvents();
    ui->Dialog().PressApply();
    ASSERT_EQ(Download(), 1);
    area = MacroArea();
    EXPECT_EQ(Step(area, 1), (std::vector<uint8_t>{123, 0x20, 2, kUsageA}));  // 1230 ms
    EXPECT_EQ(Step(area, 2), (std::vector<uint8_t>{8, 0xA0, 2, kUsageC}));
    EXPECT_EQ(Step(area, 3), (std::vector<uint8_t>{0, 0x20, 2, kUsageB}));
    ui->Dialog().PressCancel();
}

} // namespace
} // namespace kovantis
