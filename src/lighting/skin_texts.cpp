#include "lighting/skin_texts.h"

#include "lighting/decimal_list.h"
#include "lighting/effect_catalog.h"

namespace kovantis {

namespace {

const char16_t* ModeSection(int language)
{
    return language == 0 ? u"Mode1" : language == 1 ? u"Mode" : nullptr;
}

const char16_t* LabelSection(int language)
{
    return language == 0 ? u"Control_Name" : language == 1 ? u"Control_Name1" : nullptr;
}

} // namespace

std::optional<std::u16string> LightingSkinTexts::SkinEffectName(int effectId, int language) const
{
    const char16_t* section = ModeSection(language);
    if (section == nullptr) {
        return std::nullopt;
    }
    return ini_.Find(section, FormatDecimalList({effectId}));
}

std::u16string LightingSkinTexts::EffectName(int effectId, int language) const
{
    if (ModeSection(language) == nullptr) {
        return Utf8ToUtf16(BuiltInEffectName(effectId));
    }
    return SkinEffectName(effectId, language).value_or(u"1");
}

std::optional<LightingLabels> LightingSkinTexts::Labels(int language) const
{
    const char16_t* section = LabelSection(language);
    if (section == nullptr) {
        return std::nullopt;
    }
    const auto read = [&](const char16_t* key) { return ini_.Read(section, key, u""); };
    return LightingLabels{read(u"Usb"),   read(u"Deng"),   read(u"Light"), read(u"FX"),  read(u"Speed"),
                          read(u"Color"), read(u"JColor"), read(u"DC"),    read(u"Tool")};
}

} // namespace kovantis
