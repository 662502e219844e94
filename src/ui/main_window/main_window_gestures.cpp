// The main window's keyboard picture and small buttons: drawing what the view model says and
// forwarding clicks, restore defaults, flip, the menu button, help and the link.

#include "ui/main_window/main_window.h"

#include <QCursor>
#include <QLabel>
#include <QMenu>

#include "app/app_settings.h"
#include "platform/paths.h"
#include "session/session.h"
#include "skin/skin_keys.h"
#include "skin/skin_pictures.h"
#include "ui/common/qt_text.h"
#include "ui/lighting/lighting_panel.h"
#include "ui/main_window/keyboard_view.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {
namespace {

// The link button hands only web pages to the desktop, whatever a skin file says.
bool IsWebUrl(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

} // namespace

// -- drawing what the models say --

void CKovantisDlg::RefreshKeyButtons()
{
    jobs_.WhenIdle([this] { RefreshKeyView(); });
}

void CKovantisDlg::RefreshKeyView()
{
    Core().DescribeKeys(viewModel_, false);
    keyboardView_->Show();
}

void CKovantisDlg::RefreshGKeyView()
{
    Core().DescribeKeys(viewModel_, true);
    keyboardView_->Show();
}

void CKovantisDlg::ShowBankIndicator()
{
    const bool bankB = viewModel_.IndicatorLook() == BankIndicatorLook::BankB;
    Control("LOCK_AB")->SetPictures(Pictures().Set(bankB ? kMainBankBIndicatorSet : kMainIndicatorSet));
}

void CKovantisDlg::ApplyFlip(bool flipped)
{
    viewModel_.SetFlip(flipped);
    keyboardView_->Show();
    ShowArrows();
}

void CKovantisDlg::ShowArrows()
{
    const QPixmap arrows = Pictures().Picture(kArrowPicture);
    const bool up = viewModel_.ArrowsPointUp();
    for (auto [label, left] : {std::pair{leftArrow_, true}, std::pair{rightArrow_, false}}) {
        const SkinRect origin = Skin().PictureOrigin(ArrowOriginKey(up, left, 1));
        label->setPixmap(arrows.copy(origin.x - 1, origin.y - 1, label->width(), label->height()));
    }
}

// -- gestures --

void CKovantisDlg::PressKey(int controlId)
{
    // In the lighting view a key is painted (effect 20) rather than assigned.
    if (lighting_->TakeKeyClick(controlId))
        return;
    const std::optional<KeyEditTarget> target = viewModel_.BeginEditing(controlId);
    if (!target)
        return;
    keyboardView_->Show();
    EditKey(controlId, *target);
    viewModel_.EndEditing(controlId);
    keyboardView_->Show();
}

void CKovantisDlg::PressRestoreDefaults()
{
    if (!Core().RestoreDefaultRecords(viewModel_.Bank()))
        return;
    RefreshKeyView();
    jobs_.Run([this] { Core().RestoreKeyboardDefaults(); });
}

void CKovantisDlg::PressFlip()
{
    const bool flipped = !setup_.settings.Flip();
    setup_.settings.SetFlip(flipped);
    ApplyFlip(setup_.settings.Flip());
}

void CKovantisDlg::ShowMenuButtonMenu()
{
    QMenu menu(this);
    menu.addAction(Text("MENU_1"), this, &CKovantisDlg::ImportProfiles);
    menu.addAction(Text("MENU_2"), this, &CKovantisDlg::ExportProfiles);
    menu.addAction(Text("MENU_3"), this, &CKovantisDlg::ShowAbout);
    menu.addAction(Text("MENU_4"), this, &CKovantisDlg::Quit);
    menu.exec(QCursor::pos());
}

void CKovantisDlg::ShowAbout()
{
    about_.Open(Text("GUANYU_JIESHAO"), Text("GUANYU_BANQUAN"), this);
}

void CKovantisDlg::OpenHelp()
{
    openUrl_(QUrl::fromLocalFile(QString::fromStdString(setup_.paths.HelpIndex().string())));
}

void CKovantisDlg::OpenLink()
{
    // A skin without an address of its own links to the help page shipped with the program.
    if (link_.empty()) {
        OpenHelp();
        return;
    }
    const QUrl url(ui::ToQString(link_));
    if (IsWebUrl(url))
        openUrl_(url);
}

} // namespace kovantis
