// Pieces the three archive dialogs are built from. Each field carries its caption as its object
// name, so that tests find it as the user does. UI thread only.
#pragma once

class QBoxLayout;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace phonomir {

// Shown when a typed folder date is no date; the field keeps the focus.
inline constexpr const char* kTypeTheDate = "Type the date as YYYY/MM/DD.";

// A caption in column 1 and an edit spanning columns 2 and 3 of `row`; maxLength characters
// (the field's width in the table), 0 for no limit.
QLineEdit* labelledEdit(QWidget* parent, QGridLayout* grid, int row, const char* caption, int maxLength,
                        const char* name = nullptr);
// The same, read-only.
QLineEdit* labelledReadout(QWidget* parent, QGridLayout* grid, int row, const char* caption, const char* name = nullptr);
QPushButton* addButton(QWidget* parent, QBoxLayout* layout, const char* caption);

}  // namespace phonomir
