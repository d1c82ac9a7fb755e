#pragma once

// The real main window, offscreen, driven by a test: the open-file dialog
// answers with the paths the test queues, messages are collected instead of
// shown, and a closed window can be replaced by a fresh one. Also the
// process's memory figures the reliability tests watch.

#include <QString>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/MainWindow.h"

namespace veltrona::test {

class WindowHarness {
  public:
    WindowHarness();
    ~WindowHarness();
    WindowHarness(const WindowHarness&) = delete;
    WindowHarness& operator=(const WindowHarness&) = delete;

    // A new window and state, made and shown as the program does at start.
    // The old window, if any, is closed first.
    void reopen();
    MainWindow& window() { return *window_; }
    AppState& state() { return *state_; }

    // The next dialog answers: a path, or an empty text for Cancel. With none
    // queued the dialog is cancelled.
    std::deque<QString> answers;
    // Every message the window showed, in order.
    std::vector<QString> messages;

    // Answers the dialog with `path` and runs the load command.
    void load(const QString& path);

  private:
    std::unique_ptr<AppState> state_;
    std::unique_ptr<MainWindow> window_;
};

QString fixturePath(const char* name);
// The folder make_corpus wrote the malformed files and manifest.tsv into.
std::string corpusDir();

// Runs events until `done` holds or `ms` pass; true when it held.
bool runEventsUntil(const std::function<bool()>& done, int ms);
// Runs events for `ms`.
void runEventsFor(int ms);

// Resident and peak resident memory of this process, in KiB.
std::size_t residentKiB();
std::size_t peakResidentKiB();
// Starts a new peak: from now on peakResidentKiB() counts from the current
// resident size.
void resetPeakResident();

// True in a build with AddressSanitizer, whose quarantine holds freed
// memory for a while, so resident memory is no measure of leaks there.
constexpr bool kAddressSanitizer =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

}  // namespace veltrona::test
