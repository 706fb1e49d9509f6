// Controls as the measurement windows build them: each carries its numeric id as its object name
// ("id1033"), so that tests and presets find it by the id it has in the window's table. UI thread.
#pragma once

#include <QString>
#include <QWidget>

#include <initializer_list>
#include <utility>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace phonomir {

void identify(QWidget* widget, int id);
// The window's control with that id, or null.
template <typename Widget = QWidget>
Widget* findControl(const QWidget& window, int id) {
    return window.findChild<Widget*>(QStringLiteral("id%1").arg(id));
}

// A push button that is no default button unless made one.
QPushButton* pushButton(QWidget* parent, int id, const QString& caption);
QComboBox* comboBox(QWidget* parent, int id, const QStringList& items);
QCheckBox* checkBox(QWidget* parent, int id, const QString& caption);
// A short edit for a number.
QLineEdit* numberEdit(QWidget* parent, int id);
// A sunken, right-aligned read-only value.
QLabel* readout(QWidget* parent, int id);
// Radio buttons (id, caption) side by side in one row of `grid`; their group ids are 0, 1, ...
QButtonGroup* radioRow(QWidget* parent, QGridLayout* grid, int row, std::initializer_list<std::pair<int, QString>> buttons);
// Checks the group's button with that group id, if there is one.
void checkButton(QButtonGroup* group, int id);

}  // namespace phonomir
