#pragma once
// A profile's 512 key assignment records and what each record number stands for: records 0 to
// 255 are the keys by slot, 256 to 264 the G keys of bank A, 265 to 273 those of bank B, the
// rest unused. The profile image holds four banks (profiles 1 to 3 and one unused) from byte 64.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "keyboard/key_assignment.h"
#include "wire/profile_count.h"

namespace kovantis {

inline constexpr int kBankCount = 4;
inline constexpr int kRecordsPerBank = 512;
inline constexpr int kKeyRecordCount = 256;
inline constexpr int kGKeyRecordsBankA = 256;
inline constexpr int kGKeyRecordsBankB = 265;
inline constexpr int kFirstUnusedRecord = 274;
inline constexpr int kGlobalRecordCount = kBankCount * kRecordsPerBank;

inline constexpr size_t kBankBytes = kRecordsPerBank * kKeyAssignmentSize;
inline constexpr size_t kImageRecordsOffset = 64;

using Bank = std::array<KeyAssignment, kRecordsPerBank>;
using BankView = std::span<const KeyAssignment, kRecordsPerBank>;

// The G-key bank the keyboard shows; its bank key toggles it.
enum class GKeyBank : uint8_t { A = 0, B = 1 };

// Byte offset of record r of bank b in the profile image.
constexpr size_t RecordOffset(int bank, int record)
{
    return kImageRecordsOffset + kBankBytes * static_cast<size_t>(bank) + kKeyAssignmentSize * static_cast<size_t>(record);
}

// 0 to 2047; indexes AssignmentStrings.
constexpr int GlobalRecordNumber(int bank, int record) { return kRecordsPerBank * bank + record; }

constexpr bool IsGKeyRecord(int record) { return record >= kGKeyRecordsBankA && record < kFirstUnusedRecord; }

// G key g is 0 to 8 for G1 to G9.
constexpr int GKeyRecord(int g, GKeyBank bank)
{
    return (bank == GKeyBank::A ? kGKeyRecordsBankA : kGKeyRecordsBankB) + g;
}

constexpr uint16_t GKeyId(int g, GKeyBank bank)
{
    return static_cast<uint16_t>((bank == GKeyBank::A ? 0x0301 : 0x1301) + g);
}

// The GKeyId a G-key record carries in its extra word; 0 for every other record.
constexpr uint16_t GKeyIdOfRecord(int record)
{
    if (!IsGKeyRecord(record)) return 0;
    return record < kGKeyRecordsBankB ? GKeyId(record - kGKeyRecordsBankA, GKeyBank::A)
                                      : GKeyId(record - kGKeyRecordsBankB, GKeyBank::B);
}

// All records zero except the GKeyIds of records 256 to 273.
void InitBank(std::span<KeyAssignment, kRecordsPerBank> bank);

Bank ReadBank(std::span<const uint8_t, kBankBytes> bytes);
void WriteBank(BankView bank, std::span<uint8_t, kBankBytes> bytes);

} // namespace kovantis
