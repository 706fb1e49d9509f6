// The program icon (icon 128), drawn at run time: a bar meter on a dark face.
#pragma once

#include <QIcon>

namespace phonomir {

QIcon programIcon();

}  // namespace phonomir
