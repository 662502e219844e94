#include "ui/common/qt_prompter.h"

#include "ui/common/qt_text.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QMetaObject>
#include <QString>
#include <QThread>
#include <QWidget>

namespace kovantis::ui {
namespace {

QString FilterText(const std::string& filter)
{
    return QString::fromStdString(filter) + QStringLiteral(";;") + QObject::tr("All files (*)");
}

} // namespace

void QtPrompter::OnUiThread(const std::function<void()>& dialog)
{
    if (QThread::currentThread() == parent_->thread())
        dialog();
    else
        QMetaObject::invokeMethod(parent_, dialog, Qt::BlockingQueuedConnection);
}

void QtPrompter::ShowMessage(const std::u16string& text, const std::u16string& caption)
{
    // A message needs no answer: it stays over the window until OK, and nobody waits for it.
    const QString title = ToQString(caption);
    const QString body = ToQString(text);
    QMetaObject::invokeMethod(parent_, [parent = parent_, title, body] {
        auto* box = new QMessageBox(QMessageBox::NoIcon, title, body, QMessageBox::Ok, parent);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::ApplicationModal);
        box->show();
    }, Qt::QueuedConnection);
}

bool QtPrompter::AskYesNo(const std::u16string& text, const std::u16string& caption)
{
    bool yes = false;
    OnUiThread([&] {
        QMessageBox box(QMessageBox::Question, ToQString(caption), ToQString(text),
                        QMessageBox::Yes | QMessageBox::No, parent_);
        box.setDefaultButton(QMessageBox::No);
        yes = box.exec() == QMessageBox::Yes;
    });
    return yes;
}

std::string QtPrompter::ChooseOpenFile(const std::string& filter, const std::string& folder)
{
    std::string chosen;
    OnUiThread([&] {
        chosen = QFileDialog::getOpenFileName(parent_, QString(), QString::fromStdString(folder),
                                              FilterText(filter))
                     .toStdString();
    });
    return chosen;
}

std::string QtPrompter::ChooseSaveFile(const std::string& filter, const std::string& folder,
                                       const std::string& suggestedName)
{
    std::string chosen;
    OnUiThread([&] {
        const QString start = QDir(QString::fromStdString(folder))
                                  .filePath(QString::fromStdString(suggestedName));
        QFileDialog dialog(parent_, QString(), start, FilterText(filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // "*.kvp": a bare name gets ".kvp" before the dialog asks about replacing a file, so
        // it asks about the file that is really written.
        const QString pattern = QString::fromStdString(filter);
        if (pattern.startsWith(QLatin1String("*.")) && !pattern.contains(QLatin1Char(' ')))
            dialog.setDefaultSuffix(pattern.mid(2));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().constFirst().toStdString();
    });
    return chosen;
}

} // namespace kovantis::ui
