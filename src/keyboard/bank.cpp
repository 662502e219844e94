#include "keyboard/bank.h"

namespace kovantis {

void InitBank(std::span<KeyAssignment, kRecordsPerBank> bank)
{
    for (int r = 0; r < kRecordsPerBank; ++r) bank[r] = MakeAssignment(AssignmentKind::Default, 0, GKeyIdOfRecord(r));
}

Bank ReadBank(std::span<const uint8_t, kBankBytes> bytes)
{
    Bank bank;
    for (int r = 0; r < kRecordsPerBank; ++r) {
        bank[r] = ReadKeyAssignment(bytes.subspan(kKeyAssignmentSize * r).first<kKeyAssignmentSize>());
    }
    return bank;
}

void WriteBank(BankView bank, std::span<uint8_t, kBankBytes> bytes)
{
    for (int r = 0; r < kRecordsPerBank; ++r) {
        WriteKeyAssignment(bank[r], bytes.subspan(kKeyAssignmentSize * r).first<kKeyAssignmentSize>());
    }
}

} // namespace kovantis
