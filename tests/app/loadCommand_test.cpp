// The load command, Play, Stop, the volume and the tracking timers, driven
// through the real window (offscreen) with the real engine on SDL's dummy
// driver. The open-file dialog and the message boxes are answered by the test.

#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "engine/engine.h"

namespace veltrona {
namespace {

namespace fs = std::filesystem;

QString fixture(const char* name) {
    return QString::fromUtf8(VELTRONA_FIXTURE_DIR) + "/" + QString::fromUtf8(name);
}

// Runs events until `done` holds or `ms` pass.
template <class Predicate>
bool runEventsUntil(Predicate done, int ms = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

class LoadCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(state);
        window->onWindowCreated();
        window->show();
        window->setMessageSink([this](const QString& title, const QString& text) {
            EXPECT_EQ(title, "Veltrona");
            messages.push_back(text);
        });
        window->commonDlg1().setAnswerer(
            [this](QWidget*, const QString& initial) -> std::optional<QString> {
                initialNames.push_back(initial);
                if (answers.empty()) return std::nullopt;
                QString next = answers.front();
                answers.erase(answers.begin());
                if (next.isEmpty()) return std::nullopt;
                return next;
            });
    }

    void TearDown() override {
        if (window) window->close();
        window.reset();
    }

    // Answers the dialog with `path` (empty: cancel) and runs the load.
    void load(const QString& path) {
        answers.push_back(path);
        window->onLoadClicked();
    }

