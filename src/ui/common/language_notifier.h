#pragma once
// How every open window learns that the language changed: the language commands reload the
// table and then announce it here; each window that shows texts connects its ApplyLanguage to
// Changed when it is built, so captions, tooltips, menus and headings change in all windows at
// once. Lives on the UI thread.

#include <QObject>

namespace kovantis::ui {

class LanguageNotifier final : public QObject {
    Q_OBJECT
public:
    // The program's one notifier.
    static LanguageNotifier& Get();

    // After the language table has been reloaded.
    void Announce() { emit Changed(); }

signals:
    void Changed();

private:
    LanguageNotifier() = default;
};

} // namespace kovantis::ui
