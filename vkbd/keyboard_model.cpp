#include "vkbd/keyboard_model.h"

#include "vkbd/factory_keymap.h"

#include "vkbd/keyboard_defaults.h"
#include "wire/command_report.h"

#include <algorithm>

namespace kovantis::vkbd {

// One addressable memory area. A read of the lighting records may run past the last record:
// the program reads every record as a whole 56-byte report, and the bytes beyond read as zero.
struct KeyboardModel::Area {
    std::span<uint8_t> bytes;
    bool readMayRunPastEnd = false;
};

namespace {

struct Request {
    uint8_t command;
    size_t length;
    size_t address;
};

Request Decode(std::span<const uint8_t, 64> request)
{
    return {request[kCommandOffset], request[kLengthOffset], ReadU16(request, kAddressOffset)};
}

// The whole range must lie inside the area; the address itself must name a byte of it.
bool Inside(const Request& r, size_t areaSize)
{
    return r.length <= kMaxDataLength && r.address < areaSize && r.address + r.length <= areaSize;
}

} // namespace

KeyboardModel::KeyboardModel(const KeyboardOptions& options) : options_(options)
{
    if (options_.useDefaultEffects) {
        options_.effects = DefaultEffectList();
    }
    Reset();
}

void KeyboardModel::Reset()
{
    settings_.fill(0);
    settings_[kSettingsMacroSpace] = options_.macroSpaceUnits;
    std::copy(options_.effects.begin(), options_.effects.end(),
              settings_.begin() + kSettingsEffectList);
    for (int p = 0; p < kProfileCount; ++p) {
        const auto record = DefaultLightingRecord(p);
        std::copy(record.begin(), record.end(),
                  profileRecords_.begin() + static_cast<ptrdiff_t>(p * kProfileRecordSize));
    }
    keyColours_.fill(0);
    for (int p = 0; p < kProfileCount; ++p) {
        for (size_t k = 0; k < kKeymapPositions; ++k) {
            std::copy(kDefaultKeyColour.begin(), kDefaultKeyColour.end(),
                      keyColours_.begin() +
                          static_cast<ptrdiff_t>(p * kKeyColourProfileStride + k * 3));
        }
    }
    const auto& layout = FactoryKeymapBytes();
    std::copy(layout.begin(), layout.end(), factoryKeymap_.begin());
    for (int p = 0; p < kProfileCount; ++p) {
        std::copy(layout.begin(), layout.end(),
                  keymaps_.begin() + static_cast<ptrdiff_t>(p * kKeymapSize));
    }
    // A keyboard that never received macros holds no macro area header (no 0x55AA magic).
    macroArea_.assign(static_cast<size_t>(options_.macroSpaceUnits) * kMacroSpaceUnit, 0);
    inTransfer_ = false;
    bootRequested_ = false;
    ++generation_;
}

Report ReplyFrameFor(std::span<const uint8_t, kReportSize> request)
{
    Report reply{};
    reply[0] = kReportId;
    std::copy(request.begin() + kCommandOffset, request.begin() + kStatusOffset,
              reply.begin() + kCommandOffset);
    return reply;
}

bool KeyboardModel::IsBootLoaderCommand(std::span<const uint8_t, 64> request)
{
    return request[0] == kReportId && request[kCommandOffset] == kCmdBootLoader &&
           request[kLengthOffset] == kCmdBootLoader;
}

std::optional<Report> KeyboardModel::HandleCommand(std::span<const uint8_t, 64> request)
{
    if (request[0] != kReportId) {
        return std::nullopt;
    }
    ++commandsReceived_;
    if (IsBootLoaderCommand(request)) {
        bootRequested_ = true;
        return std::nullopt;
    }
    if (ReadU16(request, kChecksumOffset) != ReportChecksum(request)) {
        ++badChecksums_;
    }

    Report reply = ReplyFrameFor(request);
    const Area lighting{profileRecords_, true};
    const Area colours{keyColours_};
    const Area keymaps{keymaps_};
    const Area factory{factoryKeymap_};
    const Area macros{macroArea_};

    uint8_t status = kStatusRefused;
    switch (request[kCommandOffset]) {
    case kCmdBeginTransfer: inTransfer_ = true; status = kStatusOk; break;
    case kCmdEndTransfer: inTransfer_ = false; status = kStatusOk; break;
    case kCmdReadSettings: status = ReadSettings(request, reply); break;
    case kCmdWriteSettings: status = WriteSettings(request); break;
    case kCmdReadProfileRecord: status = Read(lighting, request, reply); break;
    case kCmdWriteProfileRecord: status = Write(lighting, request); break;
    case kCmdReadKeymap: status = Read(keymaps, request, reply); break;
    case kCmdWriteKeymap: status = Write(keymaps, request); break;
    case kCmdReadMacroArea: status = Read(macros, request, reply); break;
    case kCmdWriteMacroArea: status = Write(macros, request); break;
    case kCmdReadFactoryKeymap: status = Read(factory, request, reply); break;
    case kCmdWriteKeyColours: status = Write(colours, request); break;
    default: break;  // 0x0B..0x0E, 0x10 and anything else: not a command of this firmware
    }
    reply[kStatusOffset] = status;
    SealReport(reply);
    return reply;
}

uint8_t KeyboardModel::Read(const Area& area, std::span<const uint8_t, 64> request,
                            Report& reply) const
{
    const Request r = Decode(request);
    const size_t size = area.bytes.size();
    const bool accepted = area.readMayRunPastEnd ? r.length <= kMaxDataLength && r.address < size
                                                 : Inside(r, size);
    if (!accepted) {
        return kStatusRefused;
    }
    const size_t available = std::min(r.length, size - r.address);
    std::copy_n(area.bytes.begin() + static_cast<ptrdiff_t>(r.address), available,
                reply.begin() + kDataOffset);
    return kStatusOk;
}

uint8_t KeyboardModel::Write(const Area& area, std::span<const uint8_t, 64> request)
{
    const Request r = Decode(request);
    if (!Inside(r, area.bytes.size())) {
        return kStatusRefused;
    }
    std::copy_n(request.begin() + kDataOffset, r.length,
                area.bytes.begin() + static_cast<ptrdiff_t>(r.address));
    ++generation_;
    return kStatusOk;
}

uint8_t KeyboardModel::ReadSettings(std::span<const uint8_t, 64> request, Report& reply) const
{
    const Request r = Decode(request);
    if (r.length != kSettingsBlockSize || r.address != 0) {
        return kStatusRefused;
    }
    std::copy(settings_.begin(), settings_.end(), reply.begin() + kDataOffset);
    return kStatusOk;
}

// The macro space and the effect list describe the hardware: the firmware keeps its own values
// whatever the host writes there. An active profile other than 0..2 is refused.
uint8_t KeyboardModel::WriteSettings(std::span<const uint8_t, 64> request)
{
    const Request r = Decode(request);
    const auto block = request.subspan(kDataOffset, kSettingsBlockSize);
    if (r.length != kSettingsBlockSize || r.address != 0 || block[kSettingsActiveProfile] >= kProfileCount) {
        return kStatusRefused;
    }
    std::copy(block.begin(), block.begin() + kSettingsMacroSpace, settings_.begin());
    ++generation_;
    return kStatusOk;
}

bool KeyboardModel::SetLightingField(int profile, int offset, uint8_t value)
{
    if (profile < 0 || profile >= kProfileCount || offset < 0 ||
        offset >= static_cast<int>(kProfileRecordSize)) {
        return false;
    }
    profileRecords_[static_cast<size_t>(profile) * kProfileRecordSize +
                    static_cast<size_t>(offset)] = value;
    ++generation_;
    return true;
}

std::span<const uint8_t> KeyboardModel::Settings() const { return settings_; }

std::span<const uint8_t> KeyboardModel::ProfileRecords() const { return profileRecords_; }

std::span<const uint8_t> KeyboardModel::KeyColours(int profile) const
{
    if (profile < 0 || profile >= kProfileCount) {
        return {};
    }
    return std::span<const uint8_t>(keyColours_)
        .subspan(static_cast<size_t>(profile) * kKeyColourProfileStride, kKeyColourProfileStride);
}

std::span<const uint8_t> KeyboardModel::Keymap(int profile) const
{
    if (profile < 0 || profile >= kProfileCount) {
        return {};
    }
    return std::span<const uint8_t>(keymaps_).subspan(static_cast<size_t>(profile) * kKeymapSize,
                                                     kKeymapSize);
}

std::span<const uint8_t> KeyboardModel::FactoryKeymap() const { return factoryKeymap_; }

std::span<const uint8_t> KeyboardModel::MacroArea() const { return macroArea_; }

} // namespace kovantis::vkbd
