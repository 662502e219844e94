#pragma once
// The about box: the plain dialog of the program (not skinned). Not modal: the main window and
// the tray icon stay usable while it is open, and asking for it again brings the open one
// forward, so there is never more than one.

#include <QDialog>
#include <QPointer>
#include <QString>

namespace kovantis::ui {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    // productLine and rightsLine come from the language file (GUANYU_JIESHAO, GUANYU_BANQUAN).
    AboutBox(const QString& productLine, const QString& rightsLine, QWidget* parent = nullptr);
};

// Opens the about box, or raises the one already open.
class AboutBoxOpener {
public:
    void Open(const QString& productLine, const QString& rightsLine, QWidget* parent);
    AboutBox* Current() const { return box_; }

private:
    QPointer<AboutBox> box_;
};

} // namespace kovantis::ui
