#include "WindowHarness.h"

#include <QApplication>
#include <QElapsedTimer>
#include <fstream>
#include <optional>

namespace veltrona::test {

WindowHarness::WindowHarness() {
    reopen();
}

WindowHarness::~WindowHarness() {
    if (window_) window_->close();
}

void WindowHarness::reopen() {
    if (window_) window_->close();
    window_.reset();
    state_ = std::make_unique<AppState>();
    window_ = std::make_unique<MainWindow>(*state_);
    window_->onWindowCreated();
    window_->show();
    window_->setMessageSink(
        [this](const QString&, const QString& text) { messages.push_back(text); });
    window_->commonDlg1().setAnswerer([this](QWidget*, const QString&) -> std::optional<QString> {
        if (answers.empty()) return std::nullopt;
        const QString next = answers.front();
        answers.pop_front();
        if (next.isEmpty()) return std::nullopt;
        return next;
    });
}

void WindowHarness::load(const QString& path) {
    answers.push_back(path);
    window_->onLoadClicked();
}

QString fixturePath(const char* name) {
    return QString::fromUtf8(VELTRONA_FIXTURE_DIR "/") + QString::fromUtf8(name);
}

std::string corpusDir() {
    return VELTRONA_BINARY_DIR "/reliability-corpus";
}

bool runEventsUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void runEventsFor(int ms) {
    runEventsUntil([] { return false; }, ms);
}

namespace {

// A "Name:   value kB" line of /proc/self/status.
std::size_t statusKiB(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == name + ":") {
            std::size_t value = 0;
            status >> value;
            return value;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

}  // namespace

std::size_t residentKiB() {
    return statusKiB("VmRSS");
}

std::size_t peakResidentKiB() {
    return statusKiB("VmHWM");
}

void resetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace veltrona::test
