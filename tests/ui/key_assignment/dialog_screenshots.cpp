#include "dialog_screenshots.h"

#include <QApplication>
#include <QPixmap>

#include <iostream>

namespace kovantis::screenshots {

DialogForPictures::DialogForPictures(std::string tool, const std::filesystem::path& bin)
    : tool_(std::move(tool)),
      bin_(bin),
      // No per-user copy: the pictures show the shipped texts whoever makes them.
      language_(bin / "Skins" / "language.ini", bin / "Skins" / "no-per-user-copy.ini"),
      model_(store_)
{
    language_.Load();
    names_.Load(language_);
    dialog_ = std::make_unique<Kovantis_DlgComposite>(CompositeSetup{
        (bin / "Skins" / "Composite.ini").string(), names_, language_, model_, processes_, std::string()});
}

DialogForPictures::~DialogForPictures() = default;

bool DialogForPictures::Prepare()
{
    if (dialog_->Prepare())
        return true;
    std::cerr << tool_ << ": the skin in " << bin_ << " is incomplete\n";
    return false;
}

bool DialogForPictures::Shoot(const std::filesystem::path& file)
{
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    if (dialog_->grab().save(QString::fromStdString(file.string())))
        return true;
    std::cerr << tool_ << ": cannot write " << file << '\n';
    return false;
}

} // namespace kovantis::screenshots
