// The "Save Preset" dialog: asks for the title of a new preset. OK is taken only with a title;
// without one it says "Input the title." and stays open. Modal; UI thread only.
#pragma once

#include "phonomir/MessageSink.h"

#include <QDialog>

class QLineEdit;

namespace phonomir {

class SavePresetDialog : public QDialog {
    Q_OBJECT
public:
    enum ControlId { kOk = 1, kCancel = 2, kTitle = 1174 };

    explicit SavePresetDialog(MessageSink& messages, QWidget* parent = nullptr);

    QWidget* control(int id) const;
    QString title() const;

public slots:
    void accept() override;

private:
    MessageSink& messages_;
    QLineEdit* title_ = nullptr;
};

}  // namespace phonomir
