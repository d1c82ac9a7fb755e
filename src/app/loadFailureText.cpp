#include "app/loadFailureText.h"

#include <QDir>

namespace veltrona {

QString loadFailureText(const QString& path, const std::string& cause) {
    return QString::fromUtf8("无法读取文件“%1”：\n%2")
        .arg(QDir::toNativeSeparators(path), QString::fromStdString(cause));
}

}  // namespace veltrona
