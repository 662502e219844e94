#pragma once
// CKovantis_DlgUpdate: the firmware update window. Open picks the updater (its path is shown),
// Backup saves the profile data, Update hands the keyboard to the updater, Cancel update
// closes. It draws the FirmwareUpdate procedure and forwards gestures to it; the boot-loader
// command goes out from a job, so the windows keep painting.

#include <QPointer>

#include <filesystem>
#include <optional>
#include <functional>

#include "ports/text_source.h"
#include "ui/skin/c_base_dialog.h"
#include "update/firmware_update.h"

class QComboBox;
class QLabel;

namespace kovantis {

class CPngButton;

namespace ui {
class JobRunner;
}

class CKovantis_DlgUpdate final : public CBaseDialog {
    Q_OBJECT
public:
    // skinFolder holds UpdateDlg.ini and its pictures. Call Initialise() before showing it.
    CKovantis_DlgUpdate(const std::filesystem::path& skinFolder, FirmwareUpdate& update, const TextSource& texts,
                        ui::JobRunner& jobs, QWidget* parent = nullptr);

    // False when the skin's pictures are missing.
    bool Initialise();
    void ApplyLanguage();
    // The program quits: close as Cancel update does.
    void CloseAsCancel();

    // -- what tests and the screenshot look at --
    CPngButton* Button(std::string_view skinKey) const;
    QLabel* PathLabel() const { return path_; }
    // The outcome of the last Update (none before the first).
    std::optional<UpdateOutcome> LastOutcome() const { return lastOutcome_; }
    void Refresh();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Open();
    void Backup();
    void Update();
    void CancelUpdate();
    void WhenIdle(std::function<void()> task);

    FirmwareUpdate& update_;
    const TextSource& texts_;
    ui::JobRunner& jobs_;
    QLabel* title_ = nullptr;
    QLabel* path_ = nullptr;
    QComboBox* combo_ = nullptr;
    CPngButton* open_ = nullptr;
    CPngButton* backup_ = nullptr;
    CPngButton* start_ = nullptr;
    CPngButton* cancel_ = nullptr;
    std::optional<UpdateOutcome> lastOutcome_;
    bool closing_ = false;
};

} // namespace kovantis
