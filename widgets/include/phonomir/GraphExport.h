// The export every graph offers through its context menu (right click, or the menu key while
// it has the focus): "Copy" puts the picture and its CSV on the clipboard (also Ctrl+C),
// "Save as PNG..." writes the graph at its pixel size, "Export CSV..." what it shows, as the
// graph's own CSV writer puts it. A file is written whole or not at all; a failure is reported
// with the file's name and the reason. Owned by the graph widget; UI thread only.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <ostream>

class QMenu;
class QWidget;

namespace phonomir {

struct GraphExportSource {
    std::function<QString()> name;                  // suggested file name without extension
    std::function<QImage()> image;                  // the graph as it is shown
    std::function<void(std::ostream& out)> csv;     // what it shows, header row first
};

class GraphExport : public QObject {
    Q_OBJECT
public:
    // Attaches to the graph, which owns the result.
    GraphExport(QWidget* graph, GraphExportSource source);

    QMenu* menu() const { return menu_; }
    void copy();
    bool savePng(const QString& path);
    bool saveCsv(const QString& path);

    // How a file name is chosen (a save dialog; empty: cancelled) and a failure is shown (a
    // message box); tests replace them.
    std::function<QString(const QString& caption, const QString& suggestedPath, const QString& filter)> chooseFile;
    std::function<void(const QString& message)> reportError;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void saveAs(const QString& caption, const QString& extension, const QString& filter,
                bool (GraphExport::*save)(const QString&));
    std::string csvText() const;
    bool write(const QString& path, const QByteArray& bytes);

    QWidget* graph_;
    GraphExportSource source_;
    QMenu* menu_;
};

}  // namespace phonomir
