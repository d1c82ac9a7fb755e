#pragma once

#include <QString>

namespace veltrona {

// Where the open-file dialog starts before any file was chosen. In the build
// tree (the program's folder holds CMakeCache.txt) that is the program's own
// folder, beside the demo files; once installed, the user's Music folder if
// it exists, otherwise their home.
QString dialogStartFolder(const QString& programFolder);

}  // namespace veltrona
