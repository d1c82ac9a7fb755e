#include "PlaybackHarness.h"

#include <QCoreApplication>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <thread>

namespace veltrona::test {
namespace {

DrawPanel::Settings drawPanel2Settings() {
    return {QColor(0, 0, 136), 2, QColor(0, 0, 0), QColor(0, 0, 0)};
}

void putLe(std::vector<char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

PlaybackWindow::PlaybackWindow()
    : shapeBox2(&window),
      label4(QString::fromUtf8("▲"), &window),
      label3(&window),
      timer1(&window, "Timer1"),
      timer2(&window, "Timer2"),
      drawPanel2(&window, "DrawPanel2", QRect(25, 57, 887, 256), drawPanel2Settings()),
      controls{shapeBox2, label4, label3, timer1, timer2, drawPanel2} {
    window.resize(976, 396);
    shapeBox2.setGeometry(24, 56, 1, 255);
    label4.setGeometry(20, 339, 10, 10);
    label3.setGeometry(552, 8, 192, 40);
}

bool waitUntil(const std::function<bool()>& done, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TempDir::TempDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("veltrona-playback-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::int16_t> noiseSamples(int frames) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> size(1000, 20000);
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames) * 2);
    for (auto& s : samples) {
        const int v = size(random);
        s = static_cast<std::int16_t>((random() & 1) ? v : -v);
    }
    return samples;
}

void writeWav(const std::filesystem::path& path, const std::vector<std::int16_t>& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<char> header;
    header.insert(header.end(), {'R', 'I', 'F', 'F'});
    putLe(header, 36 + dataBytes, 4);
    header.insert(header.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLe(header, 16, 4);
    putLe(header, 1, 2);          // integer PCM
    putLe(header, 2, 2);          // channels
    putLe(header, 44100, 4);      // frames per second
    putLe(header, 44100 * 4, 4);  // bytes per second
    putLe(header, 4, 2);          // bytes per frame
    putLe(header, 16, 2);         // bits per sample
    header.insert(header.end(), {'d', 'a', 't', 'a'});
    putLe(header, dataBytes, 4);
    std::ofstream file(path, std::ios::binary);
    file.write(header.data(), static_cast<std::streamsize>(header.size()));
    file.write(reinterpret_cast<const char*>(samples.data()), dataBytes);
}

std::vector<std::int16_t> readWavSamples(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    file.seekg(44);
    std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::int16_t> samples(bytes.size() / 2);
    // memcpy with an empty vector's null data is undefined, even for 0 bytes.
    if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

DiskOutput::DiskOutput() {
    std::error_code ignored;
    startBytes_ = std::filesystem::file_size(std::getenv("SDL_DISKAUDIOFILE"), ignored);
    if (ignored) startBytes_ = 0;
}

std::vector<std::int16_t> DiskOutput::samples() const {
    std::ifstream file(std::getenv("SDL_DISKAUDIOFILE"), std::ios::binary);
    file.seekg(static_cast<std::streamoff>(startBytes_));
    std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::int16_t> samples(bytes.size() / 4 * 2);
    // memcpy with an empty vector's null data is undefined, even for 0 bytes.
    if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

std::optional<std::size_t> firstSoundingFrame(const std::vector<std::int16_t>& samples) {
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples[i] != 0) return i / 2;
    }
    return std::nullopt;
}

bool framesMatch(const std::vector<std::int16_t>& out, std::size_t outFrame,
                 const std::vector<std::int16_t>& source, std::size_t sourceFrame,
                 std::size_t frames, double gain, int tolerance) {
    if ((outFrame + frames) * 2 > out.size() || (sourceFrame + frames) * 2 > source.size()) {
        return false;
    }
    for (std::size_t i = 0; i < frames * 2; ++i) {
        const double expected = source[sourceFrame * 2 + i] * gain;
        if (std::abs(out[outFrame * 2 + i] - expected) > tolerance) return false;
    }
    return true;
}

std::vector<std::size_t> startsOf(const std::vector<std::int16_t>& out,
                                  const std::vector<std::int16_t>& source, std::size_t frames) {
    std::vector<std::size_t> starts;
    for (std::size_t f = 0; (f + frames) * 2 <= out.size(); ++f) {
        if (framesMatch(out, f, source, 0, frames, 1.0, 1)) starts.push_back(f);
    }
    return starts;
}

std::filesystem::path fixture(const std::string& name) {
    return std::filesystem::path(VELTRONA_FIXTURE_DIR) / name;
}

}  // namespace veltrona::test
