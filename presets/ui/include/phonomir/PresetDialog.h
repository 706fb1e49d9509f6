// The "Preset" dialog: lists the presets of the PRESET table in identifier order and ends with
// the one chosen (OK or a double-click); "&New", "Over&write" and "&Delete" store the windows
// open now with their settings as a new preset, over the selected one, or delete it. A failed
// table operation leaves the list as it was. Modal, run from the main panel; the program applies
// the chosen preset after it ends. UI thread only.
#pragma once

#include "phonomir/PresetStore.h"

#include <QDialog>

#include <functional>

class QListWidget;
class QListWidgetItem;

namespace phonomir {

struct PresetDialogContext {
    DataConnection& connection;
    MessageSink& messages;
    // The windows open now and their settings records: what "&New" and "Over&write" store.
    std::function<PresetContent()> currentContent;
};

class PresetDialog : public QDialog {
    Q_OBJECT
public:
    enum ControlId { kOk = 1, kCancel = 2, kDelete = 3, kOverwrite = 5, kNew = 1195, kList = 1220 };

    explicit PresetDialog(PresetDialogContext context, QWidget* parent = nullptr);

    QWidget* control(int id) const;
    // After OK: the identifier of the chosen preset.
    std::int32_t chosenId() const { return chosenId_; }

public slots:
    void accept() override;

private:
    void buildControls();
    // Refills the list from the table and selects the entry with the identifier (none: -1);
    // a table that cannot be read leaves the list as it was.
    void fillList(std::int32_t selectId);
    QListWidgetItem* selectedItem();  // says "Select the item." when there is none
    void createPreset();
    void overwritePreset();
    void deletePreset();

    PresetDialogContext context_;
    PresetStore store_;
    QListWidget* list_ = nullptr;
    std::int32_t chosenId_ = -1;
};

}  // namespace phonomir
