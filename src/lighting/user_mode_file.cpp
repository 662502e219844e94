#include "lighting/user_mode_file.h"

#include "lighting/board_keys.h"
#include "lighting/decimal_list.h"
#include "platform/atomic_file.h"
#include "platform/ini_file.h"

namespace kovantis {

namespace {

constexpr std::u16string_view kPresentSection = u"PRESENTMODE";
constexpr std::u16string_view kNameSection = u"MODENAME";

std::u16string Decimal(int n)
{
    return FormatDecimalList({n});
}

IniDocument LoadOrEmpty(const std::string& path)
{
    auto doc = IniDocument::Load(path);
    return doc ? std::move(*doc) : IniDocument{};
}

std::u16string FormatKeyLine(const KeyLine& line)
{
    return FormatDecimalList({line.colour.r, line.colour.g, line.colour.b, line.followsBase ? 1 : 0});
}

KeyLine ParseKeyLine(std::u16string_view text)
{
    std::array<int, 4> v{};
    if (!ParseDecimalList(text, v)) {
        return KeyLine{};
    }
    const auto channel = [](int n) { return static_cast<uint8_t>(n < 0 ? 0 : n > 255 ? 255 : n); };
    return KeyLine{Rgb{channel(v[0]), channel(v[1]), channel(v[2])}, v[3] != 0};
}

Rgb ReadColour(const IniDocument& doc, std::u16string_view section, std::u16string_view key)
{
    return ParseRgb(doc.Read(section, key, u"0,0,0")).value_or(kBlack);
}

} // namespace

std::u16string UserModeFile::SectionOf(int mode)
{
    return u"Mode" + Decimal(mode);
}

int UserModeFile::ReadPresentMode() const
{
    const int mode = IniFile(store_.ReadPath(index_)).ReadInt(kPresentSection, u"mode", 0);
    // A damaged file must not point the combo box at a mode that is not there.
    return mode >= 0 && mode < kUserModeCount ? mode : 0;
}

std::array<std::u16string, kUserModeCount> UserModeFile::ReadNames() const
{
    const IniDocument doc = LoadOrEmpty(store_.ReadPath(index_));
    std::array<std::u16string, kUserModeCount> names;
    for (int i = 0; i < kUserModeCount; ++i) {
        names[static_cast<size_t>(i)] = doc.Read(kNameSection, Decimal(i), u"0");
    }
    return names;
}

UserModeContent UserModeFile::ReadMode(int mode) const
{
    const IniDocument doc = LoadOrEmpty(store_.ReadPath(index_));
    const std::u16string section = SectionOf(mode);
    UserModeContent content;
    const std::u16string tool = doc.Read(section, u"tool", u"0");
    content.settings.tool = tool == u"1" ? 1 : 0;
    content.settings.base = ReadColour(doc, section, u"jcolor");
    content.settings.brush = ReadColour(doc, section, u"color");
    // The G keys' shared line is written on recolouring but deliberately not read back.
    for (int16_t key : BoardKeys()) {
        content.keys[static_cast<size_t>(key)] = ParseKeyLine(doc.Read(section, Decimal(key), u"255,0,0,1"));
    }
    return content;
}

bool UserModeFile::WritePresentMode(int mode) const
{
    return IniFile(store_.PrepareWrite(index_)).WriteString(kPresentSection, u"mode", Decimal(mode));
}

bool UserModeFile::WriteName(int mode, std::u16string_view name) const
{
    return IniFile(store_.PrepareWrite(index_)).WriteString(kNameSection, Decimal(mode), name);
}

bool UserModeFile::WriteSettings(int mode, const UserModeSettings& settings) const
{
    const std::string path = store_.PrepareWrite(index_);
    IniDocument doc = LoadOrEmpty(path);
    const std::u16string section = SectionOf(mode);
    doc.Write(section, u"tool", Decimal(settings.tool));
    doc.Write(section, u"jcolor", FormatRgb(settings.base));
    doc.Write(section, u"color", FormatRgb(settings.brush));
    return WriteFileAtomically(path, doc.Serialize(), FileAccess::Private);
}

bool UserModeFile::WriteKeyLine(int mode, int matrixIndex, const KeyLine& line) const
{
    return IniFile(store_.PrepareWrite(index_)).WriteString(SectionOf(mode), Decimal(matrixIndex), FormatKeyLine(line));
}

bool UserModeFile::WriteKeyLines(int mode, std::span<const IndexedKeyLine> lines) const
{
    const std::string path = store_.PrepareWrite(index_);
    IniDocument doc = LoadOrEmpty(path);
    const std::u16string section = SectionOf(mode);
    for (const IndexedKeyLine& l : lines) {
        doc.Write(section, Decimal(l.matrixIndex), FormatKeyLine(l.line));
    }
    return WriteFileAtomically(path, doc.Serialize(), FileAccess::Private);
}

} // namespace kovantis
