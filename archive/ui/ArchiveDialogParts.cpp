#include "phonomir/ArchiveDialogParts.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace phonomir {

QLineEdit* labelledEdit(QWidget* parent, QGridLayout* grid, int row, const char* caption, int maxLength,
                        const char* name) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name ? name : caption));
    if (maxLength > 0) edit->setMaxLength(maxLength);
    edit->setMinimumWidth(170);
    label->setBuddy(edit);
    grid->addWidget(label, row, 1);
    grid->addWidget(edit, row, 2, 1, 2);
    return edit;
}

QLineEdit* labelledReadout(QWidget* parent, QGridLayout* grid, int row, const char* caption, const char* name) {
    QLineEdit* edit = labelledEdit(parent, grid, row, caption, 0, name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

QPushButton* addButton(QWidget* parent, QBoxLayout* layout, const char* caption) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}

}  // namespace phonomir
