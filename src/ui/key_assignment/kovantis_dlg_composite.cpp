#include "ui/key_assignment/kovantis_dlg_composite.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include <array>

#include "keyboard/dialog_placement.h"
#include "keyboard/function_action.h"
#include "keyboard/media_function.h"
#include "keyboard/on_screen_keyboard.h"
#include "skin/caption_style.h"
#include "skin/skin_pictures.h"
#include "ui/common/qt_text.h"
#include "ui/key_assignment/key_capture_filter.h"
#include "ui/key_assignment/key_picker_dialog.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {
namespace {

constexpr int kOkControlId = 1;
constexpr int kCancelControlId = 2;
constexpr int kTitlePictureControlId = 1131;
constexpr int kMaskPictureControlId = 1033;
constexpr int kBarPictureControlId = 1147;

// A marked page button shows its pressed picture, so the shown page can be told at a glance.
constexpr StateSet kPageButtonSet{"key_normal.jpg", "key_over.jpg", "key_down.jpg", "key_normal.jpg", "key_down.jpg"};

struct PageControl {
    KeyPage page;
    int controlId;
    std::string_view skinKey;
    std::string_view captionKey;
};

constexpr std::array kPages{
    PageControl{KeyPage::SingleKey, kSingleKeyPageControlId, "CONTROL_KEY", "SINGLE_KEY"},
    PageControl{KeyPage::Macro, kMacroPageControlId, "CONTROL_MACRO", "MACRO_SETTING"},
    PageControl{KeyPage::Media, kMediaPageControlId, "CONTROL_MEDIA", "MULTI_MEDIA"},
    PageControl{KeyPage::Function, kFunctionPageControlId, "CONTROL_FUNCTION", "FUNCTION_KEY"},
};

const StateSet& PageSet(KeyPage page)
{
    switch (page) {
    case KeyPage::Macro: return kCompositeMacroSet;
    case KeyPage::Media: return kCompositeMediaSet;
    case KeyPage::Function: return kCompositeFunctionSet;
    case KeyPage::SingleKey: break;
    }
    return kCompositeKeySet;
}

CaptionStyle ButtonCaption(bool enabled = true)
{
    CaptionStyle style;
    style.face = u"Tahoma";
    style.points = 9;
    const uint8_t level = enabled ? 255 : 130;
    style.red = style.green = style.blue = level;
    return style;
}

QFont Verdana(int points)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPointSize(points);
    return font;
}

const char* const kPromptStyle = "QLabel { color: #C8CED8; background: transparent; }";
const char* const kTitleStyle = "QLabel { color: #FFFFFF; background: transparent; font-weight: bold; }";
const char* const kFieldStyle =
    "QLineEdit { color: #FFFFFF; background: transparent; border: none; selection-background-color: transparent; }";
const char* const kListStyle =
    "QComboBox { color: #FFFFFF; background: #1B1E23; border: 1px solid #3A4048; border-radius: 4px; padding: 2px 8px; }"
    "QComboBox QAbstractItemView { color: #FFFFFF; background: #1B1E23; selection-background-color: #27C4FF; }";

} // namespace

Kovantis_DlgComposite::Kovantis_DlgComposite(const CompositeSetup& setup, QWidget* parent)
    : CBaseDialog(setup.skinFile, parent),
      model_(setup.model),
      names_(setup.names),
      texts_(setup.texts),
      processes_(setup.processes),
      searchPath_(setup.searchPath),
      macroPage_(std::make_unique<PlaceholderMacroPage>())
{
    setObjectName(QStringLiteral("Kovantis_DlgComposite"));
    // The dialog takes keys as keys: no input method may turn them into text first.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    capture_ = new ui::KeyCaptureFilter(*this, [this](const KeyEventFacts&, const CaptureDecision& decision) {
        if (decision.action == CaptureAction::SwallowAndCapture)
            TakeCapturedKey(decision.code);
    });
    model_.SetMacroPage(macroPage_->Part());
}

Kovantis_DlgComposite::~Kovantis_DlgComposite()
{
    model_.Cancel();
}

void Kovantis_DlgComposite::SetMacroPage(std::unique_ptr<MacroPageView> page)
{
    if (model_.IsOpen() || !page)
        return;
    macroPage_ = std::move(page);
    model_.SetMacroPage(macroPage_->Part());
    if (built_)
        macroPage_->Build(*this);
}

