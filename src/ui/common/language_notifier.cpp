#include "ui/common/language_notifier.h"

namespace kovantis::ui {

LanguageNotifier& LanguageNotifier::Get()
{
    static LanguageNotifier notifier;
    return notifier;
}

} // namespace kovantis::ui
