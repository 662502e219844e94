#include "platform/ini_file.h"

#include "platform/atomic_file.h"

#include <cerrno>
#include <charconv>
#include <sys/stat.h>

namespace kovantis {
namespace {

// INI files of this program are small; anything larger is not one of them.
constexpr std::size_t kMaxIniFileSize = 16u << 20;
constexpr char16_t kReplacement = 0xFFFD;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsQuoted(std::string_view text)
{
    return text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
           text.back() == text.front();
}

// One pair of matching quotes around a value is dropped, which lets a value keep blanks at
// its ends.
std::string_view Unquote(std::string_view value)
{
    return IsQuoted(value) ? value.substr(1, value.size() - 2) : value;
}

// The text that reads back as exactly `value`.
std::string QuoteIfNeeded(std::string value)
{
    if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || IsQuoted(value))) {
        return "\"" + value + "\"";
    }
    return value;
}

enum class LineKind { Other, Section, Entry };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;        // section or key name, trimmed
    std::string_view value;       // entry value, trimmed
    std::size_t value_start = 0;  // where the value begins in the line (after "=" and blanks)
};

ParsedLine ParseLine(std::string_view line)
{
    ParsedLine parsed;
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() == ';' || text.front() == '#') {
        return parsed;
    }
    if (text.front() == '[') {
        const std::string_view inner = text.substr(1);
        parsed.kind = LineKind::Section;
        parsed.name = Trim(inner.substr(0, inner.find(']')));
        return parsed;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return parsed;
    }
    parsed.name = Trim(line.substr(0, equals));
    if (parsed.name.empty()) {
        return parsed;
    }
    parsed.kind = LineKind::Entry;
    std::size_t start = equals + 1;
    while (start < line.size() && IsBlank(line[start])) {
        ++start;
    }
    parsed.value_start = start;
    parsed.value = Unquote(Trim(line.substr(start)));
    return parsed;
}

// Walks the entries of every section named `section`, in file order; `visit` returns true to
// stop. Returns the index of the line it stopped at, or lines.size().
template <typename Visit>
std::size_t ForEachEntry(const std::vector<std::string>& lines, std::string_view section,
                         Visit visit)
{
    section = Trim(section);
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = ParseLine(lines[i]);
        if (parsed.kind == LineKind::Section) {
            inside = EqualsIgnoringCase(parsed.name, section);
        } else if (inside && parsed.kind == LineKind::Entry && visit(i, parsed)) {
            return i;
        }
    }
    return lines.size();
}

std::size_t FindEntry(const std::vector<std::string>& lines, std::string_view section,
                      std::string_view key)
{
    key = Trim(key);
    return ForEachEntry(lines, section, [key](std::size_t, const ParsedLine& parsed) {
        return EqualsIgnoringCase(parsed.name, key);
    });
}

std::string DecodeUtf16(std::string_view bytes, bool little_endian)
{
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(little_endian ? static_cast<char16_t>(first | (second << 8))
                                      : static_cast<char16_t>((first << 8) | second));
    }
    return Utf16ToUtf8(units);
}

bool HasLineBreak(std::u16string_view text)
{
    return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

} // namespace

IniDocument IniDocument::Parse(std::string_view bytes)
{
    IniDocument document;
    std::string text;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        document.bom_ = true;
        text = bytes.substr(3);
    } else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        document.bom_ = true;
        text = DecodeUtf16(bytes.substr(2), bytes[0] == '\xFF');
    } else {
        text = bytes;
    }
    std::string_view rest = text;
    bool first_break = true;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        const bool has_break = end != std::string_view::npos;
        if (has_break && line.ends_with('\r')) {
            line.remove_suffix(1);
            if (first_break) {
                document.newline_ = "\r\n";
            }
        }
        first_break = first_break && !has_break;
        document.lines_.emplace_back(line);
        document.final_newline_ = has_break;
        rest = has_break ? rest.substr(end + 1) : std::string_view{};
    }
    return document;
}

std::optional<IniDocument> IniDocument::Load(const std::string& path)
{
    const std::optional<std::string> bytes = ReadWholeFile(path, kMaxIniFileSize);
    if (!bytes) {
        return std::nullopt;
    }
    return Parse(*bytes);
}

std::optional<std::u16string> IniDocument::Find(std::u16string_view section,
                                                std::u16string_view key) const
{
    const std::size_t line = FindEntry(lines_, Utf16ToUtf8(section), Utf16ToUtf8(key));
    if (line == lines_.size()) {
        return std::nullopt;
    }
    return Utf8ToUtf16(ParseLine(lines_[line]).value);
}

std::u16string IniDocument::Read(std::u16string_view section, std::u16string_view key,
                                 std::u16string_view fallback) const
{
    std::optional<std::u16string> value = Find(section, key);
    return value ? std::move(*value) : std::u16string(fallback);
}

bool IniDocument::HasSection(std::u16string_view section) const
{
    const std::string utf8 = Utf16ToUtf8(section);
    const std::string_view name = Trim(utf8);
    for (const std::string& line : lines_) {
        const ParsedLine parsed = ParseLine(line);
        if (parsed.kind == LineKind::Section && EqualsIgnoringCase(parsed.name, name)) {
            return true;
        }
    }
    return false;
}

std::vector<std::u16string> IniDocument::Keys(std::u16string_view section) const
{
    std::vector<std::string_view> seen;
    ForEachEntry(lines_, Utf16ToUtf8(section), [&seen](std::size_t, const ParsedLine& parsed) {
        bool known = false;
        for (std::string_view name : seen) {
            known = known || EqualsIgnoringCase(name, parsed.name);
        }
        if (!known) {
            seen.push_back(parsed.name);
        }
        return false;
    });
    std::vector<std::u16string> keys;
    keys.reserve(seen.size());
    for (std::string_view name : seen) {
        keys.push_back(Utf8ToUtf16(name));
    }
    return keys;
}

