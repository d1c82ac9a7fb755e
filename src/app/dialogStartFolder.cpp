#include "app/dialogStartFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace veltrona {

QString dialogStartFolder(const QString& programFolder) {
    if (QFileInfo::exists(programFolder + QStringLiteral("/CMakeCache.txt"))) return programFolder;
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QFileInfo(music).isDir()) return music;
    return QDir::homePath();
}

}  // namespace veltrona
