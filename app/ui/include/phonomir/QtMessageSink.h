// Shows the cores' messages in message boxes without caption text, parented to a window.
// UI thread only.
#pragma once

#include "phonomir/MessageSink.h"

#include <QPointer>
#include <QWidget>

namespace phonomir {

class QtMessageSink : public MessageSink {
public:
    explicit QtMessageSink(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void showMessage(const std::string& text, MessageIcon icon) override;
    bool askOkCancel(int id, const std::string& text) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace phonomir
