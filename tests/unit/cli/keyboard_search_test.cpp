#include "cli/keyboard_search.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kovantis::cli {
namespace {

// A sysfs hidraw class, a /dev and udev rule folders of its own, and an environment.
class KeyboardSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kovantis-search-XXXXXX";
        root_ = ::mkdtemp(pattern);
        places_.hidrawClass = root_ / "sys";
        places_.devFolder = root_ / "dev";
        places_.ruleFolders = {root_ / "etc-rules", root_ / "lib-rules"};
        std::filesystem::create_directories(places_.hidrawClass);
        std::filesystem::create_directories(places_.devFolder);
        places_.environment = [this](const char* name) -> const char* {
            const auto found = env_.find(name);
            return found == env_.end() ? nullptr : found->second.c_str();
        };
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    // hidrawN of a USB device with the given HID_ID; its /dev node only when `node`.
    void AddHidraw(int n, const std::string& hidId, bool node)
    {
        const auto folder = places_.hidrawClass / ("hidraw" + std::to_string(n)) / "device";
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "uevent") << "DRIVER=hid-generic\nHID_ID=" << hidId << "\nHID_NAME=Some keyboard\n";
        if (node)
            std::ofstream(places_.devFolder / ("hidraw" + std::to_string(n))) << "";
    }

    std::filesystem::path root_;
    SearchPlaces places_;
    std::map<std::string, std::string> env_;
};

TEST_F(KeyboardSearchTest, NoNodeOfTheKeyboardNamesTheIdsLookedFor)
{
    AddHidraw(0, "0003:0000046D:0000C52B", true);  // someone else's receiver
    const std::string text = ExplainNoKeyboard(places_);
    EXPECT_NE(text.find("USB id 3a7c:09a1 through hidraw"), std::string::npos) << text;
    EXPECT_NE(text.find("KOVANTIS_USB_ID selects other ids"), std::string::npos) << text;
    EXPECT_NE(text.find("no hidraw node belongs to a USB device 3a7c:09a1"), std::string::npos) << text;

    env_["KOVANTIS_USB_ID"] = "46d:c52b";
    const std::string other = ExplainNoKeyboard(places_);
    EXPECT_NE(other.find("USB id 046d:c52b"), std::string::npos) << other;
    EXPECT_NE(other.find("from KOVANTIS_USB_ID"), std::string::npos) << other;
    EXPECT_NE(other.find("/hidraw0 belongs to it and opens"), std::string::npos) << other;
}

TEST_F(KeyboardSearchTest, ANodeThatDoesNotOpenComesWithTheUdevRule)
{
    AddHidraw(3, "0003:00003A7C:000009A1", false);  // the node cannot be opened
    AddHidraw(4, "0003:00003a7c:000009a1", true);
    const std::vector<HidrawNode> nodes = FindHidrawNodes(places_, 0x3A7C, 0x09A1);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_FALSE(nodes[0].opens);
    EXPECT_EQ(nodes[0].reason, "No such file or directory");
    EXPECT_TRUE(nodes[1].opens);

    std::string text = ExplainNoKeyboard(places_);
    EXPECT_NE(text.find((places_.devFolder / "hidraw3").string() + " belongs to it but cannot be opened: No such "
                                                                    "file or directory"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("is not installed"), std::string::npos) << text;
    EXPECT_NE(text.find(UdevRuleLine(0x3A7C, 0x09A1)), std::string::npos) << text;
    EXPECT_NE(text.find("udevadm control --reload"), std::string::npos) << text;

    // With the rule in place the advice is to reload it and replug, not to install it again.
    std::filesystem::create_directories(root_ / "lib-rules");
    std::ofstream(root_ / "lib-rules" / kUdevRuleName) << UdevRuleLine(0x3A7C, 0x09A1) << '\n';
    text = ExplainNoKeyboard(places_);
    EXPECT_EQ(text.find("is not installed"), std::string::npos) << text;
    EXPECT_NE(text.find((root_ / "lib-rules" / kUdevRuleName).string()), std::string::npos) << text;
}

TEST_F(KeyboardSearchTest, RuleLineMatchesTheShippedRule)
{
    std::ifstream shipped(std::string(std::getenv("KOVANTIS_SOURCE_DIR")) + "/data/60-kovantis.rules");
    std::string line, rule;
    while (std::getline(shipped, line))
        if (!line.starts_with("#") && !line.empty())
            rule = line;
    EXPECT_EQ(UdevRuleLine(0x3A7C, 0x09A1), rule);
}

TEST_F(KeyboardSearchTest, WithoutHidrawAndOnTheVirtualLink)
{
    std::filesystem::remove_all(places_.hidrawClass);
    EXPECT_NE(ExplainNoKeyboard(places_).find("does not exist"), std::string::npos);

    env_["DEVLINX_BACKEND"] = "virtual";
    env_["DEVLINX_VIRTUAL_SOCKET"] = (root_ / "kbd.sock").string();
    std::string text = ExplainNoKeyboard(places_);
    EXPECT_NE(text.find("virtual keyboard on the socket " + (root_ / "kbd.sock").string()), std::string::npos) << text;
    EXPECT_NE(text.find("No such file or directory; is kovantis-vkbd running?"), std::string::npos) << text;

    // A socket that is there but has nobody behind it.
    const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = (root_ / "kbd.sock").string();
    std::copy(path.begin(), path.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    text = ExplainNoKeyboard(places_);
    EXPECT_NE(text.find("the socket exists but no keyboard answered"), std::string::npos) << text;
    ::close(fd);

    env_.erase("DEVLINX_VIRTUAL_SOCKET");
    env_["XDG_RUNTIME_DIR"] = "/run/user/1234";
    EXPECT_NE(ExplainNoKeyboard(places_).find("/run/user/1234/kovantis-vkbd.sock"), std::string::npos);
}

} // namespace
} // namespace kovantis::cli
