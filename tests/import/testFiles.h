#pragma once

// Helpers for the import tests: a scratch folder, fixture paths, and WAV
// files assembled chunk by chunk.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace veltrona::importtest {

using Bytes = std::vector<std::uint8_t>;

inline std::string fixture(const std::string& name) {
    return std::string(VELTRONA_FIXTURE_DIR) + "/" + name;
}

// A fresh folder, removed with everything in it at the end of the test.
class TempDir {
  public:
    TempDir() {
        static int serial = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("veltrona_import_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

    std::string write(const std::string& name, const Bytes& bytes) const {
        const std::string path = file(name);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::string copy(const std::string& from, const std::string& name) const {
        const std::string path = file(name);
        std::filesystem::copy_file(from, path, std::filesystem::copy_options::overwrite_existing);
        return path;
    }

  private:
    std::filesystem::path path_;
};

inline Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void putLe(Bytes& out, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline Bytes ascii(const char* text) {
    return Bytes(text, text + std::char_traits<char>::length(text));
}

// One chunk: id, size (the body's unless `declaredSize` is given), body, and
// a pad byte after an odd-sized body.
inline Bytes chunk(const char* id, const Bytes& body,
                   std::optional<std::int32_t> declaredSize = {}) {
    Bytes out = ascii(id);
    putLe(out,
          static_cast<std::uint32_t>(declaredSize.value_or(static_cast<std::int32_t>(body.size()))),
          4);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) out.push_back(0);
    return out;
}

struct Format {
    std::int16_t formatTag = 1;
    std::int16_t channels = 2;
    std::int32_t sampleRate = 44100;
    std::int32_t byteRate = 176400;
    std::int16_t blockAlign = 4;
    std::int16_t bitsPerSample = 16;
};

// A "fmt " body: the 16 format bytes, then `extra` (cbSize and what follows).
inline Bytes fmtBody(const Format& f, const Bytes& extra = {}) {
    Bytes out;
    putLe(out, static_cast<std::uint16_t>(f.formatTag), 2);
    putLe(out, static_cast<std::uint16_t>(f.channels), 2);
    putLe(out, static_cast<std::uint32_t>(f.sampleRate), 4);
    putLe(out, static_cast<std::uint32_t>(f.byteRate), 4);
    putLe(out, static_cast<std::uint16_t>(f.blockAlign), 2);
    putLe(out, static_cast<std::uint16_t>(f.bitsPerSample), 2);
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
}

// "RIFF", a size, "WAVE" and the chunks in order.
inline Bytes riffFile(std::initializer_list<Bytes> chunks, const char* form = "WAVE") {
    Bytes body = ascii(form);
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes out = ascii("RIFF");
    putLe(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// `count` sample bytes 1, 2, 3, ... (wrapping), easy to recognise.
inline Bytes ramp(std::size_t count, std::uint8_t first = 1) {
    Bytes out(count);
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>(first + i);
    return out;
}

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace veltrona::importtest
