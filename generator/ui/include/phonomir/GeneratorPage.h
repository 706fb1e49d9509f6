// Common ground of the Signal Generator's four pages: the settings record they edit, the
// settings-changed notice they send to the window (with the flush flag), and helpers that
// give each control its dialog id as object name "id<number>". UI thread only.
#pragma once

#include "phonomir/GeneratorSettings.h"

#include <QButtonGroup>
#include <QWidget>

class QGridLayout;
class QRadioButton;

namespace phonomir {

class GeneratorPage : public QWidget {
    Q_OBJECT
public:
    GeneratorPage(GeneratorSettings& settings, QWidget* parent);
    QWidget* control(int id) const;

signals:
    // The generator must react: flush = drop the queued buffers so the change is heard at once.
    void settingsChanged(bool flush);

protected:
    // A radio group whose buttons (id, caption) select the values 0, 1, 2 ... of `field`.
    QButtonGroup* addChoice(QGridLayout* grid, int row, const QString& title,
                            std::initializer_list<std::pair<int, const char*>> buttons, std::int32_t& field,
                            bool flushOnChange, bool notify);
    static void identify(QWidget* widget, int id);

    GeneratorSettings& settings_;
};

}  // namespace phonomir
