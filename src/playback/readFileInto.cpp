#include "playback/readFileInto.h"

#include <fstream>
#include <new>
#include <stdexcept>

#include "import/openAudioFile.h"

namespace veltrona {

Result<void> readFileInto(const std::string& path, std::vector<std::uint8_t>& buffer) {
    Result<std::ifstream> opened = openAudioFile(path);
    if (!opened) {
        buffer = {};
        return opened.error();
    }
    std::ifstream& file = opened.value();
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    file.seekg(0, std::ios::beg);
    if (length < 0 || !file) {
        buffer = {};
        return Error{"无法读取文件：读写出错"};
    }

    const auto bytes = static_cast<std::size_t>(length);
    // Keep the old memory only when it is not far larger than needed.
    if (buffer.capacity() / 2 > bytes) buffer = {};
    try {
        buffer.resize(bytes);
    } catch (const std::bad_alloc&) {
        buffer = {};
        return Error{"无法读取文件：内存不足"};
    } catch (const std::length_error&) {
        buffer = {};
        return Error{"无法读取文件：内存不足"};
    }
    file.read(reinterpret_cast<char*>(buffer.data()), length);
    if (file.bad()) {
        buffer = {};
        return Error{"无法读取文件：读写出错"};
    }
    // A file that shrank since its length was taken gives what it still has.
    buffer.resize(static_cast<std::size_t>(file.gcount()));
    return {};
}

}  // namespace veltrona