bool Kovantis_DlgComposite::Prepare()
{
    if (!prepared_)
        prepared_ = Pictures().Require(CompositePictures()) && SetUpSkinWindow();
    if (prepared_ && !built_) {
        BuildControls();
        built_ = true;
        macroPage_->Build(*this);
    }
    return prepared_;
}

void Kovantis_DlgComposite::BuildControls()
{
    auto makeButton = [this](int controlId, std::string_view skinKey, const StateSet& set) {
        auto* button = new CPngButton(this);
        PlaceImageButton(*button, skinKey, set);
        buttons_[controlId] = button;
        return button;
    };
    // The page pictures lie under every other control.
    for (auto [id, key] : {std::pair{kMaskPictureControlId, "CONTROL_MASK"}, std::pair{kBarPictureControlId, "CONTROL_SING"},
                           std::pair{kTitlePictureControlId, "CONTROL_TITLE"}}) {
        CPngButton* picture = makeButton(id, key, kCompositeKeySet);
        picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    for (const PageControl& page : kPages) {
        CPngButton* button = makeButton(page.controlId, page.skinKey, kPageButtonSet);
        button->SetCaptionStyle(ButtonCaption());
        connect(button, &CPngButton::clicked, this, [this, p = page.page] { PressPage(p); });
    }
    connect(makeButton(kClearControlId, "CONTROL_CLEAR", kCompositeKeySet), &CPngButton::clicked, this,
            &Kovantis_DlgComposite::PressClear);
    connect(makeButton(kOnScreenKeyboardControlId, "CONTROL_OSK", kCompositeKeySet), &CPngButton::clicked, this,
            &Kovantis_DlgComposite::PressOnScreenKeyboard);
    for (auto [id, key] : {std::pair{kOkControlId, "CONTROL_OK"}, std::pair{kCancelControlId, "CONTROL_CANCEL"},
                           std::pair{kDialogApplyControlId, "CONTROL2_APPLY"}}) {
        makeButton(id, key, kCompositeKeySet)->SetCaptionStyle(ButtonCaption());
    }
    connect(buttons_[kOkControlId], &CPngButton::clicked, this, &Kovantis_DlgComposite::PressOk);
    connect(buttons_[kCancelControlId], &CPngButton::clicked, this, &Kovantis_DlgComposite::PressCancel);
    connect(buttons_[kDialogApplyControlId], &CPngButton::clicked, this, &Kovantis_DlgComposite::PressApply);

    auto makeLabel = [this](std::string_view key, const char* style) {
        auto* label = new QLabel(this);
        PlaceControl(*label, key);
        label->setStyleSheet(QString::fromLatin1(style));
        return label;
    };
    title_ = makeLabel("KEY_SETTING", kTitleStyle);
    keyPrompt_ = makeLabel("TISHI_SINGLE_STATIC", kPromptStyle);
    mediaPrompt_ = makeLabel("MEDIA_SETTING_TISHI", kPromptStyle);
    functionPrompt_ = makeLabel("FUNCTION_KEY_SETTING_TISHI", kPromptStyle);

    keyField_ = new QLineEdit(this);
    PlaceControl(*keyField_, "FUNC_KEY_INPUT");
    keyField_->setReadOnly(true);
    keyField_->setFont(Verdana(18));
    keyField_->setAlignment(Qt::AlignCenter);
    keyField_->setStyleSheet(QString::fromLatin1(kFieldStyle));
    keyField_->setContextMenuPolicy(Qt::NoContextMenu);
    keyField_->setAttribute(Qt::WA_InputMethodEnabled, false);

    auto makeList = [this](std::string_view key) {
        auto* list = new QComboBox(this);
        PlaceControl(*list, key);
        list->setFont(Verdana(12));
        list->setStyleSheet(QString::fromLatin1(kListStyle));
        list->setAttribute(Qt::WA_InputMethodEnabled, false);
        return list;
    };
    mediaList_ = makeList("FUNC_MEDIA_SELECT");
    functionList_ = makeList("FUNC_FUNCTION_SELECT");
    connect(mediaList_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (refreshing_)
            return;
        model_.SelectMedia(index);
        Refresh();
    });
    connect(functionList_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (refreshing_)
            return;
        model_.SelectFunction(index);
        Refresh();
    });
}

