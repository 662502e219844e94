#pragma once
// The macro page of the key assignment dialog: the macro selector with Add and Delete, the play
// count, the record-delay option, the step list with its buttons, Record / Stop Record, and how
// much of the keyboard's macro space the macros take. Its state is the macro editor's; this page
// draws it and forwards gestures. While a recording runs, the dialog's keys are captured (the
// keyboard grabbed while the dialog is active) and become steps.

#include <QObject>
#include <QPointer>

#include <map>
#include <memory>

#include "keyboard/key_capture.h"
#include "keyboard/key_names.h"
#include "macros/macro_editor.h"
#include "macros/macro_editor_page.h"
#include "ports/prompter.h"
#include "ports/text_source.h"
#include "ui/key_assignment/macro_page_view.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTableView;
class QWidget;

namespace kovantis {

class CPngButton;

namespace ui {
class KeyCaptureFilter;
class MacroStepDelegate;
class MacroStepTable;
} // namespace ui

struct MacroPageSetup {
    std::unique_ptr<MacroEditorHost> host;
    Prompter& prompter;
    const TextSource& texts;
    const KeyNames& names;
};

class MacroPage final : public QObject, public MacroPageView, private MacroPagePart {
    Q_OBJECT
public:
    explicit MacroPage(MacroPageSetup setup);
    ~MacroPage() override;

    MacroPagePart& Part() override { return *this; }
    void Build(Kovantis_DlgComposite& dialog) override;
    void SetShown(bool shown) override;

    MacroEditor& Editor() { return editor_; }

    // -- what tests and the screenshot look at --
    QComboBox* Selector() const { return selector_; }
    QLineEdit* PlayCount() const { return playCount_; }
    QCheckBox* RecordDelay() const { return recordDelay_; }
    QLabel* RecordDelayLabel() const { return recordDelayLabel_; }
    QTableView* StepList() const { return steps_; }
    QProgressBar* SpaceGauge() const { return gauge_; }
    CPngButton* Button(int controlId) const;
    bool Capturing() const;
    // The in-place editor of a step cell open now, if any.
    QWidget* OpenCellEditor() const;

    // Gestures, as the controls forward them. `gestureMs`: the time stamp of the click that
    // started a recording, on the key events' clock.
    void PressRecord(unsigned long gestureMs);
    void PressStepButton(int controlId);
    // Draws the editor's state again after it was changed directly (tests, screenshots).
    void Redraw() { Changed(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // MacroPagePart: the dialog's fixed points.
    void Opened(const KeyAssignment& record, bool macroOnly) override;
    void Shown(bool opening) override;
    void Left() override;
    MacroCommit Commit(bool decide) override;
    void Closed() override;

    void ApplyLanguage();
    void Refresh();
    void Changed();
    void FinishCellEdit();
    void CommitCell(int row, int column, const QVariant& value);
    void TakeKey(const KeyEventFacts& facts, const CaptureDecision& decision);

    std::unique_ptr<MacroEditorHost> host_;
    const TextSource& texts_;
    const KeyNames& names_;
    MacroEditor editor_;
    MacroEditorPage part_;

    QPointer<Kovantis_DlgComposite> dialog_;
    bool shown_ = false;
    bool refreshing_ = false;
    bool open_ = false;
    unsigned long lastGestureMs_ = 0;
    QLabel* nameLabel_ = nullptr;
    QComboBox* selector_ = nullptr;
    QLabel* playCountLabel_ = nullptr;
    QLineEdit* playCount_ = nullptr;
    QCheckBox* recordDelay_ = nullptr;
    QLabel* recordDelayLabel_ = nullptr;
    QTableView* steps_ = nullptr;
    ui::MacroStepTable* table_ = nullptr;
    ui::MacroStepDelegate* delegate_ = nullptr;
    QProgressBar* gauge_ = nullptr;
    std::map<int, CPngButton*> buttons_;
    ui::KeyCaptureFilter* capture_ = nullptr;
};

// Control ids of the macro page.
inline constexpr int kMacroAddControlId = 1017;
inline constexpr int kMacroDeleteControlId = 1018;
inline constexpr int kMacroRecordControlId = 1020;
inline constexpr int kMacroDeleteStepControlId = 1021;
inline constexpr int kMacroClearStepsControlId = 1022;
inline constexpr int kMacroStepTopControlId = 1023;
inline constexpr int kMacroStepUpControlId = 1024;
inline constexpr int kMacroStepDownControlId = 1025;
inline constexpr int kMacroStepBottomControlId = 1026;

} // namespace kovantis