bool IniDocument::CanWrite(std::u16string_view section, std::u16string_view key)
{
    const std::string section_name = Utf16ToUtf8(section);
    const std::string key_name = Utf16ToUtf8(key);
    const std::string_view trimmed_section = Trim(section_name);
    const std::string_view trimmed_key = Trim(key_name);
    return !trimmed_section.empty() && !HasLineBreak(section) &&
           section.find(u']') == std::u16string_view::npos && !trimmed_key.empty() &&
           !HasLineBreak(key) && key.find(u'=') == std::u16string_view::npos &&
           trimmed_key.front() != '[' && trimmed_key.front() != ';' && trimmed_key.front() != '#';
}

void IniDocument::Write(std::u16string_view section, std::u16string_view key,
                        std::u16string_view value)
{
    if (!CanWrite(section, key)) {
        return;
    }
    std::u16string single_line(value);
    for (char16_t& unit : single_line) {
        if (unit == u'\r' || unit == u'\n') {
            unit = u' ';
        }
    }
    const std::string section_utf8 = Utf16ToUtf8(section);
    const std::string key_utf8 = Utf16ToUtf8(key);
    const std::string_view section_name = Trim(section_utf8);
    const std::string_view key_name = Trim(key_utf8);
    const std::string new_value = QuoteIfNeeded(Utf16ToUtf8(single_line));

    const std::size_t existing = FindEntry(lines_, section_name, key_name);
    if (existing != lines_.size()) {
        std::string& line = lines_[existing];
        line = line.substr(0, ParseLine(line).value_start) + new_value;
        return;
    }
    const std::string entry = std::string(key_name) + "=" + new_value;

    // A new key goes after the last entry of the first matching section (or its header).
    std::optional<std::size_t> insert_after;
    bool inside = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const ParsedLine parsed = ParseLine(lines_[i]);
        if (parsed.kind == LineKind::Section) {
            if (insert_after && inside) {
                break;
            }
            inside = EqualsIgnoringCase(parsed.name, section_name);
            if (inside) {
                insert_after = i;
            }
        } else if (inside && parsed.kind == LineKind::Entry) {
            insert_after = i;
        }
    }
    if (insert_after) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insert_after + 1), entry);
        if (*insert_after + 2 == lines_.size()) {
            final_newline_ = true;
        }
        return;
    }
    if (!lines_.empty() && !Trim(lines_.back()).empty()) {
        lines_.emplace_back();
    }
    lines_.push_back("[" + std::string(section_name) + "]");
    lines_.push_back(entry);
    final_newline_ = true;
}

std::string IniDocument::Serialize() const
{
    std::string text = bom_ ? "\xEF\xBB\xBF" : "";
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i];
        if (i + 1 < lines_.size() || final_newline_) {
            text += newline_;
        }
    }
    return text;
}

std::u16string IniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view fallback) const
{
    const std::optional<IniDocument> document = IniDocument::Load(path_);
    return document ? document->Read(section, key, fallback) : std::u16string(fallback);
}

int IniFile::ReadInt(std::u16string_view section, std::u16string_view key, int fallback) const
{
    const std::optional<IniDocument> document = IniDocument::Load(path_);
    const std::optional<std::u16string> value =
        document ? document->Find(section, key) : std::nullopt;
    return value ? ParseIniInt(*value).value_or(fallback) : fallback;
}

bool IniFile::WriteString(std::u16string_view section, std::u16string_view key,
                          std::u16string_view value) const
{
    if (!IniDocument::CanWrite(section, key)) {
        return false;
    }
    IniDocument document;
    if (const std::optional<std::string> bytes = ReadWholeFile(path_, kMaxIniFileSize)) {
        document = IniDocument::Parse(*bytes);
    } else {
        // Only a file that is not there yet may be created; one we cannot read is kept.
        struct stat info {};
        if (::stat(path_.c_str(), &info) == 0 || errno != ENOENT) {
            return false;
        }
    }
    document.Write(section, key, value);
    return WriteFileAtomically(path_, document.Serialize());
}

std::optional<int> ParseIniInt(std::u16string_view value)
{
    const std::string text = Utf16ToUtf8(value);
    std::string_view digits = Trim(text);
    if (digits.starts_with('+')) {
        digits.remove_prefix(1);
    }
    int number = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc{} || end == digits.data()) {
        return std::nullopt;
    }
    return number;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            result.push_back(lead);
            ++i;
            continue;
        }
        // Sequence length, payload bits of the lead byte and the smallest code point of that
        // length (anything smaller is an overlong form, which is invalid).
        struct Form {
            unsigned char mask, pattern;
            std::size_t length;
            char32_t minimum;
        };
        static constexpr Form kForms[] = {
            {0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};
        std::size_t length = 0;
        char32_t code = 0;
        char32_t minimum = 0;
        for (const Form& form : kForms) {
            if ((lead & form.mask) == form.pattern) {
                length = form.length;
                code = lead & static_cast<unsigned char>(~form.mask);
                minimum = form.minimum;
                break;
            }
        }
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        valid = valid && code >= minimum && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
        if (!valid) {
            result.push_back(kReplacement);
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            result.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            result.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return result;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        if (code < 0x80) {
            result.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            result.push_back(static_cast<char>(0xC0 | (code >> 6)));
            result.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            result.push_back(static_cast<char>(0xE0 | (code >> 12)));
            result.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            result.push_back(static_cast<char>(0xF0 | (code >> 18)));
            result.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            result.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return result;
}

} // namespace kovantis
