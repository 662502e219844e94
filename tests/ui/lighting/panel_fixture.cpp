#include "panel_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QThread>

#include <array>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

#include "keyboard/physical_layout.h"
#include "wire/command_report.h"
#include "platform/ini_file.h"
#include "ports/clock.h"
#include "skin/skin_keys.h"
#include "skin/skin_pictures.h"
#include "support/vkbd_link.h"
#include "ui/skin/c_png_button.h"

namespace kovantis::testing {
namespace {

// Every command report on its way into the library.
std::mutex sentMutex;
std::vector<std::array<uint8_t, kReportSize>> sentReports;
DevlinxRequestWriteOneFn realWriteOne = nullptr;
DevlinxRequestWriteFn realWrite = nullptr;

void Record(const uint8_t* report, int32_t length)
{
    if (report == nullptr || length < static_cast<int32_t>(kReportSize) || report[0] != kReportId)
        return;
    std::array<uint8_t, kReportSize> copy{};
    std::copy_n(report, kReportSize, copy.begin());
    const std::lock_guard lock(sentMutex);
    sentReports.push_back(copy);
}

int32_t RecordingWriteOne(const DeviceSelector* selector, int32_t zero1, int32_t zero2, const uint8_t* report,
                          int32_t length, uint32_t check, int32_t zero3)
{
    Record(report, length);
    return realWriteOne(selector, zero1, zero2, report, length, check, zero3);
}

int32_t RecordingWrite(const DeviceSelector* selector, int32_t zero1, int32_t zero2, const uint8_t* report,
                       int32_t length, uint32_t check, int32_t zero3)
{
    Record(report, length);
    return realWrite(selector, zero1, zero2, report, length, check, zero3);
}

// The library's table with the writes recorded; the links of the tests are built on it.
std::optional<DeviceFunctions> functions;

// Hands the keyboard's own lighting changes to the panel as the window does.
class PanelWindow final : public FakeWindow {
public:
    void PostLightingReread() override
    {
        FakeWindow::PostLightingReread();
        QMetaObject::invokeMethod(qApp, [this] {
            if (panel != nullptr)
                panel->OnKeyboardLightingChanged();
        }, Qt::QueuedConnection);
    }
    ui::LightingPanel* panel = nullptr;
};

} // namespace

std::vector<int> CommandCodes(const std::vector<SentCommand>& sent)
{
    std::vector<int> codes;
    for (const SentCommand& c : sent)
        codes.push_back(c.command);
    return codes;
}

void LightingPanelTest::SetUpTestSuite()
{
    OffscreenApplication();
    if (functions)
        return;
    ASSERT_EQ(SharedKeyboard::Get().Error(), "");
    functions = SharedKeyboard::Get().Library();
    realWriteOne = functions->RequestWriteOne;
    realWrite = functions->RequestWrite;
    functions->RequestWriteOne = RecordingWriteOne;
    functions->RequestWrite = RecordingWrite;
}

void LightingPanelTest::SetUp()
{
    ASSERT_TRUE(functions);
    ASSERT_TRUE(SharedKeyboard::Get().ResetForTest());
    root_ = SharedKeyboard::Get().TestFolder();
    paths_.emplace(PathRoots{BinDir(), root_ / "home", root_ / "config", root_ / "data"});

    auto window = std::make_unique<PanelWindow>();
    PanelWindow* panelWindow = window.get();
    windowPort_ = std::move(window);
    link_ = std::make_unique<DeviceLink>(*functions, *windowPort_, prompter_, texts_, SystemClock());
    link_->State().SetWindowReady(true);
    ASSERT_EQ(link_->Start(), 1);
    ASSERT_TRUE(link_->InitialDeviceCount() > 0 || link_->State().WaitUntilPresent(std::chrono::seconds(5)));
    link_->GetPresence().WaitIdle();

    store_ = std::make_unique<UserModeStore>(*paths_);
    modes_ = std::make_unique<UserModes>(link_->Commands(), *store_);
    const std::string skin = (paths_->SkinsFolder() / kMainSkinFile).string();
    lighting_ = std::make_unique<LightingController>(link_->Commands(), *modes_, view_, SystemClock(),
                                                     LightingSkinTexts(IniDocument::Load(skin).value_or(IniDocument())));
    lighting_->SetLanguage(1);
    jobs_ = std::make_unique<ui::JobRunner>();
    dialog_ = std::make_unique<CBaseDialog>(skin);
    ASSERT_TRUE(dialog_->SetUpSkinWindow());
    jobs_->HoldInputOf(dialog_.get());

    std::vector<ui::KeyPicture> pictures;
    const auto addKey = [&](int controlId, const std::string& skinKey) {
        auto* button = new CPngButton(dialog_.get());
        dialog_->PlaceImageButton(*button, skinKey, kMainKeySet);
        keys_[controlId] = button;
        pictures.push_back({controlId, button});
    };
    for (const PhysicalKey& key : KeyList())
        addKey(key.controlId, SkinKeyOf(key.code));
    addKey(kFnControlId, std::string(kFnSkinKey));
    for (int g = 0; g < kGKeyCount; ++g)
        addKey(GKeyControlId(g), GKeySkinKey(g));

    panel_ = new ui::LightingPanel(*dialog_, *lighting_, *jobs_);
    panel_->AttachKeyPictures(pictures);
    panelWindow->panel = panel_;
    TakeSent();
}

void LightingPanelTest::TearDown()
{
    if (auto* window = dynamic_cast<PanelWindow*>(windowPort_.get()))
        window->panel = nullptr;
    if (jobs_)
        jobs_->Shutdown();
    dialog_.reset();
    jobs_.reset();
    lighting_.reset();
    modes_.reset();
    if (link_)
        link_->Stop();
    link_.reset();
}

void LightingPanelTest::Arrive(int profile, bool lightingView)
{
    view_.on = lightingView;
    jobs_->Run([this, profile] {
        lighting_->SetCurrentProfile(profile);
        lighting_->LoadLighting();
        lighting_->ReloadUserModes();
        lighting_->RefreshLightingPanel();
    });
    Settle();
    TakeSent();
}

void LightingPanelTest::Settle()
{
    ASSERT_TRUE(WaitUntil([this] { return !jobs_->Busy(); }));
    QCoreApplication::processEvents();
}

std::vector<SentCommand> LightingPanelTest::TakeSent()
{
    std::vector<std::array<uint8_t, kReportSize>> reports;
    {
        const std::lock_guard lock(sentMutex);
        reports.swap(sentReports);
    }
    std::vector<SentCommand> sent;
    for (const auto& r : reports) {
        SentCommand c;
        c.command = r[kCommandOffset];
        c.length = r[kLengthOffset];
        c.address = r[kAddressOffset] | (r[kAddressOffset + 1] << 8);
        const int n = std::min<int>(c.length, kMaxDataLength);
        c.data.assign(r.begin() + kDataOffset, r.begin() + kDataOffset + n);
        sent.push_back(std::move(c));
    }
    return sent;
}

std::vector<uint8_t> LightingPanelTest::KeyboardBlock(int profile)
{
    const std::vector<uint8_t> all = Keyboard().Dump("profiles");
    const auto begin = all.begin() + profile * 42;
    return std::vector<uint8_t>(begin, begin + 42);
}

std::vector<uint8_t> LightingPanelTest::KeyboardColours(int profile)
{
    const std::vector<uint8_t> all = Keyboard().Dump("colours " + std::to_string(profile));
    return std::vector<uint8_t>(all.begin(), all.begin() + std::min<size_t>(all.size(), 378));
}

void LightingPanelTest::Click(std::string_view skinKey)
{
    auto* button = qobject_cast<QAbstractButton*>(panel_->Control(skinKey));
    ASSERT_NE(button, nullptr) << skinKey;
    ASSERT_FALSE(button->isHidden()) << skinKey << " is hidden";
    button->click();
    Settle();
}

void LightingPanelTest::ChooseEffect(int effectId)
{
    const int index = lighting_->Table().IndexOf(effectId);
    ASSERT_GE(index, 0) << "the keyboard offers effect " << effectId;
    auto* combo = Widget<QComboBox>("CONTROL_XGcombox");
    ASSERT_FALSE(combo->isHidden());
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    Settle();
}

std::string LightingPanelTest::ModeFile(int profile) const
{
    std::ifstream in(store_->ReadPath(profile));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace kovantis::testing
