#pragma once
// One operation per keyboard command. Each builds 64-byte requests, runs one exchange per
// 56-byte chunk through the request channel and maps the reply: 1 success, -102 status 0xFF,
// -103 status 0xFE, otherwise the channel's 0 / -1 / -2; -201 for a profile index out of range.

#include <cstdint>
#include <span>

namespace kovantis {

class RequestChannel;

inline constexpr int kSettingsBlockSize = 44;
inline constexpr int kProfileRecordSize = 42;
inline constexpr int kKeymapSize = 378;
inline constexpr int kReportDataSize = 56;

class CommandSet {
public:
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
    int SetActiveProfile(int profile);
    void ForgetActiveProfile();

    RequestChannel& Channel() { return channel_; }

private:
    RequestChannel& channel_;
    int activeProfileCache_ = -1;
};

} // namespace kovantis
