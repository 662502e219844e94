#pragma once
// The lighting panel's texts that come with the skin (Skins/Main.ini), not the language file:
// effect names in sections "Mode1" (language value 0) and "Mode" (1), keyed by the effect id,
// and the panel labels in "Control_Name" (0) and "Control_Name1" (1). Any other language value
// reads neither.

#include <optional>
#include <string>

#include "platform/ini_file.h"

namespace kovantis {

struct LightingLabels {
    std::u16string usb;    // report-rate title
    std::u16string deng;   // lighting title
    std::u16string light;  // brightness
    std::u16string fx;     // direction
    std::u16string speed;
    std::u16string color;  // every colour label
    std::u16string jcolor; // base colour
    std::u16string dc;     // both multicolour labels
    std::u16string tool;
};

class LightingSkinTexts {
public:
    LightingSkinTexts() = default;
    explicit LightingSkinTexts(IniDocument mainIni) : ini_(std::move(mainIni)) {}

    // The name the effect combo box shows: the skin's, "1" when the skin names none (as the
    // skin format has it), the built-in name for a language without a section.
    std::u16string EffectName(int effectId, int language) const;
    // The skin's name only when it has one; nullopt otherwise.
    std::optional<std::u16string> SkinEffectName(int effectId, int language) const;
    // nullopt for a language without a section: the labels stay as they are.
    std::optional<LightingLabels> Labels(int language) const;

private:
    IniDocument ini_;
};

} // namespace kovantis
