#pragma once
// The macro page's step list: a table over the macro editor's rows (key, press or release, the
// pause after the step) and the in-place editors of its cells: a drop-down of the keys the user
// can pick, a press/release drop-down and a digits-only pause.

#include <QAbstractTableModel>
#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>
#include <vector>

#include "keyboard/key_names.h"
#include "macros/macro_editor.h"

namespace kovantis::ui {

// The texts of the state column.
QString StepStateText(uint16_t state);

class MacroStepTable final : public QAbstractTableModel {
    Q_OBJECT
public:
    MacroStepTable(const MacroEditor& editor, const KeyNames& names, QObject* parent = nullptr);

    // Headings of the three columns.
    void SetHeadings(const QStringList& headings);
    // Brings the table up to the editor's rows: changed rows are redrawn, a changed number of
    // rows resets the table (never while a cell is being edited: the caller waits).
    void Sync();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const MacroEditor& editor_;
    const KeyNames& names_;
    std::vector<MacroAction> shown_;
    QStringList headings_;
};

// Opens the editor of a cell once the macro editor agreed to the edit (a pause edit stops a
// recording first), and hands the value back to it.
class MacroStepDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    struct Hooks {
        std::function<CellEditKind(int row, int column)> begin;
        std::function<void(int row, int column, const QVariant& value)> commit;
    };
    MacroStepDelegate(const MacroEditor& editor, const KeyNames& names, Hooks hooks, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

    // The cell editor open now, if any.
    QWidget* OpenEditor() const { return open_; }

private:
    QWidget* CreateCellEditor(QWidget* parent, const QModelIndex& index) const;

    mutable QPointer<QWidget> open_;
    const MacroEditor& editor_;
    const KeyNames& names_;
    Hooks hooks_;
};

} // namespace kovantis::ui
