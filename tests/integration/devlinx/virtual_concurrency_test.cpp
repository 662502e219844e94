// Callbacks that call back into the library, and callers on several threads at once.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "link_fixture.h"

namespace devlinx_test {
namespace {

constexpr uint32_t kChainTag = 0x43484E31;  // "CHN1"
constexpr uint32_t kScratchTag = 0x53435231; // "SCR1"

Packet Numbered(uint8_t command, int index)
{
    Packet report = CommandReport(command);
    report[8] = static_cast<uint8_t>(index);
    report[9] = static_cast<uint8_t>(index >> 8);
    return report;
}

int NumberOf(const uint8_t* report)
{
    return report[8] | (report[9] << 8);
}

Packet AsReply(const Packet& packet)
{
    return packet; // the keyboard's reply repeats the request: same packet type and bytes
}

// Answers every command packet with itself until `commands` arrived; counts status packets.
void Echo(FakeKeyboard& keyboard, int commands, std::atomic<int>& status_packets)
{
    for (int answered = 0; answered < commands;) {
        const auto packet = keyboard.Receive();
        if (!packet)
            return;
        if ((*packet)[0] == 0x03) {
            ++status_packets;
        } else if ((*packet)[0] == 0x01) {
            keyboard.Send(AsReply(*packet));
            ++answered;
        }
    }
}

// Each reply's callback sends the next request from inside the callback, after registering and
// deleting a status output on the way.
struct Chain {
    static constexpr int kExchanges = 2000;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::atomic<int> replies{0};
    std::atomic<int> end_inside_callback{0};
    std::atomic<int> init_inside_callback{0};
    std::atomic<int> count_inside_callback{-5};
    std::atomic<int> failures{0};

    static Chain& Instance()
    {
        static Chain chain;
        return chain;
    }

    static int32_t Callback(const DevlinxNotification* n)
    {
        Chain& self = Instance();
        if (n->kind == DEVLINX_NOTIFY_COUNT && n->count == 1) {
            self.end_inside_callback = End();
            self.init_inside_callback = Init(0);
            self.count_inside_callback = Count(kCommand);
            self.Send(0);
        } else if (n->kind == DEVLINX_NOTIFY_REPORT) {
            const int index = NumberOf(n->report);
            ++self.replies;
            if (index + 1 < kExchanges) {
                const int32_t unit = StatusWrite(kStatus, kScratchTag, {0x05, 0x02});
                if (DeleteRequestFromUnitId(unit) != 1)
                    ++self.failures;
                self.Send(index + 1);
            } else {
                const std::lock_guard lock(self.mutex);
                self.done = true;
                self.finished.notify_all();
            }
        }
        return 1;
    }

    void Send(int index)
    {
        if (WriteOne(kCommand, Numbered(0x05, index)) != 1)
            ++failures;
    }
};

TEST_F(VirtualLinkTest, CallbacksMayWriteRegisterDeleteAndCountFromInsideWithoutDeadlock)
{
    StartLibrary();
    Chain& chain = Chain::Instance();
    Listen(kCommand, kChainTag, Chain::Callback);
    std::atomic<int> status_packets{0};
    keyboard_->Listen();
    ASSERT_TRUE(keyboard_->Accept());
    keyboard_->SendHello(DEVLINX_DEFAULT_VENDOR_ID, DEVLINX_DEFAULT_PRODUCT_ID);
    Echo(*keyboard_, Chain::kExchanges, status_packets);
    {
        std::unique_lock lock(chain.mutex);
        ASSERT_TRUE(chain.finished.wait_for(lock, kPatience, [&] { return chain.done; }));
    }
    EXPECT_EQ(chain.replies.load(), Chain::kExchanges);
    EXPECT_EQ(status_packets.load(), Chain::kExchanges - 1);
    EXPECT_EQ(chain.failures.load(), 0);
    EXPECT_EQ(chain.end_inside_callback.load(), -1) << "End from a callback is refused";
    EXPECT_EQ(chain.init_inside_callback.load(), 1) << "the library is running already";
    EXPECT_EQ(chain.count_inside_callback.load(), 1) << "the count is stored before it is told";
}

// The replies a writer waits for, delivered by the library's thread.
struct Replies {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<int> numbers;
    std::vector<uint16_t> events;

    static Replies& Instance()
    {
        static Replies replies;
        return replies;
    }

