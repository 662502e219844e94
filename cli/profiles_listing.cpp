#include "cli/profiles_listing.h"

#include <algorithm>
#include <ostream>

#include "keyboard/assignment_text.h"
#include "keyboard/bank.h"
#include "wire/le_bytes.h"
#include "platform/ini_file.h"

namespace kovantis::cli {
namespace {

std::u16string NameOfMacro(const ProfileContents& contents, uint32_t id)
{
    const auto found = std::find_if(contents.macros.begin(), contents.macros.end(),
                                    [id](const MacroRecord& m) { return m.id == id; });
    return found == contents.macros.end() ? std::u16string() : found->Name();
}

void ListBank(std::ostream& out, const ProfileContents& contents, int bank, const KeyNames& names,
              const TextSource& texts)
{
    const MacroNameLookup macroNameOf = [&contents](uint32_t id) { return NameOfMacro(contents, id); };
    out << "profile " << bank + 1 << ":\n";
    int listed = 0;
    for (int r = 0; r < kRecordsPerBank; ++r) {
        const KeyAssignment& record = contents.image.Bank(bank)[static_cast<size_t>(r)];
        if (record.kind == AssignmentKind::Default) {
            continue;
        }
        ++listed;
        out << "  record " << r << ": ";
        if (r < kKeyRecordCount) {
            out << Utf16ToUtf8(AssignmentText(AssignedKey::Key(KeyCodeOfSlot(r)), record, names, texts, macroNameOf).text);
        } else if (IsGKeyRecord(r)) {
            const bool bankA = r < kGKeyRecordsBankB;
            const int g = r - (bankA ? kGKeyRecordsBankA : kGKeyRecordsBankB);
            out << Utf16ToUtf8(AssignmentText(AssignedKey::G(g), record, names, texts, macroNameOf).text)
                << (bankA ? " (bank A)" : " (bank B)");
        } else {
            out << "kind " << static_cast<unsigned>(record.kind) << " value " << record.value << " (unused record)";
        }
        if (record.kind == AssignmentKind::LaunchProgram || record.kind == AssignmentKind::TextBlock) {
            const auto text = contents.strings.Text(GlobalRecordNumber(bank, r));
            out << " \"" << (text ? Utf16ToUtf8(*text) : std::string()) << '"';
        }
        out << '\n';
    }
    if (listed == 0) {
        out << "  (every key does its default)\n";
    }
}

} // namespace

void ListProfileContents(std::ostream& out, const std::filesystem::path& file, const ProfileContents& contents,
                         bool headerValid, const TextSource& texts)
{
    const ProfileHeader header = DecodeProfileHeader(contents.image.header);
    out << "file: " << file.string() << '\n'
        << "header: " << (headerValid ? "valid" : "invalid") << '\n'
        << "format-version: " << header.version << '\n'
        << "total-size: " << header.totalSize << '\n'
        << "macro-count: " << header.macroCount << '\n'
        << "string-area: " << header.stringAreaSize << '\n'
        << "usb-id: " << std::hex << ReadU16(contents.image.descriptor, 16) << ':'
        << ReadU16(contents.image.descriptor, 18) << std::dec << '\n';

    KeyNames names;
    names.Load(texts);
    for (int bank = 0; bank < kProfileCount; ++bank) {
        ListBank(out, contents, bank, names, texts);
    }
    for (size_t i = 0; i < contents.macros.size(); ++i) {
        const MacroRecord& m = contents.macros[i];
        out << "macro " << i + 1 << ": \"" << Utf16ToUtf8(m.Name()) << "\" id " << m.id << ", plays "
            << int{m.playCount} << " time(s), " << m.StepCount() << " step(s)\n";
        int step = 0;
        for (const MacroAction& a : m.Steps()) {
            out << "  " << ++step << ". " << (a.state == kMacroRelease ? "release " : "press ")
                << Utf16ToUtf8(names.KeyNameOf(a.key)) << ", then " << a.delay << " ms\n";
        }
    }
}

} // namespace kovantis::cli
