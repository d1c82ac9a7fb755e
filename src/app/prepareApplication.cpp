#include "app/prepareApplication.h"

#include <QApplication>
#include <QFont>

namespace veltrona {

void prepareApplication() {
    QApplication::setApplicationName(QStringLiteral("Veltrona"));
    // The Mono member of the family has half-width Latin letters, so that
    // "选择MP3 WMA WAV" fits its 104-pixel button at this size.
    QFont font(QStringLiteral("WenQuanYi Zen Hei Mono"));
    font.setPixelSize(12);
    QApplication::setFont(font);
}

}  // namespace veltrona
