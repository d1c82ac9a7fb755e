#include "app/prepareApplication.h"

#include <QApplication>
#include <QFont>

namespace veltrona {

void prepareApplication() {
    QApplication::setApplicationName(QStringLiteral("Veltrona"));
    QFont font(QStringLiteral("WenQuanYi Zen Hei"));
    font.setPixelSize(12);
    QApplication::setFont(font);
}

}  // namespace veltrona
