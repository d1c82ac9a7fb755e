#include "app/ShapeBox.h"

#include <QPainter>

namespace veltrona {

ShapeBox::ShapeBox(QWidget* parent, const QString& name, QRect geometry, QColor outline)
    : QWidget(parent), outline_(outline) {
    setObjectName(name);
    setGeometry(geometry);
}

void ShapeBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(outline_);
    const int w = width();
    const int h = height();
    // Four one-pixel edges; a box one pixel wide is a solid line.
    painter.drawRect(0, 0, w, 1);
    painter.drawRect(0, h - 1, w, 1);
    painter.drawRect(0, 0, 1, h);
    painter.drawRect(w - 1, 0, 1, h);
}

}  // namespace veltrona
