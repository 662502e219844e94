#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "session/open_editors.h"

namespace kovantis {
namespace {

using Names = std::vector<std::string>;

TEST(OpenEditorsTest, AnEditorCountsAsOpenExactlyWhileItsRegistrationLasts)
{
    OpenEditors editors;
    EXPECT_FALSE(editors.AnyOpen());
    {
        auto keys = editors.Open("key assignment", [] {});
        EXPECT_TRUE(editors.AnyOpen());
        OpenEditors::Registration moved = std::move(keys);
        keys.End();  // a moved-from registration ends nothing
        EXPECT_EQ(editors.OpenNames(), Names{"key assignment"});
        {
            auto manager = editors.Open("profile manager", [] {});
            EXPECT_EQ(editors.OpenNames(), (Names{"key assignment", "profile manager"}));
        }
        EXPECT_EQ(editors.OpenNames(), Names{"key assignment"});
    }
    EXPECT_FALSE(editors.AnyOpen());
}

TEST(OpenEditorsTest, CloseAllCancelsNewestFirstOnTheEditorsThreadAndForgetsThem)
{
    std::vector<std::string> closed;
    std::thread::id ranOn;
    int dispatched = 0;
    OpenEditors editors([&](OpenEditors::Action action) {
        ++dispatched;
        std::thread([&] {
            ranOn = std::this_thread::get_id();
            action();
        }).join();
    });
    auto first = editors.Open("key assignment", [&] { closed.push_back("key assignment"); });
    auto second = editors.Open("macro recorder", [&] { closed.push_back("macro recorder"); });

    editors.CloseAll();
    EXPECT_EQ(closed, (Names{"macro recorder", "key assignment"}));
    EXPECT_NE(ranOn, std::this_thread::get_id());
    EXPECT_FALSE(editors.AnyOpen()) << "a profile switch may go ahead at once";

    // The dialogs end their registrations when they have closed; nothing runs twice.
    first.End();
    second.End();
    editors.CloseAll();
    EXPECT_EQ(closed.size(), 2u);
    EXPECT_EQ(dispatched, 1) << "nothing open: the editors' thread is not disturbed";
}

TEST(OpenEditorsTest, AnEditorOpenedWhileOthersCloseStaysRegistered)
{
    OpenEditors editors;
    OpenEditors::Registration late;
    auto first = editors.Open("update", [&] { late = editors.Open("message", [] {}); });
    editors.CloseAll();
    EXPECT_EQ(editors.OpenNames(), Names{"message"});
}

} // namespace
} // namespace kovantis
