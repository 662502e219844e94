#include "ui/profiles/c_kovantis_dlg_profile.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>

#include "profiles/profile_manager_model.h"
#include "skin/skin_keys.h"
#include "skin/skin_pictures.h"
#include "ui/common/language_notifier.h"
#include "ui/common/qt_text.h"
#include "ui/common/ui_job.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {
namespace {

constexpr int kActiveColumnWidth = 60;
constexpr int kNameColumnWidth = 120;
constexpr int kPathColumnWidth = 230;

} // namespace

CKovantis_DlgProfile::CKovantis_DlgProfile(const std::filesystem::path& skinFolder, ProfileManagerModel& model,
                                           const TextSource& texts, ui::JobRunner& jobs, QWidget* parent)
    : CBaseDialog((skinFolder / kProfileSkinFile).string(), parent), model_(model), texts_(texts), jobs_(jobs)
{
    setObjectName(QStringLiteral("CKovantis_DlgProfile"));
    connect(&ui::LanguageNotifier::Get(), &ui::LanguageNotifier::Changed, this,
            &CKovantis_DlgProfile::ApplyLanguage);
}

CKovantis_DlgProfile::~CKovantis_DlgProfile()
{
    // A dialog destroyed while open (the program quits) closes as Cancel does.
    if (model_.IsOpen())
        model_.Cancel();
}

bool CKovantis_DlgProfile::Initialise()
{
    if (!SetUpSkinWindow())
        return false;
    auto button = [this](std::string_view key, const char* name) {
        auto* b = new CPngButton(this);
        b->setObjectName(QString::fromLatin1(name));
        PlaceImageButton(*b, key, kProfileSet);
        return b;
    };
    add_ = button("FUNC_ADD", "FUNC_ADD");
    load_ = button("FUNC_LOAD", "FUNC_LOAD");
    delete_ = button("FUNC_DELETE", "FUNC_DELETE");
    apply_ = button("CONTROL2_APPLY", "CONTROL2_APPLY");
    ok_ = button("CONTROL_OK", "CONTROL_OK");
    cancel_ = button("CONTROL_CANCEL", "CONTROL_CANCEL");
    for (CPngButton* b : {apply_, ok_, cancel_}) {
        b->SetCaptionStyle(SkinButtonCaption());
        b->SetCaptionShown(true);
    }
    connect(add_, &QAbstractButton::clicked, this, [this] { WhenIdle([this] { Add(); }); });
    connect(load_, &QAbstractButton::clicked, this, [this] { WhenIdle([this] { Load(); }); });
    connect(delete_, &QAbstractButton::clicked, this, [this] { WhenIdle([this] { Delete(); }); });
    connect(apply_, &QAbstractButton::clicked, this, [this] { WhenIdle([this] { Apply(); }); });
    connect(ok_, &QAbstractButton::clicked, this, [this] { WhenIdle([this] { Ok(); }); });
    connect(cancel_, &QAbstractButton::clicked, this, [this] { WhenIdle([this] { Cancel(); }); });

    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("title"));
    title_->setGeometry(170, 12, width() - 230, 26);
    title_->setStyleSheet(QStringLiteral("color: #c8d2dc; font-size: 13px;"));

    list_ = new QTableWidget(0, 3, this);
    list_->setObjectName(QStringLiteral("PROGRAM_LIST"));
    PlaceControl(*list_, "PROGRAM_LIST");
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setColumnWidth(0, kActiveColumnWidth);
    list_->setColumnWidth(1, kNameColumnWidth);
    list_->setColumnWidth(2, kPathColumnWidth);
    list_->setStyleSheet(QStringLiteral(
        "QTableWidget { background: #16181c; color: #dfe5ea; gridline-color: #30343a; border: none; "
        "selection-background-color: #1f6fa8; }"
        "QHeaderView::section { background: #22262b; color: #aeb8c2; border: 1px solid #30343a; padding: 3px; }"));
    connect(list_, &QTableWidget::cellChanged, this, &CKovantis_DlgProfile::OnItemChanged);
    connect(list_, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!refreshing_)
            model_.Select(list_->currentRow());
    });

    ApplyLanguage();
    apply_->setEnabled(false);
    jobs_.Run([this] { model_.Fill(); });
    WhenIdle([this] { Refresh(); });
    return true;
}

