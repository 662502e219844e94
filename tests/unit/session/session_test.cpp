// The composition root: what it wires between the controllers and the ports.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "keyboard/bank.h"
#include "keyboard/key_code.h"
#include "lighting/lighting_view_setting.h"
#include "session/open_editors.h"
#include "session/session.h"
#include "support/fake_clock.h"
#include "support/fake_device.h"
#include "support/fake_ports.h"

namespace kovantis {
namespace {

using namespace kovantis::testing;

constexpr KeyCode kKeyA = 0x01E;

class LampOff final : public LightingViewSetting {
public:
    bool Read() const override { return false; }
    void Write(bool) override {}
};

class SessionTest : public ::testing::Test {
protected:
    SessionTest()
    {
        char pattern[] = "/tmp/kovantis-session-XXXXXX";
        root_ = ::mkdtemp(pattern);
        paths_.emplace(PathRoots{root_ / "bin", root_, root_ / "config", root_ / "data"});
        session_ = std::make_unique<Session>(
            SessionSetup{device_.Link().Functions(), *paths_, data_, lamp_, LightingSkinTexts{}, 0},
            SessionPorts{window_, editors_, prompter_, texts_, clock_});
        ProfileData::Lock lock(data_.working);
        lock.Replace(NewProfileContents());
    }
    ~SessionTest() override
    {
        session_.reset();
        std::filesystem::remove_all(root_);
    }

    KeyAssignment& Record(int profile, int record)
    {
        ProfileData::Lock lock(data_.working);
        return lock->image.Bank(profile)[static_cast<size_t>(record)];
    }

    std::filesystem::path root_;
    std::optional<Paths> paths_;
    FakeDevice device_;
    FakeWindow window_;
    OpenEditors editors_;
    FakePrompter prompter_;
    FakeTexts texts_;
    FakeClock clock_;
    LampOff lamp_;
    ProfileDataPair data_;
    std::unique_ptr<Session> session_;
};

TEST_F(SessionTest, RestoreDefaultsClearsTheCurrentProfilesKeysOnlyWhenTheUserSaysYes)
{
    const KeyAssignment disabled = MakeAssignment(AssignmentKind::Disabled);
    Record(0, kKeyA) = disabled;
    Record(0, GKeyRecord(0, GKeyBank::A)) = disabled;
    Record(0, GKeyRecord(0, GKeyBank::B)) = disabled;
    Record(1, kKeyA) = disabled;

    prompter_.AnswerYes(false);
    EXPECT_FALSE(session_->RestoreDefaultRecords(GKeyBank::A));
    EXPECT_EQ(prompter_.Questions(), std::vector<std::u16string>{u"MAIN_PROMPT_DEFAULT"});
    EXPECT_EQ(Record(0, kKeyA), disabled) << "No keeps everything";
    EXPECT_FALSE(session_->Changes().Pending());

    prompter_.AnswerYes(true);
    EXPECT_TRUE(session_->RestoreDefaultRecords(GKeyBank::A));
    EXPECT_EQ(Record(0, kKeyA), KeyAssignment{});
    EXPECT_EQ(Record(0, GKeyRecord(0, GKeyBank::A)), KeyAssignment{});
    EXPECT_EQ(Record(0, GKeyRecord(0, GKeyBank::B)), disabled) << "the other G bank stays";
    EXPECT_EQ(Record(1, kKeyA), disabled) << "another profile's bank stays";
    EXPECT_TRUE(session_->Changes().Pending());
    EXPECT_EQ(window_.Count("PostApplyEnabled 1"), 1);
}

TEST_F(SessionTest, AProfileSwitchWaitsForOpenEditorsAndQuitClosesThemAndFreesTheData)
{
    Record(0, kKeyA) = MakeAssignment(AssignmentKind::Disabled);
    int cancelled = 0;
    auto editor = editors_.Open("key assignment", [&] { ++cancelled; });
    EXPECT_EQ(session_->Profiles().SwitchProfile(1), 0);
    EXPECT_EQ(prompter_.Messages(), std::vector<std::u16string>{u"PROFILE_SEELCT_PROMPT2"});

    session_->Quit();
    EXPECT_EQ(cancelled, 1);
    EXPECT_FALSE(editors_.AnyOpen());
    ProfileData::Lock lock(data_.working);
    EXPECT_EQ(lock->image.Bank(0)[kKeyA], KeyAssignment{}) << "the working copy was emptied";
}

} // namespace
} // namespace kovantis
