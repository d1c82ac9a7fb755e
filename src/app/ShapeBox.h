#pragma once

// A framed rectangle: a solid outline one pixel wide, no fill. Window thread.

#include <QColor>
#include <QWidget>

namespace veltrona {

class ShapeBox : public QWidget {
    Q_OBJECT

  public:
    ShapeBox(QWidget* parent, const QString& name, QRect geometry, QColor outline);

    QColor outlineColour() const { return outline_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor outline_;
};

}  // namespace veltrona
