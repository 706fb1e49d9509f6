// The "Online Update" dialog and its progress window: prepares the update when it opens
// (connect, read, check, with the progress window and its Cancel), lists the newer modules,
// downloads them on "&Update" with the progress bar, asks before the program quits, then
// starts the installer and asks the program to quit. Messages go through a MessageSink (message
// boxes in the library, a recorder in tests). UI thread only.
#pragma once

#include "phonomir/MessageSink.h"
#include "phonomir/UpdateSession.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace phonomir::update {

class ProgressWindow;

class OnlineUpdateDialog : public QDialog, private UpdateObserver {
    Q_OBJECT
public:
    OnlineUpdateDialog(HostInfo host, const QString& iconPath, const QString& displayName, MessageSink& messages,
                       QWidget* parent = nullptr);
    ~OnlineUpdateDialog() override;

    // Runs the preparation; false when the dialog has been closed (failure, nothing to update or
    // cancelled), true when modules are listed and the dialog waits for the user.
    bool prepare();
    // What "&Update" does.
    void runUpdate();

    QListWidget* moduleList() const { return list_; }
    QPushButton* updateButton() const { return update_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* messageLine() const { return message_; }
    ProgressWindow* progressWindow() const { return progressWindow_; }
    const UpdateSession& session() const { return session_; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void showMessage(const std::string& text) override;
    void setProgressRange(std::int64_t total) override;
    void advanceProgress(std::int64_t bytes) override;
    bool keepGoing() override;
    void failPreparation(UpdateString message, MessageIcon icon);
    void buildControls(const QString& iconPath, const QString& displayName);

    UpdateSession session_;
    MessageSink& messages_;
    ProgressWindow* progressWindow_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* update_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* message_ = nullptr;
    std::int64_t progressTotal_ = 0;
    std::int64_t progressDone_ = 0;
    bool preparing_ = false;
    bool working_ = false;
    bool cancelled_ = false;
    bool prepared_ = false;
};

// The modeless "Online Update" progress window: a message line and "&Cancel".
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent);
    void setMessage(const QString& text);
    QString message() const;
    bool cancelPressed() const { return cancelPressed_; }
    void clearCancel() { cancelPressed_ = false; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    void reject() override { cancelPressed_ = true; }

private:
    QLabel* message_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool cancelPressed_ = false;
};

// Message boxes of the update library: no caption, the icon the message asks for.
class UpdateMessageBoxes : public MessageSink {
public:
    explicit UpdateMessageBoxes(QWidget* parent) : parent_(parent) {}
    void showMessage(const std::string& text, MessageIcon icon) override;
    bool askOkCancel(int id, const std::string& text) override;

private:
    QWidget* parent_;
};

}  // namespace phonomir::update
