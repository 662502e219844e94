#include "keyboard/assignment_text.h"

namespace kovantis {
namespace {

std::u16string NameOfKey(AssignedKey key, const KeyNames& names)
{
    if (key.gKey < 0) return names.KeyNameOf(key.code);
    std::u16string text = u"G";
    for (char c : std::to_string(key.gKey + 1)) text += static_cast<char16_t>(c);
    return text;
}

// A Key record's value is a key code; anything wider only a damaged record holds.
std::u16string NameOfValue(uint32_t value, const KeyNames& names)
{
    if (value <= 0xFFFF) return names.KeyNameOf(static_cast<KeyCode>(value));
    return std::u16string();
}

std::u16string Bracketed(const TextSource& texts, std::string_view promptKey, std::u16string_view inner)
{
    std::u16string text = texts.Text(promptKey);
    text += inner;
    text += u')';
    return text;
}

int IndexOf(uint32_t value) { return value <= 0xFFFF ? static_cast<int>(value) : -1; }

} // namespace

AssignmentTextResult AssignmentText(AssignedKey key, const KeyAssignment& record, const KeyNames& names,
                                    const TextSource& texts, const MacroNameLookup& macroNameOf)
{
    AssignmentTextResult result;
    result.text = NameOfKey(key, names);
    if (record.kind != AssignmentKind::Default) {
        result.assigned = true;
        result.text += texts.Text("KEY_PROMPT_SET");
        switch (record.kind) {
        case AssignmentKind::Key:
            result.text += Bracketed(texts, "KEY_PROMPT_SINGLE", NameOfValue(record.value, names));
            break;
        case AssignmentKind::PlayMacro:
            result.text += Bracketed(texts, "KEY_PROMPT_MACRO", macroNameOf ? macroNameOf(record.value) : std::u16string());
            break;
        case AssignmentKind::Media:
            result.text += Bracketed(texts, "KEY_PROMPT_MEDIA", names.MediaFunctionName(IndexOf(record.value)));
            break;
        case AssignmentKind::Function:
            result.text += Bracketed(texts, "KEY_PROMPT_FUNCTION", names.FunctionActionName(IndexOf(record.value)));
            break;
        default:
            break;
        }
    }
    if (result.text.size() > kKeyNameMaxChars) result.text.resize(kKeyNameMaxChars);
    return result;
}

} // namespace kovantis
