#include "app/OpenFileDialog.h"

#include <QFileDialog>

namespace veltrona {

bool OpenFileDialog::open(QWidget* parent) {
    const QString initial = fileName_.isEmpty() ? startFolder_ : fileName_;
    std::optional<QString> chosen;
    if (answerer_) {
        chosen = answerer_(parent, initial);
    } else {
        const QString path =
            QFileDialog::getOpenFileName(parent, QString(), initial, QString::fromUtf8(kFilter));
        if (!path.isEmpty()) chosen = path;
    }
    if (!chosen || chosen->isEmpty()) return false;
    fileName_ = *chosen;
    return true;
}

}  // namespace veltrona
