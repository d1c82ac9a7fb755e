#include "playback/moveControlLeft.h"

namespace veltrona {

void moveControlLeft(QWidget& control, int left) {
    if (control.x() != left) control.move(left, control.y());
}

}  // namespace veltrona
