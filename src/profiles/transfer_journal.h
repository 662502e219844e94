#pragma once
// The transfer journal: a small file beside the working file that says what a download is about
// to write to the keyboard. It is written (atomically) before the working file is replaced and
// before the first byte goes to the keyboard, and removed once the keyboard has taken all of
// it. A journal found later means a download was cut short (crash, kill, unplug): the keyboard
// may hold half of it, so it is completed before anything reads the keyboard back.
//
// Crash at any instant: before the journal exists, the working file and the keyboard are both
// old; once it exists it holds the new contents in full, whatever the working file and the
// keyboard hold; after it is removed both are new.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "profiles/macro_download.h"
#include "profiles/profile_data.h"

namespace kovantis {

inline constexpr std::string_view kJournalSuffix = ".journal";

struct TransferJournal {
    DownloadScope scope;            // what the interrupted download wrote
    std::vector<uint8_t> profileFile;  // the contents, as a profile file's bytes
};

// Beside the working file: <documents>/Kovantis_09A/$Profile0.journal.
std::filesystem::path JournalPath(const Paths& paths);

// The journal's bytes, and back. Decoding refuses anything this program did not write whole
// (wrong mark, sizes or checksum).
std::vector<uint8_t> EncodeJournal(const TransferJournal& journal);
std::optional<TransferJournal> DecodeJournal(std::span<const uint8_t> bytes);

bool WriteJournal(const std::filesystem::path& path, const TransferJournal& journal);
// nullopt when there is none; *problem says why a file that is there could not be used.
std::optional<TransferJournal> ReadJournal(const std::filesystem::path& path, std::string* problem = nullptr);
bool JournalExists(const std::filesystem::path& path);
// Removes it and makes the removal durable. True when none is left.
bool RemoveJournal(const std::filesystem::path& path);

} // namespace kovantis
