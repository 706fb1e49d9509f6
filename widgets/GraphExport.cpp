#include "phonomir/GraphExport.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QSaveFile>
#include <QShortcut>

#include <sstream>

namespace phonomir {
namespace {

// Where the last file was saved, offered again for the next one.
QString& lastFolder() {
    static QString folder = QDir::homePath();
    return folder;
}

}  // namespace

GraphExport::GraphExport(QWidget* graph, GraphExportSource source)
    : QObject(graph), graph_(graph), source_(std::move(source)), menu_(new QMenu(graph)) {
    QAction* copyAction = menu_->addAction(QStringLiteral("Copy"), this, &GraphExport::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    menu_->addAction(QStringLiteral("Save as PNG..."), this, [this] {
        saveAs(QStringLiteral("Save as PNG"), QStringLiteral("png"), QStringLiteral("PNG images (*.png)"),
               &GraphExport::savePng);
    });
    menu_->addAction(QStringLiteral("Export CSV..."), this, [this] {
        saveAs(QStringLiteral("Export CSV"), QStringLiteral("csv"), QStringLiteral("CSV files (*.csv)"),
               &GraphExport::saveCsv);
    });
    auto* shortcut = new QShortcut(QKeySequence::Copy, graph_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this, &GraphExport::copy);
    if (graph_->focusPolicy() == Qt::NoFocus) graph_->setFocusPolicy(Qt::ClickFocus);
    graph_->installEventFilter(this);
    chooseFile = [this](const QString& caption, const QString& suggested, const QString& filter) {
        return QFileDialog::getSaveFileName(graph_->window(), caption, suggested, filter);
    };
    reportError = [this](const QString& message) { QMessageBox::warning(graph_->window(), QString(), message); };
}

bool GraphExport::eventFilter(QObject* watched, QEvent* event) {
    if (watched == graph_ && event->type() == QEvent::ContextMenu) {
        menu_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

std::string GraphExport::csvText() const {
    std::ostringstream out;
    source_.csv(out);
    return out.str();
}

void GraphExport::copy() {
    auto* data = new QMimeData;
    data->setImageData(source_.image());
    data->setText(QString::fromStdString(csvText()));
    QGuiApplication::clipboard()->setMimeData(data);
}

void GraphExport::saveAs(const QString& caption, const QString& extension, const QString& filter,
                         bool (GraphExport::*save)(const QString&)) {
    const QString suggested = QDir(lastFolder()).filePath(source_.name() + QLatin1Char('.') + extension);
    QString path = chooseFile(caption, suggested, filter);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + extension;
    if ((this->*save)(path)) lastFolder() = QFileInfo(path).absolutePath();
}

bool GraphExport::savePng(const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!source_.image().save(&buffer, "PNG")) {
        reportError(QStringLiteral("Can't make a PNG image of the graph."));
        return false;
    }
    return write(path, bytes);
}

bool GraphExport::saveCsv(const QString& path) { return write(path, QByteArray::fromStdString(csvText())); }

// Into a temporary file renamed over the target at the end, so a failure leaves no half file.
bool GraphExport::write(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
    reportError(QStringLiteral("Can't write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return false;
}

}  // namespace phonomir
