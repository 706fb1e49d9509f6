#include "phonomir/DialogControls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace phonomir {

void identify(QWidget* widget, int id) { widget->setObjectName(QStringLiteral("id%1").arg(id)); }

QPushButton* pushButton(QWidget* parent, int id, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    identify(button, id);
    button->setAutoDefault(false);
    return button;
}

QComboBox* comboBox(QWidget* parent, int id, const QStringList& items) {
    auto* box = new QComboBox(parent);
    identify(box, id);
    box->addItems(items);
    return box;
}

QCheckBox* checkBox(QWidget* parent, int id, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    identify(box, id);
    return box;
}

QLineEdit* numberEdit(QWidget* parent, int id) {
    auto* edit = new QLineEdit(parent);
    identify(edit, id);
    edit->setMaximumWidth(70);
    return edit;
}

QLabel* readout(QWidget* parent, int id) {
    auto* label = new QLabel(parent);
    identify(label, id);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(70);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QButtonGroup* radioRow(QWidget* parent, QGridLayout* grid, int row, std::initializer_list<std::pair<int, QString>> buttons) {
    auto* group = new QButtonGroup(parent);
    int value = 0;
    for (const auto& [id, caption] : buttons) {
        auto* radio = new QRadioButton(caption, parent);
        identify(radio, id);
        group->addButton(radio, value);
        grid->addWidget(radio, row, value++);
    }
    return group;
}

void checkButton(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) button->setChecked(true);
}

}  // namespace phonomir
