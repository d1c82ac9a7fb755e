#include "import/openAudioFile.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>

#include "import/populatePages.h"

namespace veltrona {
namespace {

std::string systemCause(int code) {
    switch (code) {
        case ENOENT:
            return "文件不存在";
        case EACCES:
        case EPERM:
            return "没有读取权限";
        case EISDIR:
            return "这是一个文件夹，不是文件";
        case ENOTDIR:
            return "路径中有一部分不是文件夹";
        case ENAMETOOLONG:
            return "路径太长";
        case ELOOP:
            return "符号链接层数太多";
        case EMFILE:
        case ENFILE:
            return "打开的文件太多";
        case ENOMEM:
            return "内存不足";
        case EIO:
            return "读写出错";
        case EBUSY:
        case ETXTBSY:
            return "文件正被占用";
        default:
            return "系统错误（代码 " + std::to_string(code) + "）";
    }
}

Error openError(int code) {
    return Error{"无法打开文件：" + systemCause(code)};
}
Error readError(int code) {
    return Error{"无法读取文件：" + systemCause(code)};
}

}  // namespace

Result<std::ifstream> openAudioFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec) return openError(ec.value());
    // A folder opens as a stream here but cannot be read.
    if (fs::is_directory(status)) return openError(EISDIR);

    errno = 0;
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file.is_open()) return openError(errno != 0 ? errno : EIO);
    return file;
}

Result<void> readWholeStreamInto(std::istream& file, std::vector<std::uint8_t>& buffer) {
    file.clear();
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    file.seekg(0, std::ios::beg);
    if (length < 0 || !file) {
        file.clear();
        buffer = {};
        return readError(EIO);
    }
    const auto size = static_cast<std::size_t>(length);
    // Keep the old memory only when it is not far larger than needed.
    if (buffer.capacity() / 2 > size) buffer = {};
    try {
        if (buffer.capacity() < size) {
            buffer = {};
            buffer.reserve(size);
            populatePages(buffer.data(), buffer.capacity());
        }
        buffer.resize(size);
    } catch (const std::bad_alloc&) {
        buffer = {};
        return readError(ENOMEM);
    } catch (const std::length_error&) {
        buffer = {};
        return readError(ENOMEM);
    }
    errno = 0;
    file.read(reinterpret_cast<char*>(buffer.data()), length);
    const std::streamsize got = file.gcount();
    if (file.bad()) {
        const int code = errno != 0 ? errno : EIO;
        file.clear();
        buffer = {};
        return readError(code);
    }
    file.clear();
    // A file that shrank since its length was taken gives what it still has.
    buffer.resize(static_cast<std::size_t>(got));
    return {};
}

Result<std::vector<std::uint8_t>> readWholeStream(std::istream& file) {
    std::vector<std::uint8_t> bytes;
    Result<void> read = readWholeStreamInto(file, bytes);
    if (!read) return read.error();
    return bytes;
}

Result<std::vector<std::uint8_t>> readWholeFile(const std::string& path) {
    Result<std::ifstream> file = openAudioFile(path);
    if (!file.ok()) return file.error();
    return readWholeStream(file.value());
}

}  // namespace veltrona
