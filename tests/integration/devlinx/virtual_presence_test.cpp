// Arrival and removal of the virtual keyboard as the library's callers see them.
#include <dirent.h>

#include <fstream>
#include <thread>

#include "link_fixture.h"

namespace devlinx_test {
namespace {

Recorder& Record()
{
    return Recorder::Instance();
}

TEST_F(VirtualLinkTest, ArrivalRemovalAndReturnAreNoticedAndCountedOnEveryCollection)
{
    StartLibrary();
    const DeviceSelector other_keyboard = Selector(DEVLINX_PAGE_COMMAND, DEVLINX_USAGE_COMMAND,
                                                   DEVLINX_DEFAULT_VENDOR_ID, 0x0001);
    EXPECT_EQ(Count(kCommand), 0);
    Listen(kCommand, DEVLINX_TAG_CTRL);
    Listen(kConsumer, DEVLINX_TAG_CONS);

    // The socket appears after Init: the library connects by itself, but a connection without
    // a hello is not yet a keyboard.
    keyboard_->Listen();
    ASSERT_TRUE(keyboard_->Accept());
    EXPECT_EQ(Count(kCommand), 0);
    keyboard_->SendHello(DEVLINX_DEFAULT_VENDOR_ID, DEVLINX_DEFAULT_PRODUCT_ID);
    ASSERT_TRUE(Record().WaitForCount(DEVLINX_TAG_CTRL, 1));
    ASSERT_TRUE(Record().WaitForCount(DEVLINX_TAG_CONS, 1));
    EXPECT_EQ(Count(kCommand), 1);
    EXPECT_EQ(Count(kConsumer), 1);
    EXPECT_EQ(Count(kStatus), 1);
    EXPECT_EQ(Count(other_keyboard), 0);

    // The keyboard hangs up: gone on every collection, and writes find nobody.
    keyboard_->Hangup();
    ASSERT_TRUE(Record().WaitForCount(DEVLINX_TAG_CTRL, 0));
    EXPECT_EQ(Count(kConsumer), 0);
    EXPECT_EQ(WriteOne(kCommand, CommandReport(0x01)), 0);

    // Its socket changes again (plugged back in): the library connects once more.
    keyboard_->Touch();
    ASSERT_TRUE(keyboard_->Accept());
    keyboard_->SendHello(DEVLINX_DEFAULT_VENDOR_ID, DEVLINX_DEFAULT_PRODUCT_ID);
    ASSERT_TRUE(Record().WaitForCount(DEVLINX_TAG_CTRL, 1, 2));

    // The socket is removed while connected: that is a removal too, and the library lets go.
    keyboard_->Unlink();
    ASSERT_TRUE(Record().WaitForCount(DEVLINX_TAG_CTRL, 0, 2));
    EXPECT_TRUE(keyboard_->WaitPeerClosed());

    // A new keyboard process on the same path.
    keyboard_->StopListening();
    PlugIn();
    ASSERT_TRUE(Record().WaitForCount(DEVLINX_TAG_CTRL, 1, 3));
    ASSERT_TRUE(Record().WaitForCount(DEVLINX_TAG_CONS, 1, 3));

    // Every change was told once, in order, to every registration; nothing else was.
    EXPECT_EQ(Record().Counts(DEVLINX_TAG_CTRL), (std::vector<int32_t>{1, 0, 1, 0, 1}));
    EXPECT_EQ(Record().Counts(DEVLINX_TAG_CONS), (std::vector<int32_t>{1, 0, 1, 0, 1}));
    EXPECT_EQ(Record().All().size(), 15u);
}

TEST_F(VirtualLinkTest, KeyboardPresentAtInitIsCountedBeforeInitReturns)
{
    keyboard_->Listen();
    std::thread keyboard([this] {
        if (keyboard_->Accept())
            keyboard_->SendHello(DEVLINX_DEFAULT_VENDOR_ID, DEVLINX_DEFAULT_PRODUCT_ID);
    });
    StartLibrary();
    keyboard.join();
    EXPECT_EQ(Count(kCommand), 1);
    EXPECT_EQ(Count(kStatus), 1);
    // Nothing to tell: no registration existed when the keyboard arrived.
    EXPECT_TRUE(Record().All().empty());
}

TEST_F(VirtualLinkTest, OnlyAHelloWithTheKeyboardsIdsMakesADevice)
{
    StartLibrary();
    Listen(kCommand, DEVLINX_TAG_CTRL);
    keyboard_->Listen();
    ASSERT_TRUE(keyboard_->Accept());
    keyboard_->Send(CommandReport(0x01)); // before any hello: nobody's reply
    keyboard_->SendHello(0x1234, 0x5678);
    keyboard_->Send(CommandReport(0x02));
    EXPECT_EQ(WriteOne(kCommand, CommandReport(0x01)), 0);
    EXPECT_EQ(Count(kCommand), 0);
    // The library comes back only after it read this connection to its end, so everything
    // above has been handled once the next connection arrives.
    keyboard_->Hangup();
    keyboard_->Touch();
    ASSERT_TRUE(keyboard_->Accept());
    keyboard_->SendHello(DEVLINX_DEFAULT_VENDOR_ID, DEVLINX_DEFAULT_PRODUCT_ID);
    keyboard_->SendHello(0x1234, 0x5678); // a second hello changes nothing
    ASSERT_TRUE(Record().WaitForCount(DEVLINX_TAG_CTRL, 1));
    EXPECT_EQ(Record().With(DEVLINX_TAG_CTRL).size(), 1u) << "no report from the stranger";
    EXPECT_EQ(Count(kCommand), 1);
}

TEST_F(VirtualLinkTest, UsbIdsChosenByTheEnvironmentNameTheKeyboard)
{
    ::setenv("KOVANTIS_USB_ID", "1234:5678", 1);
    StartLibrary();
    ::unsetenv("KOVANTIS_USB_ID");
    const DeviceSelector moved =
        Selector(DEVLINX_PAGE_COMMAND, DEVLINX_USAGE_COMMAND, 0x1234, 0x5678);
    int32_t unit = 0;
    ASSERT_EQ(RequestAsyncRead(&moved, Recorder::Callback, DEVLINX_TAG_CTRL,
                               devlinx_check_register(&moved, Recorder::Callback, DEVLINX_TAG_CTRL,
                                                      nullptr, 0),
                               &unit),
              1);
    keyboard_->Listen();
    ASSERT_TRUE(keyboard_->Accept());
    keyboard_->SendHello(0x1234, 0x5678);
    ASSERT_TRUE(Record().WaitForCount(DEVLINX_TAG_CTRL, 1));
    EXPECT_EQ(Count(moved), 1);
    EXPECT_EQ(Count(kCommand), 0);
    EXPECT_TRUE(Record().With(kPresenceTag).empty()) << "default-id registrations hear nothing";
}

// Voluntary context switches of the library's I/O thread: it sleeps in poll until something
// happens, so an idle link never adds to them.
long IoThreadWakeups()
{
    DIR* tasks = ::opendir("/proc/self/task");
    long switches = -1;
    while (dirent* entry = tasks ? ::readdir(tasks) : nullptr) {
        const std::string task = std::string("/proc/self/task/") + entry->d_name;
        std::string name;
        std::getline(std::ifstream(task + "/comm"), name);
        if (name != "devlinx-io")
            continue;
        std::ifstream status(task + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                switches = std::stol(line.substr(line.find(':') + 1));
    }
    if (tasks)
        ::closedir(tasks);
    return switches;
}

TEST_F(VirtualLinkTest, AnIdleLinkNeverWakesUp)
{
    StartLibrary();
    // Let the thread settle in poll before counting.
    std::this_thread::sleep_for(50ms);
    const long waiting = IoThreadWakeups();
    ASSERT_GE(waiting, 0);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(IoThreadWakeups(), waiting) << "woke up without a keyboard";

    PlugIn();
    std::this_thread::sleep_for(50ms);
    const long connected = IoThreadWakeups();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(IoThreadWakeups(), connected) << "woke up with an idle keyboard";
}

} // namespace
} // namespace devlinx_test
