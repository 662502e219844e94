#include "ui/key_assignment/macro_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QInputEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QProgressBar>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QTimer>

#include <array>

#include "app/text_format.h"
#include "skin/caption_style.h"
#include "skin/skin_pictures.h"
#include "ui/common/qt_text.h"
#include "ui/key_assignment/key_capture_filter.h"
#include "ui/key_assignment/kovantis_dlg_composite.h"
#include "ui/key_assignment/macro_page_steps.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {
namespace {

constexpr int kNameTextLimit = 259;
constexpr int kGaugeHeight = 20;

struct StepButton {
    int controlId;
    std::string_view skinKey;
    std::string_view captionKey;
};

constexpr std::array kStepButtons{
    StepButton{kMacroRecordControlId, "FUNC_MACRO_RECORD", "MACRO_ACTION_RECORD"},
    StepButton{kMacroDeleteStepControlId, "FUNC_MACRO_DELETE2", "A_DELETE"},
    StepButton{kMacroClearStepsControlId, "FUNC_MACRO_CLEAR", "A_CLEAR"},
    StepButton{kMacroStepTopControlId, "FUNC_MACRO_UP_TOP", "A_TOP"},
    StepButton{kMacroStepUpControlId, "FUNC_MACRO_UP", "A_UP"},
    StepButton{kMacroStepDownControlId, "FUNC_MACRO_DOWN", "A_DOWN"},
    StepButton{kMacroStepBottomControlId, "FUNC_MACRO_DOWN_BOTTOM", "A_BOTTOM"},
};

// Stop Record in red while keys are being recorded, so a running recording is seen at a glance.
CaptionStyle RecordingCaption()
{
    CaptionStyle style = SkinButtonCaption(true);
    style.green = 0x5A;
    style.blue = 0x5F;
    return style;
}

const char* const kLabelStyle = "QLabel { color: #C8CED8; background: transparent; }";
const char* const kEditStyle =
    "QComboBox, QLineEdit { color: #FFFFFF; background: #1B1E23; border: 1px solid #3A4048; border-radius: 4px; "
    "padding: 1px 6px; }"
    "QComboBox:disabled { color: #70757D; }"
    "QComboBox QAbstractItemView { color: #FFFFFF; background: #1B1E23; selection-background-color: #27C4FF; }";
const char* const kTableStyle =
    "QTableView { color: #FFFFFF; background: #15171B; alternate-background-color: #1B1E23; border: 1px solid #3A4048; "
    "selection-background-color: #27C4FF; selection-color: #000000; gridline-color: transparent; }"
    "QHeaderView::section { color: #C8CED8; background: #23272D; border: none; padding: 2px 4px; }"
    "QTableView QLineEdit, QTableView QComboBox { color: #FFFFFF; background: #1B1E23; }";
const char* const kGaugeStyle =
    "QProgressBar { color: #FFFFFF; background: #1B1E23; border: 1px solid #3A4048; border-radius: 3px; "
    "text-align: center; font-size: 8pt; }"
    "QProgressBar::chunk { background: %1; border-radius: 2px; }";

QString TextOr(const TextSource& texts, std::string_view key, const char16_t* fallback)
{
    const std::u16string text = texts.Text(key);
    return ui::ToQString(text.empty() ? std::u16string(fallback) : text);
}

} // namespace

MacroPage::MacroPage(MacroPageSetup setup)
    : host_(std::move(setup.host)),
      texts_(setup.texts),
      names_(setup.names),
      editor_(*host_, setup.prompter, setup.texts),
      part_(editor_)
{
}

MacroPage::~MacroPage() = default;

CPngButton* MacroPage::Button(int controlId) const
{
    const auto found = buttons_.find(controlId);
    return found == buttons_.end() ? nullptr : found->second;
}

QWidget* MacroPage::OpenCellEditor() const
{
    // A closed editor is hidden at once and deleted later.
    QWidget* cell = delegate_ ? delegate_->OpenEditor() : nullptr;
    return cell != nullptr && !cell->isHidden() ? cell : nullptr;
}

