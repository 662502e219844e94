// Any bytes as a transfer journal (a file in the user's folder that anyone with access can
// change): decoding refuses what this program did not write whole, and what it accepts
// encodes back to the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "profiles/profile_file.h"
#include "profiles/transfer_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kovantis;
    const std::span<const uint8_t> bytes(data, size);
    const std::optional<TransferJournal> journal = DecodeJournal(bytes);
    if (!journal)
        return 0;
    const std::vector<uint8_t> again = EncodeJournal(*journal);
    if (!std::equal(again.begin(), again.end(), bytes.begin(), bytes.end()))
        std::abort();
    ParseProfileContents(journal->profileFile);
    return 0;
}
