#include "import/AudioKind.h"

#include <string_view>

namespace veltrona {
namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size()) return false;
    const std::string_view tail = text.substr(text.size() - ending.size());
    for (std::size_t i = 0; i < ending.size(); ++i) {
        if (asciiLower(tail[i]) != ending[i]) return false;
    }
    return true;
}

}  // namespace

AudioKind audioKindOf(const std::string& path) {
    if (endsWithIgnoringCase(path, "mp3")) return AudioKind::Mp3;
    if (endsWithIgnoringCase(path, "wma")) return AudioKind::Wma;
    return AudioKind::Wav;
}

}  // namespace veltrona