    AppState state;
    std::unique_ptr<MainWindow> window;
    std::vector<QString> answers;
    std::vector<QString> initialNames;
    std::vector<QString> messages;
};

TEST_F(LoadCommandTest, CancellingTheFirstDialogChangesNothing) {
    load("");
    EXPECT_FALSE(window->button2().isEnabled());
    EXPECT_FALSE(window->button3().isEnabled());
    EXPECT_TRUE(window->button1().isEnabled());
    EXPECT_TRUE(window->drawPanel1().isVisible());
    EXPECT_EQ(window->timer1().period(), 0);
    EXPECT_EQ(window->timer2().period(), 0);
    EXPECT_TRUE(state.filePath.empty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(LoadCommandTest, LoadShowsThePictureAndEnablesPlayback) {
    const QString path = fixture("tone_stereo16.wav");
    load(path);
    ASSERT_TRUE(messages.empty()) << messages.front().toStdString();

    EXPECT_FALSE(window->drawPanel1().isVisible());
    EXPECT_TRUE(window->drawPanel2().isVisible());
    EXPECT_TRUE(window->button1().isEnabled());
    EXPECT_TRUE(window->button2().isEnabled());
    EXPECT_TRUE(window->button3().isEnabled());
    EXPECT_EQ(window->timer1().period(), 0);
    EXPECT_EQ(window->timer2().period(), 400);
    EXPECT_EQ(state.filePath, path.toStdString());
    EXPECT_EQ(state.byteRate, 176400);
    EXPECT_FLOAT_EQ(state.duration, 1.0f);
    EXPECT_DOUBLE_EQ(state.pixelsPerMs, 887.0 / 1000.0);
    EXPECT_DOUBLE_EQ(state.pixelsPerWholeMs, 887.0 / 1000.0);
    EXPECT_EQ(state.playheadX, 0);

    // The 900 x 256 picture fitted to 887 x 252 at (0, 2): rows 0, 1, 254
    // and 255 keep the back colour, the grid shows in between.
    const QImage& shown = window->drawPanel2().keptImage();
    const QColor back(0, 0, 136);
    for (int x : {0, 100, 500, 886}) {
        for (int y : {0, 1, 254, 255}) EXPECT_EQ(shown.pixelColor(x, y), back) << x << "," << y;
    }
    int greyPixels = 0;
    for (int y = 2; y < 254; ++y) {
        for (int x = 0; x < 887; ++x) {
            const QColor c = shown.pixelColor(x, y);
            if (c.red() == c.green() && c.green() == c.blue() && c.red() > 60) ++greyPixels;
        }
    }
    EXPECT_GT(greyPixels, 1000);

    // The next dialog opens on the previous path.
    load("");
    ASSERT_EQ(initialNames.size(), 2u);
    EXPECT_EQ(initialNames[1], path);
}

TEST_F(LoadCommandTest, PlayMovesThePlayheadAndStopPutsItBack) {
    load(fixture("tone_stereo16_10s.wav"));
    ASSERT_TRUE(messages.empty());
    window->button2().click();
    ASSERT_NE(state.streamHandle, 0u);
    EXPECT_EQ(window->timer1().period(), 1);
    EXPECT_EQ(window->timer2().period(), 400);
    EXPECT_TRUE(runEventsUntil([&] { return state.playheadX > 0; }));
    EXPECT_EQ(window->shapeBox2().x(), state.playheadX + 24);
    EXPECT_TRUE(runEventsUntil([&] { return !window->label3().text().isEmpty(); }));
    EXPECT_TRUE(
        QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$").match(window->label3().text()).hasMatch());

    window->button3().click();
    EXPECT_EQ(window->timer1().period(), 0);
    EXPECT_EQ(window->timer2().period(), 0);
    EXPECT_EQ(state.playheadX, 0);
    EXPECT_EQ(window->shapeBox2().x(), 24);
    EXPECT_EQ(window->label4().x(), 19);
    EXPECT_EQ(window->label3().text(), "00:00:00");
    EXPECT_FALSE(engine::channelIsActive(state.streamHandle));
}

TEST_F(LoadCommandTest, LoadDuringPlaybackStopsTheSoundAndLeavesTheMarker) {
    load(fixture("tone_stereo16_10s.wav"));
    window->button2().click();
    ASSERT_TRUE(runEventsUntil([&] { return state.playheadX > 3; }));
    const std::uint32_t playing = state.streamHandle;
    const int markerX = window->label4().x();

    load(fixture("tone_mono16.wav"));
    EXPECT_FALSE(engine::channelIsActive(playing));
    EXPECT_EQ(window->shapeBox2().x(), 24);
    EXPECT_EQ(window->label4().x(), markerX);
    EXPECT_EQ(window->timer1().period(), 0);
    EXPECT_EQ(window->timer2().period(), 400);
    EXPECT_EQ(state.streamHandle, playing);  // never cleared
}

TEST_F(LoadCommandTest, FailedImportKeepsThePreviousFile) {
    const QString good = fixture("tone_stereo16.wav");
    load(good);
    ASSERT_TRUE(messages.empty());
    const QByteArray picture = window->drawPanel2().backPicture();
    const QImage ruler = window->drawPanel3().keptImage();
    const double scale = state.pixelsPerMs;

    const fs::path bad = fs::temp_directory_path() / "veltrona-not-audio.wav";
    {
        std::ofstream out(bad, std::ios::binary);
        out << "this is plain text, not a RIFF file at all, and long enough";
    }
    load(QString::fromStdString(bad.string()));
    fs::remove(bad);

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("veltrona-not-audio.wav"));
    EXPECT_EQ(state.filePath, good.toStdString());
    EXPECT_FLOAT_EQ(state.duration, 1.0f);
    EXPECT_EQ(state.byteRate, 176400);
    EXPECT_DOUBLE_EQ(state.pixelsPerMs, scale);
    EXPECT_EQ(window->drawPanel2().backPicture(), picture);
    EXPECT_EQ(window->drawPanel3().keptImage(), ruler);
    EXPECT_TRUE(window->button1().isEnabled());
    EXPECT_TRUE(window->button2().isEnabled());
    EXPECT_TRUE(window->button3().isEnabled());
}

TEST_F(LoadCommandTest, FailedFirstImportLeavesPlaybackDisabled) {
    load(fixture("does-not-exist.wav"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("does-not-exist.wav"));
    EXPECT_FALSE(window->button2().isEnabled());
    EXPECT_FALSE(window->button3().isEnabled());
    EXPECT_TRUE(window->button1().isEnabled());
    EXPECT_TRUE(state.filePath.empty());
    EXPECT_EQ(state.byteRate, 0);
}

TEST_F(LoadCommandTest, SecondClickDuringALoadIsRefused) {
    answers.push_back(fixture("tone_stereo16.wav"));
    bool clicked = false;
    QTimer::singleShot(0, window.get(), [&] {
        clicked = true;
        EXPECT_TRUE(window->isLoading());
        EXPECT_FALSE(window->button1().isEnabled());
        window->button1().click();
    });
    window->onLoadClicked();
    EXPECT_TRUE(clicked);
    EXPECT_EQ(initialNames.size(), 1u);  // the dialog opened once
    EXPECT_TRUE(window->button1().isEnabled());
    EXPECT_TRUE(window->button2().isEnabled());
}

TEST_F(LoadCommandTest, BusyCursorShowsWhileLoadingOnly) {
    std::optional<Qt::CursorShape> during;
    QTimer::singleShot(0, window.get(), [&] {
        if (const QCursor* cursor = QApplication::overrideCursor()) during = cursor->shape();
    });
    load(fixture("tone_stereo_30s.mp3"));
    ASSERT_TRUE(messages.empty());
    EXPECT_EQ(during, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // On an error the normal cursor is back while the message shows.
    std::optional<Qt::CursorShape> atMessage = Qt::WaitCursor;
    window->setMessageSink([&](const QString&, const QString&) {
        const QCursor* cursor = QApplication::overrideCursor();
        atMessage = cursor ? std::optional(cursor->shape()) : std::nullopt;
    });
    load(fixture("does-not-exist.wav"));
    EXPECT_EQ(atMessage, std::nullopt);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(LoadCommandTest, CloseDuringALoadStopsItAndClosesTheWindow) {
    for (const char* name : {"tone_stereo_30s.mp3", "tone_stereo16_10s.wav"}) {
        SCOPED_TRACE(name);
        if (!window) SetUp();
        answers.push_back(fixture(name));
        QTimer::singleShot(0, window.get(), [&] { window->close(); });
        window->onLoadClicked();
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(window->isLoading());
        EXPECT_EQ(window->drawPanel2().backPicture().size(), 0);
        EXPECT_TRUE(messages.empty());
        // The engine is released: nothing can play any more.
        std::ifstream in(VELTRONA_FIXTURE_DIR "/tone_stereo16.wav", std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        const engine::Handle h = engine::streamCreateFile(true, bytes.data(), 0, bytes.size(), 0);
        EXPECT_FALSE(engine::channelPlay(h, true));
        engine::streamFree(h);
        window.reset();
    }
}

TEST_F(LoadCommandTest, PlayAfterTheFileWasDeletedReportsIt) {
    const fs::path copy = fs::temp_directory_path() / "veltrona-play-deleted.wav";
    fs::copy_file(VELTRONA_FIXTURE_DIR "/tone_stereo16.wav", copy,
                  fs::copy_options::overwrite_existing);
    load(QString::fromStdString(copy.string()));
    ASSERT_TRUE(messages.empty());
    fs::remove(copy);

    const std::size_t streamsBefore = engine::engineStreamCount();
    window->button2().click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("veltrona-play-deleted.wav"));
    EXPECT_EQ(engine::engineStreamCount(), streamsBefore);
    EXPECT_EQ(window->timer1().period(), 0);
    EXPECT_EQ(window->timer2().period(), 0);
    EXPECT_EQ(window->shapeBox2().x(), 24);
    EXPECT_EQ(window->label3().text(), "00:00:00");
}

}  // namespace
}  // namespace veltrona
