#include "ui/update/c_kovantis_dlg_update.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>

#include <memory>

#include "skin/skin_keys.h"
#include "skin/skin_pictures.h"
#include "ui/common/language_notifier.h"
#include "ui/common/qt_text.h"
#include "ui/common/ui_job.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {
namespace {

} // namespace

CKovantis_DlgUpdate::CKovantis_DlgUpdate(const std::filesystem::path& skinFolder, FirmwareUpdate& update,
                                         const TextSource& texts, ui::JobRunner& jobs, QWidget* parent)
    : CBaseDialog((skinFolder / kUpdateSkinFile).string(), parent), update_(update), texts_(texts), jobs_(jobs)
{
    setObjectName(QStringLiteral("CKovantis_DlgUpdate"));
    connect(&ui::LanguageNotifier::Get(), &ui::LanguageNotifier::Changed, this,
            &CKovantis_DlgUpdate::ApplyLanguage);
}

bool CKovantis_DlgUpdate::Initialise()
{
    if (!SetUpSkinWindow())
        return false;
    auto button = [this](std::string_view key) {
        auto* b = new CPngButton(this);
        b->setObjectName(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
        PlaceImageButton(*b, key, kUpdateSet);
        return b;
    };
    open_ = button("CONTROL_OPENButton");
    backup_ = button("CONTROL_BACKUPButton");
    start_ = button("CONTROL_UPButton");
    cancel_ = button("CONTROL_CUPButton");
    for (CPngButton* b : {backup_, start_, cancel_}) {
        b->SetCaptionStyle(SkinButtonCaption());
        b->SetCaptionShown(true);
    }
    connect(open_, &QAbstractButton::clicked, this, [this] { WhenIdle([this] { Open(); }); });
    connect(backup_, &QAbstractButton::clicked, this, [this] { WhenIdle([this] { Backup(); }); });
    connect(start_, &QAbstractButton::clicked, this, [this] { WhenIdle([this] { Update(); }); });
    connect(cancel_, &QAbstractButton::clicked, this, [this] { WhenIdle([this] { CancelUpdate(); }); });

    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("title"));
    title_->setGeometry(170, 12, width() - 230, 26);
    title_->setStyleSheet(QStringLiteral("color: #c8d2dc; font-size: 13px;"));

    path_ = new QLabel(this);
    path_->setObjectName(QStringLiteral("CONTROL_UPStatic"));
    PlaceControl(*path_, "CONTROL_UPStatic");
    path_->setStyleSheet(QStringLiteral("color: #dfe5ea; padding-left: 6px;"));
    path_->setTextFormat(Qt::PlainText);

    // Part of the window's layout, never filled and never shown.
    combo_ = new QComboBox(this);
    combo_->setObjectName(QStringLiteral("CONTROL_UPCombox"));
    PlaceControl(*combo_, "CONTROL_UPCombox");
    combo_->hide();

    ApplyLanguage();
    Refresh();
    return true;
}

CPngButton* CKovantis_DlgUpdate::Button(std::string_view skinKey) const
{
    return findChild<CPngButton*>(QString::fromLatin1(skinKey.data(), static_cast<qsizetype>(skinKey.size())));
}

void CKovantis_DlgUpdate::ApplyLanguage()
{
    auto text = [this](std::string_view key) { return ui::ToQString(texts_.Text(key)); };
    setWindowTitle(text("UPDATE_TITLE"));
    if (title_ == nullptr)
        return;
    title_->setText(windowTitle());
    open_->SetTipText(text("UPDATE_OPEN"));
    backup_->setText(text("UPDATE_BACKUP"));
    start_->setText(text("UPDATE_START"));
    cancel_->setText(text("UPDATE_CANCEL"));
    Refresh();
}

void CKovantis_DlgUpdate::Refresh()
{
    if (path_ == nullptr)
        return;
    const std::string& updater = update_.UpdaterPath();
    if (updater.empty()) {
        path_->setText(ui::ToQString(texts_.Text("UPDATE_NO_FILE")));
        path_->setToolTip(QString());
    } else {
        // The end of a long path tells more than its start.
        const QString full = QString::fromStdString(updater);
        path_->setText(path_->fontMetrics().elidedText(full, Qt::ElideLeft, path_->width() - 10));
        path_->setToolTip(full);
    }
    update();
}

void CKovantis_DlgUpdate::WhenIdle(std::function<void()> task)
{
    QPointer<CKovantis_DlgUpdate> self(this);
    jobs_.WhenIdle([self, task = std::move(task)] {
        if (!self.isNull())
            task();
    });
}

void CKovantis_DlgUpdate::Open()
{
    update_.Open();
    Refresh();
}

void CKovantis_DlgUpdate::Backup()
{
    // Only files are written; the working data is read as it is, not from the keyboard.
    update_.Backup();
}

void CKovantis_DlgUpdate::Update()
{
    auto outcome = std::make_shared<UpdateOutcome>(UpdateOutcome::NoUpdater);
    jobs_.Run([this, outcome] { *outcome = update_.Update(); });
    WhenIdle([this, outcome] {
        lastOutcome_ = *outcome;
        if (*outcome == UpdateOutcome::Started) {
            closing_ = true;
            accept();
            return;
        }
        Refresh();
    });
}

void CKovantis_DlgUpdate::CancelUpdate()
{
    update_.Cancel();
    closing_ = true;
    reject();
}

void CKovantis_DlgUpdate::CloseAsCancel()
{
    if (!closing_)
        CancelUpdate();
}

void CKovantis_DlgUpdate::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        WhenIdle([this] { CancelUpdate(); });
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

void CKovantis_DlgUpdate::closeEvent(QCloseEvent* event)
{
    if (!closing_) {
        event->ignore();
        WhenIdle([this] { CancelUpdate(); });
        return;
    }
    CBaseDialog::closeEvent(event);
}

} // namespace kovantis
