#include "phonomir/GeneratorPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>

namespace phonomir {

GeneratorPage::GeneratorPage(GeneratorSettings& settings, QWidget* parent) : QWidget(parent), settings_(settings) {}

QWidget* GeneratorPage::control(int id) const { return findChild<QWidget*>(QStringLiteral("id%1").arg(id)); }

void GeneratorPage::identify(QWidget* widget, int id) { widget->setObjectName(QStringLiteral("id%1").arg(id)); }

QButtonGroup* GeneratorPage::addChoice(QGridLayout* grid, int row, const QString& title,
                                       std::initializer_list<std::pair<int, const char*>> buttons,
                                       std::int32_t& field, bool flushOnChange, bool notify) {
    auto* box = new QGroupBox(title, this);
    auto* layout = new QGridLayout(box);  // two buttons a row
    auto* group = new QButtonGroup(box);
    int value = 0;
    for (const auto& [id, caption] : buttons) {
        auto* radio = new QRadioButton(QString::fromUtf8(caption), box);
        identify(radio, id);
        layout->addWidget(radio, value / 2, value % 2);
        group->addButton(radio, value++);
    }
    if (auto* checked = group->button(field)) checked->setChecked(true);
    connect(group, &QButtonGroup::idClicked, this, [this, &field, flushOnChange, notify](int chosen) {
        if (field == chosen) return;
        field = chosen;
        if (notify) emit settingsChanged(flushOnChange);
    });
    grid->addWidget(box, row, 0, 1, 3);
    return group;
}

}  // namespace phonomir
