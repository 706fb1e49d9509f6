#include "phonomir/QtMessageSink.h"

#include <QMessageBox>

namespace phonomir {

void QtMessageSink::showMessage(const std::string& text, MessageIcon icon) {
    const QMessageBox::Icon boxIcon = icon == MessageIcon::Exclamation   ? QMessageBox::Warning
                                      : icon == MessageIcon::Stop        ? QMessageBox::Critical
                                      : icon == MessageIcon::Information ? QMessageBox::Information
                                                                         : QMessageBox::NoIcon;
    QMessageBox box(boxIcon, QString(), QString::fromStdString(text), QMessageBox::Ok, parent_.data());
    box.exec();
}

bool QtMessageSink::askOkCancel(int, const std::string& text) {
    QMessageBox box(QMessageBox::Question, QString(), QString::fromStdString(text),
                    QMessageBox::Ok | QMessageBox::Cancel, parent_.data());
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

}  // namespace phonomir
