#include "phonomir/PresetDialog.h"

#include "phonomir/SavePresetDialog.h"
#include "phonomir/StringTable.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace phonomir {
namespace {

std::int32_t idOf(const QListWidgetItem& item) { return item.data(Qt::UserRole).toInt(); }

}  // namespace

PresetDialog::PresetDialog(PresetDialogContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), store_(context_.connection, context_.messages) {
    setWindowTitle(QStringLiteral("Preset"));
    buildControls();
    fillList(-1);
}

void PresetDialog::buildControls() {
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("id%1").arg(kList));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setMinimumSize(240, 180);
    connect(list_, &QListWidget::itemDoubleClicked, this, &PresetDialog::accept);
    auto* buttons = new QVBoxLayout;
    const auto add = [this, buttons](int id, const QString& caption, void (PresetDialog::*action)()) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QStringLiteral("id%1").arg(id));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
        return button;
    };
    add(kOk, QStringLiteral("OK"), &PresetDialog::accept)->setDefault(true);
    add(kCancel, QStringLiteral("Cancel"), &PresetDialog::reject);
    buttons->addSpacing(12);
    add(kNew, QStringLiteral("&New"), &PresetDialog::createPreset);
    add(kOverwrite, QStringLiteral("Over&write"), &PresetDialog::overwritePreset);
    add(kDelete, QStringLiteral("&Delete"), &PresetDialog::deletePreset);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    list_->setFocus();
}

QWidget* PresetDialog::control(int id) const { return findChild<QWidget*>(QStringLiteral("id%1").arg(id)); }

void PresetDialog::fillList(std::int32_t selectId) {
    std::vector<PresetSummary> presets;
    if (!store_.list(presets)) return;
    list_->clear();
    for (const PresetSummary& preset : presets) {
        auto* item = new QListWidgetItem(QString::fromStdString(preset.title), list_);
        item->setData(Qt::UserRole, preset.id);
        if (preset.id == selectId) list_->setCurrentItem(item);
    }
}

QListWidgetItem* PresetDialog::selectedItem() {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (!selected.isEmpty()) return selected.front();
    context_.messages.showMessage(loadString(StringId::SelectItem), MessageIcon::Exclamation);
    return nullptr;
}

void PresetDialog::accept() {
    const QListWidgetItem* item = selectedItem();
    if (!item) return;
    chosenId_ = idOf(*item);
    QDialog::accept();
}

void PresetDialog::createPreset() {
    SavePresetDialog ask(context_.messages, this);
    if (ask.exec() != QDialog::Accepted) return;
    std::int32_t id = -1;
    if (store_.create(ask.title().toStdString(), context_.currentContent(), id)) fillList(id);
}

void PresetDialog::overwritePreset() {
    const QListWidgetItem* item = selectedItem();
    if (!item || !context_.messages.askOkCancel(StringId::SaveOverItem, loadString(StringId::SaveOverItem))) return;
    const std::int32_t id = idOf(*item);
    if (store_.overwrite(id, item->text().toStdString(), context_.currentContent())) fillList(id);
}

void PresetDialog::deletePreset() {
    const QListWidgetItem* item = selectedItem();
    if (!item || !context_.messages.askOkCancel(StringId::DeleteItem, loadString(StringId::DeleteItem))) return;
    if (store_.remove(idOf(*item))) fillList(-1);
}

}  // namespace phonomir