bool MacroPage::Capturing() const { return capture_ != nullptr && capture_->Running(); }

void MacroPage::Build(Kovantis_DlgComposite& dialog)
{
    dialog_ = &dialog;
    auto makeLabel = [&dialog](std::string_view key) {
        auto* label = new QLabel(&dialog);
        dialog.PlaceControl(*label, key);
        label->setStyleSheet(QString::fromLatin1(kLabelStyle));
        return label;
    };
    nameLabel_ = makeLabel("MARCO_NAME_SETTING");
    playCountLabel_ = makeLabel("FUNC_MACRO_CYCLES_PROMPT");
    recordDelayLabel_ = makeLabel("FUNC_MACRO_RECORD_DELAY2");

    selector_ = new QComboBox(&dialog);
    selector_->setObjectName(QStringLiteral("MacroSelector"));
    dialog.PlaceControl(*selector_, "FUNC_MACRO_LIST");
    selector_->setEditable(true);
    selector_->setInsertPolicy(QComboBox::NoInsert);
    selector_->lineEdit()->setMaxLength(kNameTextLimit);
    selector_->setStyleSheet(QString::fromLatin1(kEditStyle));
    connect(selector_, &QComboBox::activated, this, [this](int index) {
        editor_.SelectEntry(index);
        Changed();
    });
    connect(selector_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        editor_.TypeName(text.toStdU16String());
        Changed();
    });

    auto makeButton = [this, &dialog](int controlId, std::string_view key) {
        auto* button = new CPngButton(&dialog);
        dialog.PlaceImageButton(*button, key, kCompositeMacroSet);
        button->SetCaptionStyle(SkinButtonCaption(true));
        buttons_[controlId] = button;
        return button;
    };
    connect(makeButton(kMacroAddControlId, "FUNC_MACRO_ADD"), &CPngButton::clicked, this, [this] {
        editor_.AddMacro();
        Changed();
    });
    connect(makeButton(kMacroDeleteControlId, "FUNC_MACRO_DELETE"), &CPngButton::clicked, this, [this] {
        editor_.DeleteMacro();
        Changed();
    });
    for (const StepButton& step : kStepButtons) {
        CPngButton* button = makeButton(step.controlId, step.skinKey);
        connect(button, &CPngButton::clicked, this, [this, id = step.controlId] {
            if (id == kMacroRecordControlId)
                PressRecord(lastGestureMs_);
            else
                PressStepButton(id);
        });
    }
    // The click that starts a recording is where its first pause is measured from.
    buttons_[kMacroRecordControlId]->installEventFilter(this);
    // The option's text is a label of its own in the skin; a click on it counts as on the box.
    recordDelayLabel_->installEventFilter(this);

    playCount_ = new QLineEdit(&dialog);
    playCount_->setObjectName(QStringLiteral("MacroPlayCount"));
    dialog.PlaceControl(*playCount_, "FUNC_MACRO_CYCLES");
    playCount_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), playCount_));
    playCount_->setStyleSheet(QString::fromLatin1(kEditStyle));
    connect(playCount_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString shown = ui::ToQString(editor_.SetPlayCountText(text.toStdU16String()));
        if (shown != text)
            playCount_->setText(shown);
        Changed();
    });

    recordDelay_ = new QCheckBox(&dialog);
    recordDelay_->setObjectName(QStringLiteral("MacroRecordDelay"));
    dialog.PlaceControl(*recordDelay_, "FUNC_MACRO_RECORD_DELAY");
    {
        // The platform style draws the box's outline from the window colour: on this dark page
        // it needs a light one, or an unchecked box cannot be seen.
        QPalette colours = recordDelay_->palette();
        colours.setColor(QPalette::Window, QColor(0x9A, 0xA2, 0xAC));
        colours.setColor(QPalette::Base, QColor(0x1B, 0x1E, 0x23));
        colours.setColor(QPalette::Text, QColor(0xFF, 0xFF, 0xFF));
        recordDelay_->setPalette(colours);
    }
    connect(recordDelay_, &QCheckBox::clicked, this, [this] {
        editor_.ToggleRecordDelay();
        Changed();
    });

    steps_ = new QTableView(&dialog);
    steps_->setObjectName(QStringLiteral("MacroSteps"));
    dialog.PlaceControl(*steps_, "FUNC_MACRO_LIST2");
    // The macro space gauge takes the bottom of the step list's place.
    const QRect list = steps_->geometry();
    steps_->setGeometry(list.adjusted(0, 0, 0, -(kGaugeHeight + 4)));
    gauge_ = new QProgressBar(&dialog);
    gauge_->setObjectName(QStringLiteral("MacroSpaceGauge"));
    gauge_->setGeometry(list.x(), list.bottom() - kGaugeHeight + 1, list.width(), kGaugeHeight);
    gauge_->setTextVisible(true);

    table_ = new ui::MacroStepTable(editor_, names_, steps_);
    delegate_ = new ui::MacroStepDelegate(
        editor_, names_,
        {[this](int row, int column) {
             const CellEditKind kind = editor_.BeginCellEdit(row, column);
             // A pause edit may just have stopped a recording; redraw once the editor is up.
             QTimer::singleShot(0, this, &MacroPage::Changed);
             return kind;
         },
         [this](int row, int column, const QVariant& value) { CommitCell(row, column, value); }},
        steps_);
    steps_->setModel(table_);
    steps_->setItemDelegate(delegate_);
    steps_->setStyleSheet(QString::fromLatin1(kTableStyle));
    steps_->setSelectionBehavior(QAbstractItemView::SelectRows);
    steps_->setSelectionMode(QAbstractItemView::SingleSelection);
    steps_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                            QAbstractItemView::EditKeyPressed);
    steps_->setAlternatingRowColors(true);
    steps_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    steps_->setShowGrid(false);
    steps_->verticalHeader()->setVisible(false);
    steps_->verticalHeader()->setDefaultSectionSize(20);
    steps_->horizontalHeader()->setHighlightSections(false);
    const int width = steps_->viewport()->width() > 0 ? list.width() - 4 : 300;
    steps_->setColumnWidth(0, width * 45 / 100);
    steps_->setColumnWidth(1, width * 22 / 100);
    steps_->horizontalHeader()->setStretchLastSection(true);
    connect(steps_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!refreshing_)
                    editor_.SelectRow(current.isValid() ? current.row() : -1);
            });

    capture_ = new ui::KeyCaptureFilter(dialog, [this](const KeyEventFacts& facts, const CaptureDecision& decision) {
        TakeKey(facts, decision);
    });
    // Losing the window's activation loses the keyboard grab: the recording ends with it.
    dialog.installEventFilter(this);
    Refresh();
}

