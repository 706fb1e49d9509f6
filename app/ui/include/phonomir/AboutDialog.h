// The About box (dialog 100): the program icon, its name and version, and OK. Modal.
#pragma once

#include <QDialog>

namespace phonomir {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace phonomir
