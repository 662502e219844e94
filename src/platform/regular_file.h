#pragma once
// Opening files that come from outside the program. Only regular files are read: a FIFO would
// block the reader for ever, a device node could be endless or have side effects, and a folder
// cannot be read at all. The check happens before anything is read, and the reason for a refusal
// can be told to the user in a sentence.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kovantis {

enum class FileProblem {
    None,
    Missing,       // no such file (also a link that points nowhere)
    Folder,
    Fifo,
    Device,        // character or block device
    Socket,
    OtherKind,
    Unreadable,    // exists but may not be opened (errno in FileCheck::error)
    TooLarge,
    ReadFailed,
};

struct FileCheck {
    FileProblem problem = FileProblem::None;
    int error = 0;  // errno where one applies
};

// The cause in words, without the path: "is a FIFO, not a regular file", "does not exist", ...
std::string DescribeFileProblem(const FileCheck& check);
// "PATH: cause".
std::string DescribeFileProblem(const std::string& path, const FileCheck& check);

// A regular file opened for reading, closed when it goes away.
class RegularFile {
public:
    // Refuses anything but a regular file without blocking (a FIFO with no writer included);
    // *check tells why when the file is not open afterwards.
    RegularFile(const std::string& path, FileCheck* check);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // The size the file had when it was opened.
    uint64_t Size() const { return size_; }
    // Exactly out.size() bytes from offset; false on an error or an early end.
    bool ReadAt(uint64_t offset, std::span<uint8_t> out) const;

private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

// True for an existing regular file (after following links); never opens it.
bool IsRegularFile(const std::string& path);

// The whole contents of a regular file of at most maxSize bytes, read in one pass.
std::optional<std::string> ReadRegularFile(const std::string& path, uint64_t maxSize,
                                           FileCheck* check = nullptr);

} // namespace kovantis