bool MacroPage::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == Button(kMacroRecordControlId) &&
        (type == QEvent::MouseButtonRelease || type == QEvent::KeyRelease)) {
        lastGestureMs_ = static_cast<QInputEvent*>(event)->timestamp();
    } else if (watched == recordDelayLabel_ && type == QEvent::MouseButtonRelease && recordDelay_->isEnabled() &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        recordDelay_->click();
        return true;
    } else if (watched == dialog_ && (type == QEvent::WindowDeactivate || type == QEvent::Hide) &&
               editor_.Recording()) {
        editor_.StopRecording();
        QTimer::singleShot(0, this, &MacroPage::Changed);
    }
    return false;
}

void MacroPage::Opened(const KeyAssignment& record, bool macroOnly)
{
    part_.Opened(record, macroOnly);
    open_ = true;
    ApplyLanguage();
    if (table_)
        table_->Sync();
}

void MacroPage::Shown(bool opening)
{
    part_.Shown(opening);
}

void MacroPage::Left()
{
    part_.Left();
    Refresh();
}

MacroCommit MacroPage::Commit(bool decide)
{
    FinishCellEdit();
    const MacroCommit commit = part_.Commit(decide);
    Refresh();
    return commit;
}

void MacroPage::Closed()
{
    if (QWidget* cell = OpenCellEditor())
        QMetaObject::invokeMethod(steps_, "closeEditor", Q_ARG(QWidget*, cell),
                                  Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    part_.Closed();
    open_ = false;
    Refresh();
}

void MacroPage::FinishCellEdit()
{
    if (!delegate_)
        return;
    if (QWidget* cell = OpenCellEditor()) {
        QMetaObject::invokeMethod(steps_, "commitData", Q_ARG(QWidget*, cell));
        QMetaObject::invokeMethod(steps_, "closeEditor", Q_ARG(QWidget*, cell),
                                  Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
}

void MacroPage::CommitCell(int row, int column, const QVariant& value)
{
    switch (static_cast<StepColumn>(column)) {
    case StepColumn::Delay:
        editor_.CommitDelayEdit(row, value.toString().toStdU16String());
        break;
    case StepColumn::State:
        editor_.CommitStateEdit(row, static_cast<uint16_t>(value.toInt()));
        break;
    case StepColumn::Key:
        editor_.CommitKeyEdit(row, value.toInt());
        break;
    }
    QTimer::singleShot(0, this, &MacroPage::Changed);
}

void MacroPage::TakeKey(const KeyEventFacts& facts, const CaptureDecision& decision)
{
    if (!editor_.Recording())
        return;
    editor_.RecordKeystroke({decision.code, facts.release, facts.autoRepeat, facts.timestampMs});
    Changed();
}

void MacroPage::PressRecord(unsigned long gestureMs)
{
    FinishCellEdit();
    editor_.ToggleRecording(static_cast<uint32_t>(gestureMs));
    Changed();
}

void MacroPage::PressStepButton(int controlId)
{
    switch (controlId) {
    case kMacroDeleteStepControlId: editor_.DeleteStep(); break;
    case kMacroClearStepsControlId: editor_.ClearSteps(); break;
    case kMacroStepTopControlId: editor_.MoveStepToTop(); break;
    case kMacroStepUpControlId: editor_.MoveStepUp(); break;
    case kMacroStepDownControlId: editor_.MoveStepDown(); break;
    case kMacroStepBottomControlId: editor_.MoveStepToBottom(); break;
    default: return;
    }
    if (steps_)
        steps_->setFocus();
    Changed();
}

void MacroPage::SetShown(bool shown)
{
    shown_ = shown;
    Refresh();
}

void MacroPage::Changed()
{
    if (dialog_ && open_ && editor_.Modified())
        dialog_->Model().MarkModified();
    Refresh();
    if (dialog_)
        dialog_->MacroPageChanged();
}

void MacroPage::ApplyLanguage()
{
    if (!dialog_)
        return;
    nameLabel_->setText(dialog_->Caption("MACRO_NAME_SETTING"));
    playCountLabel_->setText(dialog_->Caption("MACRO_CYCLES"));
    recordDelayLabel_->setText(dialog_->Caption("RECORD_DELAY"));
    for (const StepButton& step : kStepButtons)
        buttons_[step.controlId]->setText(dialog_->Caption(step.captionKey));
    buttons_[kMacroAddControlId]->SetTipText(dialog_->Caption("MACRO_ADD"));
    buttons_[kMacroDeleteControlId]->SetTipText(dialog_->Caption("MACRO_DELETE"));
    table_->SetHeadings({dialog_->Caption("MACRO_KEYS_TISHI"), dialog_->Caption("MACRO_ACTION_TISHI"),
                         dialog_->Caption("MACRO_DELAY_MS")});
}

void MacroPage::Refresh()
{
    if (refreshing_ || !dialog_)
        return;
    refreshing_ = true;
    const bool visible = shown_ && open_;
    for (QWidget* control : std::initializer_list<QWidget*>{nameLabel_, selector_, playCountLabel_, playCount_, recordDelay_,
                                                            recordDelayLabel_, steps_, gauge_})
        control->setVisible(visible);
    for (auto& [id, button] : buttons_)
        button->setVisible(visible);

    const bool recording = editor_.Recording();
    // The selector: entries in list order, the current one in the edit field.
    if (selector_->count() != editor_.EntryCount()) {
        selector_->clear();
        for (int i = 0; i < editor_.EntryCount(); ++i)
            selector_->addItem(ui::ToQString(editor_.Entry(i).Name()));
    } else {
        QLineEdit* field = selector_->lineEdit();
        const int cursor = field->cursorPosition();
        for (int i = 0; i < editor_.EntryCount(); ++i) {
            const QString name = ui::ToQString(editor_.Entry(i).Name());
            if (selector_->itemText(i) != name)
                selector_->setItemText(i, name);
        }
        field->setCursorPosition(cursor);
    }
    if (selector_->currentIndex() != editor_.CurrentIndex())
        selector_->setCurrentIndex(editor_.CurrentIndex());
    selector_->setEnabled(editor_.SelectorEnabled());
    for (int id : {kMacroAddControlId, kMacroDeleteControlId})
        buttons_[id]->setEnabled(!recording);

    const QString count = ui::ToQString(editor_.PlayCountText());
    if (playCount_->text() != count)
        playCount_->setText(count);
    recordDelay_->setChecked(editor_.RecordDelayChecked());

    for (const StepButton& step : kStepButtons) {
        CPngButton& button = *buttons_[step.controlId];
        button.setEnabled(editor_.StepButtonsEnabled());
        button.SetCaptionStyle(SkinButtonCaption(editor_.StepButtonsEnabled()));
    }
    CPngButton& record = *buttons_[kMacroRecordControlId];
    record.setText(dialog_->Caption(recording ? "MACRO_ACTION_STOP_RECORD" : "MACRO_ACTION_RECORD"));
    record.SetOn(recording);
    if (recording)
        record.SetCaptionStyle(RecordingCaption());

    if (OpenCellEditor() == nullptr) {
        table_->Sync();
        const int selected = editor_.Steps().Selected();
        const QModelIndex current = selected >= 0 ? table_->index(selected, 0) : QModelIndex();
        if (current != steps_->currentIndex()) {
            if (current.isValid())
                steps_->selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect |
                                                                       QItemSelectionModel::Rows);
            else
                steps_->selectionModel()->clear();
        }
        if (current.isValid() && recording)
            steps_->scrollTo(current);
    }

    const MacroSpaceUse use = editor_.SpaceUse();
    QString colour = QStringLiteral("#27C4FF");
    if (use.Known()) {
        gauge_->setRange(0, static_cast<int>(use.space));
        // What the keyboard will hold: the names too when they fit.
        const uint32_t used = use.NamesFit() ? use.withNames : use.needed;
        gauge_->setValue(static_cast<int>(std::min(used, use.space)));
        gauge_->setFormat(ui::ToQString(FormatText(
            TextOr(texts_, "MACRO_SPACE_USED", u"Keyboard macro memory: %d of %d bytes").toStdU16String(),
            {static_cast<long long>(used), static_cast<long long>(use.space)})));
        if (!use.Fits())
            colour = QStringLiteral("#E5484D");
        else if (!use.NamesFit())
            colour = QStringLiteral("#F5A524");
        gauge_->setToolTip(!use.Fits()       ? TextOr(texts_, "EXTRA_MACRO_TOO_LONG", u"")
                           : !use.NamesFit() ? TextOr(texts_, "MACRO_SPACE_NO_NAMES",
                                                      u"The macro names do not fit as well; the keyboard keeps the macros without them.")
                                             : QString());
    } else {
        gauge_->setRange(0, 1);
        gauge_->setValue(0);
        gauge_->setFormat(TextOr(texts_, "MACRO_SPACE_UNKNOWN", u"Keyboard macro memory: not known yet"));
        gauge_->setToolTip(QString());
    }
    gauge_->setStyleSheet(QString::fromLatin1(kGaugeStyle).arg(colour));

    capture_->SetWanted(visible && recording);
    refreshing_ = false;
}

} // namespace kovantis
