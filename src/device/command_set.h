#pragma once
// One operation per keyboard command. Each builds 64-byte requests, runs one exchange per
// 56-byte chunk through the request channel and maps the reply: 1 success, -102 status 0xFF,
// -103 status 0xFE, otherwise the channel's 0 / -1 / -2; -201 for an argument out of range
// (profile index, data length, address), refused before anything is sent.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>

#include "wire/command_report.h"
#include "wire/keyboard_memory.h"

namespace kovantis {

class RequestChannel;

// Command results besides the channel's 1, 0, -1 and -2.
inline constexpr int kResultRefusedFF = -102;
inline constexpr int kResultRefusedFE = -103;
inline constexpr int kResultBadArgument = -201;

class CommandSet {
public:
    // Pauses (EndTransfer's 10 ms) go through the channel's clock.
    explicit CommandSet(RequestChannel& channel) : channel_(channel) {}

    int BeginTransfer();
    int EndTransfer();  // waits 10 ms before it sends
    int ReadSettingsBlock(std::span<uint8_t, kSettingsBlockSize> out);
    int WriteSettingsBlock(std::span<const uint8_t, kSettingsBlockSize> block);
    // Copies all 56 data bytes of the reply, whatever the length asked for.
    int ReadProfileRecord(std::span<uint8_t, kReportDataSize> out, int length, int address);
    // data.size() is the length, 0 to 56.
    int WriteProfileRecord(std::span<const uint8_t> data, int address);
    int ReadKeymapBlock(std::span<uint8_t, kKeymapSize> out, int profile);
    int WriteKeymapBlock(std::span<const uint8_t, kKeymapSize> block, int profile);
    // out.size() / data.size() is the count; 0 sends nothing and gives 1.
    int ReadMacroArea(std::span<uint8_t> out);
    int WriteMacroArea(std::span<const uint8_t> data);
    int ReadDefaultKeymap(std::span<uint8_t, kKeymapSize> out);
    // data.size() 0 to 56; address = keyIndex * 3 + profile * 512.
    int WriteKeyColours(std::span<const uint8_t> data, int keyIndex, int profile);
    int EnterBootMode();

    // Active profile, cached: -1 until read, reset when the keyboard goes away.
    int GetActiveProfile();
    // Profile 0 to 2: reads the settings block, sets byte 10, writes it back; nothing else is
    // sent. A profile outside 0 to 2 gives -201 and sends nothing.
    int SetActiveProfile(int profile);
    void ForgetActiveProfile();

    RequestChannel& Channel() { return channel_; }

    // Told after every exchange, on the thread that ran it (the progress of a long transfer).
    // An empty function removes it.
    void SetExchangeObserver(std::function<void()> observer);
    // The result of the last exchange that failed since the last call (1 when none did), so
    // that an operation that only says "failed" can be explained: refused, no answer, gone.
    int TakeLastFailure() { return lastFailure_.exchange(1); }

private:
    int Exchange(std::span<const uint8_t> request, std::span<uint8_t> reply);
    int ReadChunked(uint8_t command, int base, std::span<uint8_t> out);
    int WriteChunked(uint8_t command, int base, std::span<const uint8_t> data);

    RequestChannel& channel_;
    std::atomic<int> activeProfileCache_{-1};
    std::atomic<int> lastFailure_{1};
    std::mutex observerMutex_;
    std::function<void()> observer_;
};

} // namespace kovantis
