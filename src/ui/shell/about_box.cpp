#include "ui/shell/about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#ifndef KOVANTIS_VERSION
#define KOVANTIS_VERSION "0"
#endif

namespace kovantis::ui {

AboutBox::AboutBox(const QString& productLine, const QString& rightsLine, QWidget* parent)
    : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(productLine.isEmpty() ? QStringLiteral("Kovantis") : productLine);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("<b>Kovantis %1</b>").arg(QStringLiteral(KOVANTIS_VERSION)));
    layout->addWidget(title);
    if (!productLine.isEmpty())
        layout->addWidget(new QLabel(productLine));
    if (!rightsLine.isEmpty())
        layout->addWidget(new QLabel(rightsLine));
    // The licence is the program's own, whatever the language file says.
    auto* licence = new QLabel(QStringLiteral(
        "Free software under the GNU General Public License, version 3 or later "
        "(GPL-3.0-or-later). There is no warranty, to the extent permitted by law.<br>"
        "<a href=\"https://www.gnu.org/licenses/gpl-3.0.html\">https://www.gnu.org/licenses/gpl-3.0.html</a>"));
    licence->setObjectName(QStringLiteral("licence"));
    licence->setWordWrap(true);
    licence->setOpenExternalLinks(true);
    layout->addWidget(licence);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

void AboutBoxOpener::Open(const QString& productLine, const QString& rightsLine, QWidget* parent)
{
    if (!box_) {
        box_ = new AboutBox(productLine, rightsLine, parent);
        box_->setModal(false);
    }
    box_->show();
    box_->raise();
    box_->activateWindow();
}

} // namespace kovantis::ui