QString Kovantis_DlgComposite::Caption(std::string_view key) const
{
    const std::u16string text = texts_.Text(key);
    return text.empty() ? QStringLiteral(" ") : ui::ToQString(text);
}

void Kovantis_DlgComposite::ApplyLanguage()
{
    for (const PageControl& page : kPages)
        buttons_[page.controlId]->setText(Caption(page.captionKey));
    buttons_[kClearControlId]->SetTipText(Caption("COMPOSITE_PROMPT_CLEAR"));
    buttons_[kOnScreenKeyboardControlId]->SetTipText(Caption("COMPOSITE_PROMPT_OSK"));
    buttons_[kOkControlId]->setText(Caption("MACRO_OK"));
    buttons_[kCancelControlId]->setText(Caption("MACRO_CANCLE"));
    buttons_[kDialogApplyControlId]->setText(Caption("COMPOSITE_APPLY"));
    keyPrompt_->setText(Caption("SINGLE_STATIC"));
    mediaPrompt_->setText(Caption("MEDIA_EDIT_TISHI"));
    functionPrompt_->setText(Caption("FUNCTION_TISHI"));
    title_->setText(Caption(model_.MacroOnly() ? "MACRO_EDIT_TISHI" : "KEY_SETTING_TISHI"));
    // The desktop's name for the window (task switchers, screen readers).
    setWindowTitle(title_->text());
}

void Kovantis_DlgComposite::FillLists()
{
    refreshing_ = true;
    mediaList_->clear();
    for (const MediaFunction& media : kMediaFunctions)
        mediaList_->addItem(ui::ToQString(names_.KeyNameOf(media.code)));
    functionList_->clear();
    for (int i = 0; i < kFunctionActionCount; ++i)
        functionList_->addItem(ui::ToQString(std::u16string(names_.FunctionActionName(i))));
    refreshing_ = false;
}

bool Kovantis_DlgComposite::OpenForKey(int record, int controlId, const QRect& keyOnScreen)
{
    if (!Prepare() || !model_.Open(record, controlId))
        return false;
    ApplyLanguage();
    FillLists();
    Refresh();
    PlaceBeside(keyOnScreen);
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    shownPage_ = model_.Page();
    if (model_.Page() == KeyPage::SingleKey)
        keyField_->setFocus();
    else if (model_.Page() == KeyPage::Media)
        mediaList_->setFocus();
    else if (model_.Page() == KeyPage::Function)
        functionList_->setFocus();
    return true;
}

void Kovantis_DlgComposite::PlaceBeside(const QRect& keyOnScreen)
{
    QScreen* screen = QGuiApplication::screenAt(keyOnScreen.center());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    const ScreenRect usable{area.x(), area.y(), area.x() + area.width(), area.y() + area.height()};
    const ScreenRect key{keyOnScreen.x(), keyOnScreen.y(), keyOnScreen.x() + keyOnScreen.width(),
                         keyOnScreen.y() + keyOnScreen.height()};
    const ScreenPoint corner = PlaceBesideKey(key, DialogSize{width(), height()}, usable);
    move(corner.x, corner.y);
}

