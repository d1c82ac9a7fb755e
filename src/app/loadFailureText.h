#pragma once

#include <QString>
#include <string>

namespace veltrona {

// The message shown when a file cannot be loaded or played: the file's path
// and the cause, in the window's language.
QString loadFailureText(const QString& path, const std::string& cause);

}  // namespace veltrona
