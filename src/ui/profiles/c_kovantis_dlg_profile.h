#pragma once
// CKovantis_DlgProfile: the profile manager. A three-column list (a single-choice tick, the
// file's name, its folder) with Add, Load, Delete, Apply, OK and Cancel. It only draws the
// ProfileManagerModel and forwards gestures to it; whatever talks to the keyboard (filling,
// Apply) runs as a job, so the windows keep painting.

#include <QPointer>

#include <filesystem>

#include "ports/text_source.h"
#include "ui/skin/c_base_dialog.h"

class QLabel;
class QTableWidget;

namespace kovantis {

class CPngButton;
class ProfileManagerModel;

namespace ui {
class JobRunner;
}

class CKovantis_DlgProfile final : public CBaseDialog {
    Q_OBJECT
public:
    // skinFolder holds Profile.ini and its pictures. Call Initialise() before showing it.
    CKovantis_DlgProfile(const std::filesystem::path& skinFolder, ProfileManagerModel& model,
                         const TextSource& texts, ui::JobRunner& jobs, QWidget* parent = nullptr);
    ~CKovantis_DlgProfile() override;

    // The skin and the controls, then the list is filled (a job). False when the skin's
    // pictures are missing.
    bool Initialise();

    // Captions, tooltips and column headings from the language file.
    void ApplyLanguage();
    // The keyboard went away or the program quits: close as Cancel does.
    void CloseAsCancel();

    // -- what tests and the screenshot look at --
    QTableWidget* List() const { return list_; }
    CPngButton* Button(std::string_view skinKey) const;
    // Draws the model's rows and the Apply button's state.
    void Refresh();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Add();
    void Load();
    void Delete();
    void Apply();
    void Ok();
    void Cancel();
    void OnItemChanged(int row, int column);
    // Runs `task` on the UI thread once no job is running or queued.
    void WhenIdle(std::function<void()> task);

    ProfileManagerModel& model_;
    const TextSource& texts_;
    ui::JobRunner& jobs_;
    QTableWidget* list_ = nullptr;
    QLabel* title_ = nullptr;
    CPngButton* add_ = nullptr;
    CPngButton* load_ = nullptr;
    CPngButton* delete_ = nullptr;
    CPngButton* apply_ = nullptr;
    CPngButton* ok_ = nullptr;
    CPngButton* cancel_ = nullptr;
    bool refreshing_ = false;
    bool closing_ = false;
};

} // namespace kovantis