    static int32_t Callback(const DevlinxNotification* n)
    {
        if (n->kind != DEVLINX_NOTIFY_REPORT)
            return 1;
        Replies& self = Instance();
        {
            const std::lock_guard lock(self.mutex);
            if (n->tag == DEVLINX_TAG_CTRL && n->length == 64)
                self.numbers.push_back(NumberOf(n->report));
            else if (n->tag == DEVLINX_TAG_CONS)
                self.events.push_back(n->event_code);
        }
        self.arrived.notify_all();
        return 1;
    }

    bool WaitForReply(size_t count)
    {
        std::unique_lock lock(mutex);
        return arrived.wait_for(lock, kPatience, [&] { return numbers.size() >= count; });
    }
};

TEST_F(VirtualLinkTest, RepliesEventsAndOtherCallersAtOnceLoseNothing)
{
    constexpr int kExchanges = 3000;
    StartLibrary();
    Listen(kCommand, DEVLINX_TAG_CTRL, Replies::Callback);
    Listen(kConsumer, DEVLINX_TAG_CONS, Replies::Callback);
    PlugIn();

    // The keyboard answers every request and sends an event of its own right after each reply;
    // it keeps reading until the last status output is in.
    std::atomic<bool> writing{true};
    std::thread keyboard([&] {
        for (int answered = 0; answered < kExchanges || writing;) {
            const auto packet = keyboard_->Receive(answered < kExchanges ? kPatience : 10ms);
            if (!packet) {
                if (answered < kExchanges)
                    return;
                continue;
            }
            if ((*packet)[0] != 0x01)
                continue;
            keyboard_->Send(*packet);
            keyboard_->Send({0x02, static_cast<uint8_t>(answered), 0x18});
            ++answered;
        }
    });
    // Another part of the program registers, counts and writes status outputs meanwhile.
    std::atomic<int> bystander_failures{0};
    std::thread bystander([&] {
        while (writing) {
            const int32_t unit = StatusWrite(kStatus, kScratchTag, {0x05, 0x02});
            if (Count(kCommand) != 1 || DeleteRequestFromUnitId(unit) != 1)
                ++bystander_failures;
        }
    });

    Replies& replies = Replies::Instance();
    int lost = 0;
    for (int i = 0; i < kExchanges; ++i) {
        ASSERT_EQ(WriteOne(kCommand, Numbered(0x05, i)), 1);
        if (!replies.WaitForReply(static_cast<size_t>(i) + 1)) {
            lost = kExchanges - i;
            break;
        }
    }
    writing = false;
    bystander.join();
    keyboard.join();
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(bystander_failures.load(), 0);

    std::unique_lock lock(replies.mutex);
    ASSERT_TRUE(replies.arrived.wait_for(lock, kPatience,
                                         [&] { return replies.events.size() == kExchanges; }));
    ASSERT_EQ(replies.numbers.size(), static_cast<size_t>(kExchanges));
    for (int i = 0; i < kExchanges; ++i) {
        EXPECT_EQ(replies.numbers[static_cast<size_t>(i)], i);
        EXPECT_EQ(replies.events[static_cast<size_t>(i)], static_cast<uint16_t>(0x1800 | (i & 0xFF)));
    }
}

TEST_F(VirtualLinkTest, HangupDuringAnExchangeSequenceFailsTheRestAndNeverHangs)
{
    StartLibrary();
    Listen(kCommand, DEVLINX_TAG_CTRL);
    PlugIn();
    std::atomic<int> status_packets{0};
    std::thread keyboard([&] {
        Echo(*keyboard_, 10, status_packets);
        keyboard_->Hangup();
    });
    int sent = 0;
    // Writes keep going until the library has seen the hang-up; none blocks.
    while (WriteOne(kCommand, Numbered(0x05, sent)) == 1)
        ++sent;
    keyboard.join();
    EXPECT_GE(sent, 10);
    EXPECT_TRUE(Recorder::Instance().WaitForCount(DEVLINX_TAG_CTRL, 0));
    EXPECT_EQ(WriteOne(kCommand, Numbered(0x05, 0)), 0);
    EXPECT_EQ(Count(kCommand), 0);
}

TEST_F(VirtualLinkTest, WritesToAKeyboardThatStoppedReadingGiveUpInsteadOfHanging)
{
    StartLibrary();
    PlugIn();
    // The keyboard never reads: its queue fills, then a write waits a moment and returns 0.
    int sent = 0;
    while (sent < 100000 && WriteOne(kCommand, Numbered(0x05, sent)) == 1)
        ++sent;
    EXPECT_GT(sent, 0);
    EXPECT_LT(sent, 100000);
    // What was queued is still there, in order.
    const auto first = keyboard_->Receive();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(NumberOf(first->data() + 1), 0);
}

} // namespace
} // namespace devlinx_test