CPngButton* CKovantis_DlgProfile::Button(std::string_view skinKey) const
{
    return findChild<CPngButton*>(QString::fromLatin1(skinKey.data(), static_cast<qsizetype>(skinKey.size())));
}

void CKovantis_DlgProfile::ApplyLanguage()
{
    auto text = [this](std::string_view key) { return ui::ToQString(texts_.Text(key)); };
    setWindowTitle(text("PROFILE_MANAGER_TITLE"));
    if (title_ != nullptr)
        title_->setText(windowTitle());
    if (list_ != nullptr) {
        list_->setHorizontalHeaderLabels(
            {text("PROFILE_MANAGER_ACTIVE"), text("PROFILE_MANAGER_NAME"), text("PROFILE_MANAGER_PATH")});
    }
    if (add_ == nullptr)
        return;
    // The three list buttons carry pictures; their texts are their tooltips.
    add_->SetTipText(text("PROFILE_MANAGER_ADD"));
    load_->SetTipText(text("PROFILE_MANAGER_LOAD"));
    delete_->SetTipText(text("PROFILE_MANAGER_DELETE"));
    apply_->setText(text("PROFILE_MANAGER_APPLY"));
    ok_->setText(text("PROFILE_MANAGER_OK"));
    cancel_->setText(text("PROFILE_MANAGER_CANCEL"));
    update();
}

void CKovantis_DlgProfile::Refresh()
{
    refreshing_ = true;
    const std::vector<ProfileRow>& rows = model_.Rows();
    list_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const ProfileRow& row = rows[static_cast<size_t>(r)];
        auto* tick = new QTableWidgetItem;
        tick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        tick->setCheckState(row.ticked ? Qt::Checked : Qt::Unchecked);
        list_->setItem(r, 0, tick);
        auto* name = new QTableWidgetItem(ui::ToQString(row.name));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        list_->setItem(r, 1, name);
        auto* folder = new QTableWidgetItem(QString::fromStdString(row.folder.string()));
        folder->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        folder->setToolTip(folder->text());
        list_->setItem(r, 2, folder);
    }
    const int selected = model_.SelectedRow();
    if (selected >= 0 && selected < list_->rowCount())
        list_->selectRow(selected);
    else
        list_->clearSelection();
    apply_->setEnabled(model_.ApplyEnabled());
    refreshing_ = false;
}

void CKovantis_DlgProfile::OnItemChanged(int row, int column)
{
    if (refreshing_ || column != 0)
        return;
    const QTableWidgetItem* item = list_->item(row, 0);
    model_.Tick(row, item != nullptr && item->checkState() == Qt::Checked);
    Refresh();
}

void CKovantis_DlgProfile::WhenIdle(std::function<void()> task)
{
    QPointer<CKovantis_DlgProfile> self(this);
    jobs_.WhenIdle([self, task = std::move(task)] {
        if (!self.isNull())
            task();
    });
}

void CKovantis_DlgProfile::Add()
{
    model_.Add();
    Refresh();
}

void CKovantis_DlgProfile::Load()
{
    model_.Load();
    Refresh();
}

void CKovantis_DlgProfile::Delete()
{
    model_.Delete();
    Refresh();
}

void CKovantis_DlgProfile::Apply()
{
    jobs_.Run([this] { model_.Apply(); });
    WhenIdle([this] { Refresh(); });
}

void CKovantis_DlgProfile::Ok()
{
    jobs_.Run([this] { model_.Ok(); });
    WhenIdle([this] {
        // A failed Apply said why and keeps the dialog open.
        if (model_.IsOpen()) {
            Refresh();
            return;
        }
        closing_ = true;
        accept();
    });
}

void CKovantis_DlgProfile::Cancel()
{
    model_.Cancel();
    closing_ = true;
    reject();
}

void CKovantis_DlgProfile::CloseAsCancel()
{
    if (!closing_ && (model_.IsOpen() || isVisible()))
        Cancel();
}

void CKovantis_DlgProfile::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        WhenIdle([this] { Cancel(); });
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

void CKovantis_DlgProfile::closeEvent(QCloseEvent* event)
{
    if (!closing_) {
        event->ignore();
        WhenIdle([this] { Cancel(); });
        return;
    }
    CBaseDialog::closeEvent(event);
}

} // namespace kovantis
