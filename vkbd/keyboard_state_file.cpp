// The state file of the virtual keyboard: its writable memory, so that what a host wrote
// survives a restart. Layout, little-endian:
//   "KVKBDST1"            8 bytes
//   macro area length     u32
//   settings block        44 bytes
//   lighting records      3 x 42 bytes
//   per-key colours       3 x 512 bytes
//   keymaps               3 x 378 bytes
//   macro area            length bytes
//   FNV-1a of all above   u32

#include "wire/le_bytes.h"
#include "vkbd/keyboard_model.h"
#include "vkbd/state_file_io.h"

#include <algorithm>
#include <cstring>

namespace kovantis::vkbd {
namespace {

constexpr char kMagic[8] = {'K', 'V', 'K', 'B', 'D', 'S', 'T', '1'};
constexpr size_t kMaxMacroArea = 255 * kMacroSpaceUnit;
constexpr size_t kFixedPart = sizeof kMagic + 4 + kSettingsBlockSize +
                              kProfileCount * (kProfileRecordSize + kKeyColourProfileStride +
                                               kKeymapSize);
constexpr size_t kMaxStateFile = kFixedPart + kMaxMacroArea + 4;

uint32_t Fnv1a(std::span<const uint8_t> bytes)
{
    uint32_t hash = 2166136261u;
    for (const uint8_t b : bytes) {
        hash = (hash ^ b) * 16777619u;
    }
    return hash;
}

void AppendU32(std::vector<uint8_t>& out, uint32_t value)
{
    out.resize(out.size() + 4);
    WriteU32(out, out.size() - 4, value);
}

void Append(std::vector<uint8_t>& out, std::span<const uint8_t> bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// Reads consecutive sections of a validated file.
class Cursor {
public:
    explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    std::span<const uint8_t> Take(size_t n)
    {
        const auto part = bytes_.subspan(position_, n);
        position_ += n;
        return part;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
};

} // namespace

std::vector<uint8_t> KeyboardModel::SerializeState() const
{
    std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
    AppendU32(out, static_cast<uint32_t>(macroArea_.size()));
    Append(out, settings_);
    Append(out, profileRecords_);
    Append(out, keyColours_);
    Append(out, keymaps_);
    Append(out, macroArea_);
    AppendU32(out, Fnv1a(out));
    return out;
}

bool KeyboardModel::Save(const std::string& path) const
{
    return ReplaceFileContents(path, SerializeState());
}

bool KeyboardModel::Load(const std::string& path)
{
    const auto contents = ReadFileContents(path, kMaxStateFile);
    if (!contents || contents->size() < kFixedPart + 4 ||
        std::memcmp(contents->data(), kMagic, sizeof kMagic) != 0) {
        return false;
    }
    const std::span<const uint8_t> bytes(*contents);
    const size_t macroLength = ReadU32(bytes, sizeof kMagic);
    if (macroLength > kMaxMacroArea || bytes.size() != kFixedPart + macroLength + 4 ||
        Fnv1a(bytes.first(bytes.size() - 4)) != ReadU32(bytes, bytes.size() - 4)) {
        return false;
    }
    Cursor cursor(bytes.subspan(sizeof kMagic + 4));
    const auto settings = cursor.Take(kSettingsBlockSize);
    if (settings[kSettingsActiveProfile] >= kProfileCount) {
        return false;
    }
    std::copy(settings.begin(), settings.begin() + kSettingsMacroSpace, settings_.begin());
    std::ranges::copy(cursor.Take(profileRecords_.size()), profileRecords_.begin());
    std::ranges::copy(cursor.Take(keyColours_.size()), keyColours_.begin());
    std::ranges::copy(cursor.Take(keymaps_.size()), keymaps_.begin());
    // A state saved with another macro space keeps what still fits.
    const auto macros = cursor.Take(macroLength);
    std::fill(macroArea_.begin(), macroArea_.end(), 0);
    std::copy_n(macros.begin(), std::min(macros.size(), macroArea_.size()), macroArea_.begin());
    ++generation_;
    return true;
}

} // namespace kovantis::vkbd
