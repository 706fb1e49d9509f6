#include "phonomir/SavePresetDialog.h"

#include "phonomir/PresetStore.h"
#include "phonomir/StringTable.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace phonomir {

SavePresetDialog::SavePresetDialog(MessageSink& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
    setWindowTitle(QStringLiteral("Save Preset"));
    title_ = new QLineEdit(this);
    title_->setObjectName(QStringLiteral("id%1").arg(kTitle));
    title_->setMaxLength(static_cast<int>(PresetStore::kTitleBytes));
    title_->setMinimumWidth(240);
    auto* label = new QLabel(QStringLiteral("&Title"), this);
    label->setBuddy(title_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("id%1").arg(kOk));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("id%1").arg(kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &SavePresetDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SavePresetDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(title_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

QWidget* SavePresetDialog::control(int id) const { return findChild<QWidget*>(QStringLiteral("id%1").arg(id)); }

QString SavePresetDialog::title() const { return title_->text(); }

// A title of blanks only would be stored empty (the table drops trailing blanks), so it counts
// as none.
void SavePresetDialog::accept() {
    if (title_->text().trimmed().isEmpty()) {
        messages_.showMessage(loadString(StringId::InputTitle), MessageIcon::Exclamation);
        title_->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace phonomir
