#include "app/app_settings.h"

#include "app/text_format.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "ports/text_source.h"

namespace kovantis {
namespace {

constexpr std::u16string_view kKeyColourSection = u"KEYCOLOR";
constexpr std::u16string_view kLightingViewKey = u"DengCheck";
constexpr std::u16string_view kFlipValue = u"Flip";
// The slot's own built-in name, for a language file whose text cannot name a value.
constexpr std::u16string_view kRecordDelayFallbackName = u"RecordDelay";

std::u16string_view OnOff(bool on)
{
    return on ? u"1" : u"0";
}

} // namespace

AppSettings::AppSettings(const Paths& paths, const SettingsStore& store, const TextSource& texts)
    : paths_(paths), store_(store), texts_(texts)
{
}

bool AppSettings::LightingView() const
{
    return IniFile(paths_.OvraIni().string()).ReadString(kKeyColourSection, kLightingViewKey, u"0") ==
           u"1";
}

void AppSettings::SetLightingView(bool on) const
{
    IniFile(paths_.OvraIni().string()).WriteString(kKeyColourSection, kLightingViewKey, OnOff(on));
}

bool AppSettings::Flip() const
{
    // Read as a number: any value but 0 is on, so "2" or " 1" written by hand count too.
    return ParseIniInt(store_.Read(kFlipValue, u"0")).value_or(0) != 0;
}

bool AppSettings::SetFlip(bool flipped) const
{
    return store_.Write(kFlipValue, OnOff(flipped));
}

std::u16string AppSettings::RecordDelayValueName() const
{
    // A missing language file leaves the slot empty, and a text with "=" or a line break
    // cannot name a value that reads back; the setting would be lost with either.
    std::u16string name = texts_.Text("MACRO_ACTION_RECORD_DELAY");
    if (!IniDocument::CanWrite(u"PROFILES", name)) {
        name = kRecordDelayFallbackName;
    }
    return name;
}

int AppSettings::ReadRecordDelaySetting() const
{
    return ParseIniInt(store_.Read(RecordDelayValueName(), u"0")).value_or(0);
}

int AppSettings::WriteRecordDelaySetting(int value) const
{
    const int written = value == 1 ? 1 : 0;
    store_.Write(RecordDelayValueName(), OnOff(written == 1));
    return written;
}

void AppSettings::StoreProfileList(std::span<const std::filesystem::path> files) const
{
    for (std::size_t i = 0; i < files.size(); ++i) {
        store_.Write(ProfileListValueName(static_cast<int>(i + 1)), Utf8ToUtf16(files[i].string()));
    }
    store_.Write(ProfileListValueName(0), Utf8ToUtf16(std::to_string(files.size())));
}

std::u16string ProfileListValueName(int index)
{
    return FormatText(u"%s%02d", {u"PROFILE", index});
}

} // namespace kovantis