void Kovantis_DlgComposite::Refresh()
{
    if (!built_)
        return;
    refreshing_ = true;
    const bool macroOnly = model_.MacroOnly();
    const KeyPage page = model_.Page();
    for (const PageControl& control : kPages) {
        CPngButton& button = *buttons_[control.controlId];
        const bool enabled = model_.PageButtonEnabled(control.page);
        button.setEnabled(enabled);
        button.SetOn(page == control.page);
        button.SetPictures(Pictures().Set(enabled ? kPageButtonSet : kCompositeMacroOnlySet));
        button.SetCaptionShown(enabled);
    }
    CPngButton& clear = *buttons_[kClearControlId];
    clear.setEnabled(model_.ClearEnabled());
    clear.SetPictures(Pictures().Set(macroOnly ? kCompositeMacroOnlySet : kCompositeKeySet));
    buttons_[kTitlePictureControlId]->SetPictures(Pictures().Set(macroOnly ? kCompositeMacroOnlySet : kCompositeKeySet));
    for (int id : {kMaskPictureControlId, kBarPictureControlId})
        buttons_[id]->SetPictures(Pictures().Set(PageSet(page)));

    keyPrompt_->setVisible(page == KeyPage::SingleKey && !macroOnly);
    mediaPrompt_->setVisible(page == KeyPage::Media && !macroOnly);
    functionPrompt_->setVisible(page == KeyPage::Function && !macroOnly);
    keyField_->setVisible(page == KeyPage::SingleKey);
    keyField_->setText(model_.FieldKey() == 0 ? QString() : ui::ToQString(names_.KeyNameOf(model_.FieldKey())));
    mediaList_->setVisible(page == KeyPage::Media);
    mediaList_->setCurrentIndex(model_.MediaSelection());
    functionList_->setVisible(page == KeyPage::Function);
    functionList_->setCurrentIndex(model_.FunctionSelection());

    CPngButton& apply = *buttons_[kDialogApplyControlId];
    apply.setEnabled(model_.Modified());
    apply.SetCaptionStyle(ButtonCaption(model_.Modified()));

    macroPage_->SetShown(model_.IsOpen() && page == KeyPage::Macro);
    capture_->SetWanted(model_.Capturing());
    if (page != shownPage_ && model_.IsOpen()) {
        shownPage_ = page;
        QWidget* main = page == KeyPage::SingleKey ? static_cast<QWidget*>(keyField_)
                        : page == KeyPage::Media   ? static_cast<QWidget*>(mediaList_)
                        : page == KeyPage::Function ? static_cast<QWidget*>(functionList_)
                                                    : nullptr;
        if (main != nullptr)
            main->setFocus();
    }
    refreshing_ = false;
}

CPngButton* Kovantis_DlgComposite::Button(int controlId) const
{
    const auto found = buttons_.find(controlId);
    return found == buttons_.end() ? nullptr : found->second;
}

CPngButton* Kovantis_DlgComposite::PageButton(KeyPage page) const
{
    for (const PageControl& control : kPages) {
        if (control.page == page)
            return Button(control.controlId);
    }
    return nullptr;
}

void Kovantis_DlgComposite::PressPage(KeyPage page)
{
    model_.PressPage(page);
    Refresh();
}

void Kovantis_DlgComposite::PressClear()
{
    model_.PressClear();
    Refresh();
}

void Kovantis_DlgComposite::TakeCapturedKey(KeyCode code)
{
    if (model_.CaptureKey(code))
        Refresh();
}

void Kovantis_DlgComposite::PressOnScreenKeyboard()
{
    const std::string program = FindOnScreenKeyboard(searchPath_);
    if (!program.empty() && processes_.StartDetached(program, {}))
        return;
    OfferKeyList();
}

void Kovantis_DlgComposite::OfferKeyList()
{
    if (model_.MacroOnly() || !model_.IsOpen())
        return;
    auto* picker = new ui::KeyPickerDialog(names_, Caption("COMPOSITE_PICK_KEY"), this);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    connect(picker, &QDialog::accepted, this, [this, picker] {
        if (model_.PickKey(picker->ChosenKey()))
            Refresh();
    });
    connect(this, &Kovantis_DlgComposite::Closed, picker, &QDialog::reject);
    picker->open();
    emit KeyListOffered();
}

void Kovantis_DlgComposite::PressOk()
{
    const int controlId = model_.TargetControl();
    const ApplyResult result = model_.Ok();
    if (result == ApplyResult::Stored) {
        emit Applied();
        FinishClose(controlId);
        return;
    }
    Refresh();
}

void Kovantis_DlgComposite::PressApply()
{
    if (model_.Apply() == ApplyResult::Stored)
        emit Applied();
    Refresh();
}

void Kovantis_DlgComposite::PressCancel()
{
    if (!model_.IsOpen())
        return;
    const int controlId = model_.TargetControl();
    model_.Cancel();
    FinishClose(controlId);
}

void Kovantis_DlgComposite::CloseFromOutside()
{
    PressCancel();
}

void Kovantis_DlgComposite::FinishClose(int controlId)
{
    Refresh();
    capture_->SetWanted(false);
    hide();
    emit Closed(controlId);
}

void Kovantis_DlgComposite::reject()
{
    // Closing the window by the desktop's means is Cancel.
    PressCancel();
}

} // namespace kovantis
