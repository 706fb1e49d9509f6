// libksupdate.so's only export. The program loads the library by name when its "Online
// Update..." command is chosen and calls this on its user-interface thread.
#include "phonomir/OnlineUpdateDialog.h"

#include <QApplication>
#include <unistd.h>

extern "C" {

// productCode: selects the product's modules; programPath: absolute path of the running
// program; commandLine: its arguments quoted as one line (see phonomir/CommandLine.h);
// iconPath: an image file or null; displayName: shown under the icon; registryKey: the
// KSUPDATE.INI section holding the registered Name and Company. Returns nonzero when the user
// confirmed the update: the installer has been started and the program asked to quit.
__attribute__((visibility("default"))) int OnlineUpdate(const char* productCode, const char* programPath,
                                                        const char* commandLine, const char* iconPath,
                                                        const char* displayName, const char* registryKey) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) || !productCode || !programPath) return 0;
    using namespace phonomir::update;
    HostInfo host{productCode, programPath, commandLine ? commandLine : "", registryKey ? registryKey : "", ::getpid()};
    UpdateMessageBoxes messages(QApplication::activeWindow());
    OnlineUpdateDialog dialog(std::move(host), iconPath ? QString::fromUtf8(iconPath) : QString(),
                              displayName ? QString::fromUtf8(displayName) : QString(), messages,
                              QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

}  // extern "C"
