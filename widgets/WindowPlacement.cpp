#include "phonomir/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace phonomir {
namespace {

// The part of the top edge a user can take the window by: its first 100 x 20 pixels.
QRect gripOf(QPoint topLeft, QSize size) {
    return {topLeft, QSize(std::min(size.width(), 100), std::min(size.height(), 20))};
}

// Clamped into the screen; a window larger than the screen keeps its top-left corner on it.
QPoint clampedInto(QPoint point, QSize size, const QRect& screen) {
    const int x = std::max(screen.left(), std::min(point.x(), screen.right() + 1 - size.width()));
    const int y = std::max(screen.top(), std::min(point.y(), screen.bottom() + 1 - size.height()));
    return {x, y};
}

long long squaredDistance(QPoint a, QPoint b) {
    const long long dx = a.x() - b.x(), dy = a.y() - b.y();
    return dx * dx + dy * dy;
}

}  // namespace

QPoint visiblePosition(QPoint stored, QSize size, const QList<QRect>& screens) {
    const QRect grip = gripOf(stored, size);
    for (const QRect& screen : screens) {
        if (screen.contains(grip)) return stored;
    }
    QPoint best = stored;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (const QRect& screen : screens) {
        const QPoint moved = clampedInto(stored, size, screen);
        if (squaredDistance(moved, stored) < bestDistance) {
            bestDistance = squaredDistance(moved, stored);
            best = moved;
        }
    }
    return best;
}

void placeAtStoredPosition(QWidget& window, int& left, int& top) {
    if (left == 0 && top == 0) return;
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens.append(screen->availableGeometry());
    const QSize size = window.size().expandedTo(window.sizeHint());
    const QPoint position = visiblePosition(QPoint(left, top), size, screens);
    window.move(position);
    left = position.x();
    top = position.y();
}

}  // namespace phonomir
