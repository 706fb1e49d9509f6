#include "phonomir/OnlineUpdateDialog.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace phonomir::update {

namespace {

QString text(UpdateString id) { return QString::fromStdString(updateString(id)); }

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
    }
}

}  // namespace

void UpdateMessageBoxes::showMessage(const std::string& message, MessageIcon icon) {
    QMessageBox box(boxIcon(icon), QString(), QString::fromStdString(message), QMessageBox::Ok, parent_);
    box.exec();
}

bool UpdateMessageBoxes::askOkCancel(int id, const std::string& message) {
    const MessageIcon icon = id == static_cast<int>(UpdateString::WillQuit) ? MessageIcon::Information
                                                                             : MessageIcon::Question;
    QMessageBox box(boxIcon(icon), QString(), QString::fromStdString(message), QMessageBox::Ok | QMessageBox::Cancel,
                    parent_);
    return box.exec() == QMessageBox::Ok;
}

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Online Update"));
    setModal(false);
    message_ = new QLabel(this);
    message_->setAlignment(Qt::AlignCenter);
    message_->setMinimumWidth(220);
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelPressed_ = true; });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(245, 86)));
}

void ProgressWindow::setMessage(const QString& message) { message_->setText(message); }
QString ProgressWindow::message() const { return message_->text(); }

OnlineUpdateDialog::OnlineUpdateDialog(HostInfo host, const QString& iconPath, const QString& displayName,
                                       MessageSink& messages, QWidget* parent)
    : QDialog(parent), session_(std::move(host)), messages_(messages) {
    setWindowTitle(QStringLiteral("Online Update"));
    buildControls(iconPath, displayName);
    progressWindow_ = new ProgressWindow(this);
}

OnlineUpdateDialog::~OnlineUpdateDialog() = default;

void OnlineUpdateDialog::buildControls(const QString& iconPath, const QString& displayName) {
    auto* identity = new QFrame(this);
    identity->setFrameShape(QFrame::StyledPanel);
    auto* icon = new QLabel(identity);
    icon->setAlignment(Qt::AlignCenter);
    if (!iconPath.isEmpty()) icon->setPixmap(QIcon(iconPath).pixmap(32, 32));
    auto* name = new QLabel(displayName, identity);
    name->setAlignment(Qt::AlignCenter);
    auto* identityLayout = new QVBoxLayout(identity);
    identityLayout->addWidget(icon);
    identityLayout->addWidget(name);

    auto* caption = new QLabel(text(UpdateString::ModulesListed), this);
    list_ = new QListWidget(this);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setFocusPolicy(Qt::NoFocus);
    caption->setBuddy(list_);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    message_ = new QLabel(this);
    message_->setAlignment(Qt::AlignCenter);
    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    auto* maker = new QLabel(QStringLiteral("Kestrelon"), this);
    update_ = new QPushButton(QStringLiteral("&Update"), this);
    update_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    connect(update_, &QPushButton::clicked, this, &OnlineUpdateDialog::runUpdate);
    connect(cancel, &QPushButton::clicked, this, &OnlineUpdateDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(maker);
    buttons->addStretch();
    buttons->addWidget(update_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(identity);
    layout->addWidget(caption);
    layout->addWidget(list_, 1);
    layout->addWidget(progress_);
    layout->addWidget(message_);
    layout->addWidget(separator);
    layout->addLayout(buttons);
    resize(330, 320);
}

void OnlineUpdateDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!prepared_) QTimer::singleShot(0, this, [this] { prepare(); });
}

void OnlineUpdateDialog::reject() {
    cancelled_ = true;  // also stops a running transfer at its next block
    if (!working_ && !preparing_) QDialog::reject();
}

void OnlineUpdateDialog::failPreparation(UpdateString message, MessageIcon icon) {
    progressWindow_->hide();
    messages_.showMessage(updateString(message), icon);
    QDialog::reject();
}

bool OnlineUpdateDialog::prepare() {
    if (prepared_) return !session_.listed().empty();  // runs once, whoever asks first
    prepared_ = true;
    message_->clear();
    progressWindow_->show();
    progressWindow_->move(geometry().center() - progressWindow_->rect().center());
    preparing_ = true;
    const UpdateSession::Prepared result = session_.prepare(*this);
    preparing_ = false;
    switch (result) {
    case UpdateSession::Prepared::NoConfiguration: failPreparation(UpdateString::NoConfiguration, MessageIcon::None); return false;
    case UpdateSession::Prepared::ConnectionFailed: failPreparation(UpdateString::ConnectionFailed, MessageIcon::None); return false;
    case UpdateSession::Prepared::InformationFailed: failPreparation(UpdateString::InformationFailed, MessageIcon::None); return false;
    case UpdateSession::Prepared::NothingListed: failPreparation(UpdateString::AllUpToDate, MessageIcon::Information); return false;
    case UpdateSession::Prepared::Cancelled:
        progressWindow_->hide();
        QDialog::reject();
        return false;
    case UpdateSession::Prepared::Listed: break;
    }
    progressWindow_->hide();
    for (const UpdateEntry& entry : session_.listed()) list_->addItem(QString::fromStdString(entry.displayName));
    if (cancelled_) {
        QDialog::reject();
        return false;
    }
    return true;
}

void OnlineUpdateDialog::runUpdate() {
    update_->setEnabled(false);
    if (!session_.downloaded()) {
        working_ = true;
        const UpdateSession::Downloaded result = session_.download(*this);
        working_ = false;
        if (cancelled_) {
            QDialog::reject();
            return;
        }
        if (result != UpdateSession::Downloaded::Done) {
            messages_.showMessage(updateString(UpdateString::DownloadFailed), MessageIcon::None);
            return;  // the button stays disabled
        }
    }
    if (!messages_.askOkCancel(static_cast<int>(UpdateString::WillQuit), updateString(UpdateString::WillQuit))) {
        update_->setEnabled(true);
        return;
    }
    if (!session_.startInstaller()) {
        messages_.showMessage(updateString(UpdateString::DownloadFailed), MessageIcon::None);
        return;
    }
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    accept();
}

void OnlineUpdateDialog::showMessage(const std::string& message) {
    const QString line = QString::fromStdString(message);
    message_->setText(line);
    progressWindow_->setMessage(line);
}

void OnlineUpdateDialog::setProgressRange(std::int64_t total) {
    progressTotal_ = total;
    progressDone_ = 0;
    progress_->setRange(0, 1000);
    progress_->setValue(0);
}

void OnlineUpdateDialog::advanceProgress(std::int64_t bytes) {
    progressDone_ += bytes;
    // The bar counts in thousandths, so that modules larger than 2 GB in all still fit its range.
    progress_->setValue(progressTotal_ > 0 ? static_cast<int>(progressDone_ * 1000 / progressTotal_) : 1000);
}

bool OnlineUpdateDialog::keepGoing() {
    QCoreApplication::processEvents();
    if (cancelled_) return false;
    if (!preparing_ || !progressWindow_->cancelPressed()) return true;
    progressWindow_->clearCancel();
    const int question = static_cast<int>(UpdateString::InterruptQuestion);
    if (!messages_.askOkCancel(question, updateString(UpdateString::InterruptQuestion))) return true;
    cancelled_ = true;
    return false;
}

}  // namespace phonomir::update
