// Time from start to the window's first paint, with the program's own start-up
// steps: the application, its font, MainWindow with all controls, the created
// handler (engine start) and show. Prints one JSON line with the time from
// main() and, when the launch time is given, from the launch (exec, dynamic
// linking and static start-up included):
//   first_paint [LAUNCH_NS]      LAUNCH_NS: e.g. $(date +%s%N) just before
// Headless: QT_QPA_PLATFORM defaults to offscreen, SDL_AUDIODRIVER to dummy
// (set it empty to let SDL try its real drivers first).

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/dialogStartFolder.h"
#include "app/prepareApplication.h"

namespace {

// Notes when the watched widget receives its first paint event.
class FirstPaint : public QObject {
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return QObject::eventFilter(watched, event);
    }
};

double msBetween(std::chrono::steady_clock::time_point from,
                 std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

int main(int argc, char** argv) {
    const auto mainStart = std::chrono::steady_clock::now();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    QApplication application(argc, argv);
    veltrona::prepareApplication();
    veltrona::AppState state;
    veltrona::MainWindow window(state);
    window.commonDlg1().setStartFolder(
        veltrona::dialogStartFolder(QCoreApplication::applicationDirPath()));
    FirstPaint watch;
    window.installEventFilter(&watch);
    window.onWindowCreated();
    window.show();
    // The window and its children are painted in one pass, within the event
    // processing that delivers the first paint event.
    while (!watch.painted) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const auto paintedAt = std::chrono::steady_clock::now();
    const auto paintedWall = std::chrono::system_clock::now();

    double fromLaunch = -1.0;
    if (argc > 1) {
        const long long launchNs = std::atoll(argv[1]);
        const long long nowNs =
            std::chrono::duration_cast<std::chrono::nanoseconds>(paintedWall.time_since_epoch())
                .count();
        fromLaunch = static_cast<double>(nowNs - launchNs) / 1e6;
    }
    std::printf("{\"platform\":\"%s\",\"from_main_ms\":%.1f,\"from_launch_ms\":%.1f}\n",
                qPrintable(QGuiApplication::platformName()), msBetween(mainStart, paintedAt),
                fromLaunch);
    return 0;
}
