// Where a window opens at its stored screen position: there, as long as a grip of its title bar
// lies on one of the screens; otherwise moved the shortest way onto the nearest screen, so that
// a damaged settings file (a window at 32767,32767) cannot hide a window for good. UI thread.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace phonomir {

// The top-left corner for a window of `size` stored at `stored`, given the screens' available
// areas; `stored` itself when a grip of the window's top edge lies on one of them.
QPoint visiblePosition(QPoint stored, QSize size, const QList<QRect>& screens);

// Moves the window to its stored position kept on a visible screen (stored 0,0: left where the
// system puts it) and writes the position actually used back into left and top.
void placeAtStoredPosition(QWidget& window, int& left, int& top);

}  // namespace phonomir
