#include "playback/readFileInto.h"

#include <fstream>

#include "import/openAudioFile.h"

namespace veltrona {

Result<void> readFileInto(const std::string& path, std::vector<std::uint8_t>& buffer) {
    Result<std::ifstream> opened = openAudioFile(path);
    if (!opened) {
        buffer = {};
        return opened.error();
    }
    return readWholeStreamInto(opened.value(), buffer);
}

}  // namespace veltrona
