#pragma once

#include <QWidget>

namespace veltrona {

// Moves the control so its left edge is at window x `left`, keeping its top.
// Does nothing when it already stands there, so a 1 ms tick stays cheap.
// Window thread only.
void moveControlLeft(QWidget& control, int left);

}  // namespace veltrona
