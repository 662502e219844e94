#include "ui/key_assignment/macro_page_steps.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QRegularExpressionValidator>
#include <QTimer>

#include "keyboard/key_table.h"
#include "ui/common/qt_text.h"

namespace kovantis::ui {
namespace {

// The drop-downs of a cell open as a list of at most their visible rows below the cell, in the
// page's dark colours (the platform's pop-up otherwise covers the screen in light colours with
// the table's white text on it).
const char* const kCellListStyle = "QComboBox { color: #FFFFFF; background: #1B1E23; combobox-popup: 0; }";
const char* const kCellPopupStyle =
    "QAbstractItemView { color: #FFFFFF; background: #1B1E23; border: 1px solid #3A4048; "
    "selection-background-color: #27C4FF; selection-color: #000000; outline: 0; }";

void StyleCellList(QComboBox& list)
{
    list.setStyleSheet(QString::fromLatin1(kCellListStyle));
    list.view()->setStyleSheet(QString::fromLatin1(kCellPopupStyle));
}

} // namespace

QString StepStateText(uint16_t state)
{
    return state == kMacroRelease ? QStringLiteral("  \u2191") : QStringLiteral("\u2193");
}

MacroStepTable::MacroStepTable(const MacroEditor& editor, const KeyNames& names, QObject* parent)
    : QAbstractTableModel(parent), editor_(editor), names_(names)
{
}

void MacroStepTable::SetHeadings(const QStringList& headings)
{
    headings_ = headings;
    emit headerDataChanged(Qt::Horizontal, 0, 2);
}

void MacroStepTable::Sync()
{
    const std::span<const MacroAction> rows = editor_.Steps().Rows();
    if (rows.size() != shown_.size()) {
        beginResetModel();
        shown_.assign(rows.begin(), rows.end());
        endResetModel();
        return;
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        if (!(rows[r] == shown_[r])) {
            shown_[r] = rows[r];
            emit dataChanged(index(static_cast<int>(r), 0), index(static_cast<int>(r), 2));
        }
    }
}

int MacroStepTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int MacroStepTable::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant MacroStepTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const MacroAction& step = shown_[static_cast<size_t>(index.row())];
    const auto column = static_cast<StepColumn>(index.column());
    if (role == Qt::DisplayRole) {
        switch (column) {
        case StepColumn::Key: return ToQString(names_.KeyNameOf(step.key));
        case StepColumn::State: return StepStateText(step.state);
        case StepColumn::Delay: return QString::number(step.delay);
        }
    }
    if (role == Qt::ForegroundRole && column != StepColumn::Delay) {
        return QPalette().color(QPalette::Disabled, QPalette::Text);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant MacroStepTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < headings_.size()) {
        return headings_[section];
    }
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags MacroStepTable::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

MacroStepDelegate::MacroStepDelegate(const MacroEditor& editor, const KeyNames& names, Hooks hooks, QObject* parent)
    : QStyledItemDelegate(parent), editor_(editor), names_(names), hooks_(std::move(hooks))
{
    connect(this, &QAbstractItemDelegate::closeEditor, this, [this] { open_ = nullptr; });
}

QWidget* MacroStepDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    open_ = CreateCellEditor(parent, index);
    (void)option;
    return open_;
}

QWidget* MacroStepDelegate::CreateCellEditor(QWidget* parent, const QModelIndex& index) const
{
    const CellEditKind kind = hooks_.begin(index.row(), index.column());
    switch (kind) {
    case CellEditKind::Delay: {
        auto* field = new QLineEdit(parent);
        field->setObjectName(QStringLiteral("MacroDelayEditor"));
        field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), field));
        return field;
    }
    case CellEditKind::State: {
        auto* list = new QComboBox(parent);
        list->setObjectName(QStringLiteral("MacroStateEditor"));
        StyleCellList(*list);
        list->addItem(StepStateText(kMacroPress));
        list->addItem(StepStateText(kMacroRelease));
        return list;
    }
    case CellEditKind::Key: {
        auto* list = new QComboBox(parent);
        list->setObjectName(QStringLiteral("MacroKeyEditor"));
        StyleCellList(*list);
        for (int position = 0; position < kPickerSize; ++position) {
            list->addItem(ToQString(names_.KeyNameOf(KeyCodeAtPickerPosition(position))));
        }
        list->setMaxVisibleItems(16);
        return list;
    }
    case CellEditKind::None:
        break;
    }
    return nullptr;
}

void MacroStepDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (index.row() >= editor_.Steps().RowCount()) {
        return;
    }
    const MacroAction& step = editor_.Steps().Row(index.row());
    if (auto* field = qobject_cast<QLineEdit*>(editor)) {
        field->setText(QString::number(step.delay));
        field->selectAll();
    } else if (auto* list = qobject_cast<QComboBox*>(editor)) {
        const bool keys = list->objectName() == QStringLiteral("MacroKeyEditor");
        const int current = keys ? static_cast<int>(PickerPositionOf(step.key)) : step.state;
        list->setCurrentIndex(current < list->count() ? current : -1);
        // A drop-down edit opens at once; choosing an entry ends it.
        QObject::connect(list, &QComboBox::activated, list, [this, list] {
            emit const_cast<MacroStepDelegate*>(this)->commitData(list);
            emit const_cast<MacroStepDelegate*>(this)->closeEditor(list);
        });
        QTimer::singleShot(0, list, &QComboBox::showPopup);
    }
}

void MacroStepDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    if (auto* field = qobject_cast<QLineEdit*>(editor)) {
        hooks_.commit(index.row(), index.column(), field->text());
    } else if (auto* list = qobject_cast<QComboBox*>(editor)) {
        if (list->currentIndex() >= 0) {
            hooks_.commit(index.row(), index.column(), list->currentIndex());
        }
    }
}

} // namespace kovantis::ui
