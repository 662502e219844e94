#include "cli/profiles_listing.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "cli/json_writer.h"
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

std::vector<ListedAssignment> ListBank(const ProfileContents& contents, int bank, const KeyNames& names,
                                       const TextSource& texts)
{
    const MacroNameLookup macroNameOf = [&contents](uint32_t id) { return NameOfMacro(contents, id); };
    std::vector<ListedAssignment> listed;
    for (int r = 0; r < kRecordsPerBank; ++r) {
        const KeyAssignment& record = contents.image.Bank(bank)[static_cast<size_t>(r)];
        if (record.kind == AssignmentKind::Default) {
            continue;
        }
        ListedAssignment a;
        a.record = r;
        a.kind = static_cast<int>(record.kind);
        a.value = record.value;
        if (r < kKeyRecordCount) {
            a.text = Utf16ToUtf8(AssignmentText(AssignedKey::Key(KeyCodeOfSlot(r)), record, names, texts, macroNameOf).text);
        } else if (IsGKeyRecord(r)) {
            const bool bankA = r < kGKeyRecordsBankB;
            const int g = r - (bankA ? kGKeyRecordsBankA : kGKeyRecordsBankB);
            a.text = Utf16ToUtf8(AssignmentText(AssignedKey::G(g), record, names, texts, macroNameOf).text);
            a.bank = bankA ? 'A' : 'B';
        } else {
            a.unused = true;
        }
        if (record.kind == AssignmentKind::LaunchProgram || record.kind == AssignmentKind::TextBlock) {
            const auto text = contents.strings.Text(GlobalRecordNumber(bank, r));
            a.string = text ? Utf16ToUtf8(*text) : std::string();
        }
        listed.push_back(std::move(a));
    }
    return listed;
}

std::string UsbIdOf(const ProfileContents& contents)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", ReadU16(contents.image.descriptor, 16),
                  ReadU16(contents.image.descriptor, 18));
    return text;
}

} // namespace

ProfileListing ListProfile(const std::filesystem::path& file, const ProfileContents& contents, bool headerValid,
                           const TextSource& texts)
{
    const ProfileHeader header = DecodeProfileHeader(contents.image.header);
    ProfileListing listing;
    listing.file = file.string();
    listing.headerValid = headerValid;
    listing.formatVersion = header.version;
    listing.totalSize = header.totalSize;
    listing.macroCount = header.macroCount;
    listing.stringAreaSize = header.stringAreaSize;
    listing.usbId = UsbIdOf(contents);

    KeyNames names;
    names.Load(texts);
    for (int bank = 0; bank < kProfileCount; ++bank) {
        listing.profiles.push_back(ListBank(contents, bank, names, texts));
    }
    for (const MacroRecord& m : contents.macros) {
        ListedMacro macro{Utf16ToUtf8(m.Name()), m.id, int{m.playCount}, {}};
        for (const MacroAction& a : m.Steps()) {
            macro.steps.push_back({a.state != kMacroRelease, Utf16ToUtf8(names.KeyNameOf(a.key)), static_cast<int>(a.delay)});
        }
        listing.macros.push_back(std::move(macro));
    }
    return listing;
}

void ListProfileContents(std::ostream& out, const std::filesystem::path& file, const ProfileContents& contents,
                         bool headerValid, const TextSource& texts)
{
    const ProfileListing listing = ListProfile(file, contents, headerValid, texts);
    out << "file: " << listing.file << '\n'
        << "header: " << (listing.headerValid ? "valid" : "invalid") << '\n'
        << "format-version: " << listing.formatVersion << '\n'
        << "total-size: " << listing.totalSize << '\n'
        << "macro-count: " << listing.macroCount << '\n'
        << "string-area: " << listing.stringAreaSize << '\n'
        << "usb-id: " << listing.usbId << '\n';
    for (size_t p = 0; p < listing.profiles.size(); ++p) {
        out << "profile " << p + 1 << ":\n";
        for (const ListedAssignment& a : listing.profiles[p]) {
            out << "  record " << a.record << ": ";
            if (a.unused)
                out << "kind " << a.kind << " value " << a.value << " (unused record)";
            else
                out << a.text;
            if (a.bank)
                out << " (bank " << *a.bank << ')';
            if (a.string)
                out << " \"" << *a.string << '"';
            out << '\n';
        }
        if (listing.profiles[p].empty())
            out << "  (every key does its default)\n";
    }
    for (size_t i = 0; i < listing.macros.size(); ++i) {
        const ListedMacro& m = listing.macros[i];
        out << "macro " << i + 1 << ": \"" << m.name << "\" id " << m.id << ", plays " << m.playCount
            << " time(s), " << m.steps.size() << " step(s)\n";
        int step = 0;
        for (const ListedStep& s : m.steps) {
            out << "  " << ++step << ". " << (s.press ? "press " : "release ") << s.key << ", then " << s.delayMs
                << " ms\n";
        }
    }
}

void WriteProfileContentsJson(std::ostream& out, const std::filesystem::path& file, const ProfileContents& contents,
                              bool headerValid, const TextSource& texts)
{
    const ProfileListing listing = ListProfile(file, contents, headerValid, texts);
    JsonWriter json(out);
    json.BeginObject()
        .Field("file", listing.file)
        .Field("header_valid", listing.headerValid)
        .Field("format_version", listing.formatVersion)
        .Field("total_size", listing.totalSize)
        .Field("macro_count", listing.macroCount)
        .Field("string_area_size", listing.stringAreaSize)
        .Field("usb_id", listing.usbId)
        .Key("profiles")
        .BeginArray();
    for (size_t p = 0; p < listing.profiles.size(); ++p) {
        json.BeginObject().Field("profile", p + 1).Key("assignments").BeginArray();
        for (const ListedAssignment& a : listing.profiles[p]) {
            json.BeginObject().Field("record", a.record).Field("kind", a.kind).Field("value", a.value);
            json.Field("text", a.unused ? std::string() : a.text);
            if (a.bank)
                json.Field("bank", std::string(1, *a.bank));
            if (a.string)
                json.Field("string", *a.string);
            json.EndObject();
        }
        json.EndArray().EndObject();
    }
    json.EndArray().Key("macros").BeginArray();
    for (size_t i = 0; i < listing.macros.size(); ++i) {
        const ListedMacro& m = listing.macros[i];
        json.BeginObject()
            .Field("number", i + 1)
            .Field("name", m.name)
            .Field("id", m.id)
            .Field("play_count", m.playCount)
            .Key("steps")
            .BeginArray();
        for (const ListedStep& s : m.steps) {
            json.BeginObject()
                .Field("action", s.press ? "press" : "release")
                .Field("key", s.key)
                .Field("delay_ms", s.delayMs)
                .EndObject();
        }
        json.EndArray().EndObject();
    }
    json.EndArray().EndObject();
}

} // namespace kovantis::cli
