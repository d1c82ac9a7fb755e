// Real WAV fixtures through the real import, drawn as the load command draws
// them. With VELTRONA_DOCS_INPUT and VELTRONA_DOCS_DIR set, the DocsImages
// test also draws the four WAV files of the input folder (mono-8bit.wav ...)
// and writes one PNG per layout (DrawPanel1's kept image with the ruler under
// it) into the docs folder; the docs_images target runs it.

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <memory>
#include <string>

#include "display/drawTimeRuler.h"
#include "display/drawWaveform.h"
#include "import/importAudio.h"
#include "import/openAudioFile.h"

namespace veltrona {
namespace {

const QRgb kBack = qRgb(0, 0, 136);
const QRgb kGrey = qRgb(105, 105, 105);

struct Window {
    AppState state;
    std::unique_ptr<DrawPanel> panel1 = std::make_unique<DrawPanel>(
        nullptr, QStringLiteral("DrawPanel1"), QRect(1, 1, 900, 256),
        DrawPanel::Settings{QColor(kBack), 0, QColor(Qt::black), QColor(Qt::black)});
    std::unique_ptr<DrawPanel> panel2 = std::make_unique<DrawPanel>(
        nullptr, QStringLiteral("DrawPanel2"), QRect(1, 1, 887, 256),
        DrawPanel::Settings{QColor(kBack), 2, QColor(Qt::black), QColor(Qt::black)});
    std::unique_ptr<DrawPanel> panel3 = std::make_unique<DrawPanel>(
        nullptr, QStringLiteral("DrawPanel3"), QRect(25, 313, 900, 24),
        DrawPanel::Settings{QColor(0, 128, 128), 1, QColor(255, 0, 255), QColor(Qt::white)});

    // Imports and draws the file; false when the import fails.
    ::testing::AssertionResult load(const std::string& path) {
        Result<std::ifstream> file = openAudioFile(path);
        Result<LoadedAudio> audio = importAudio(path, file, state, {});
        if (!audio) return ::testing::AssertionFailure() << path << ": " << audio.error().cause;
        if (!drawWaveform(audio.value(), *panel1, *panel2, [] { return true; })) {
            return ::testing::AssertionFailure() << "drawing stopped";
        }
        drawTimeRuler(state, *panel2, *panel3);
        return ::testing::AssertionSuccess();
    }

    // DrawPanel1's picture with the ruler under it, as the window shows them.
    QImage stacked() const {
        QImage image(900, 256 + 24, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.drawImage(0, 0, panel1->keptImage());
        painter.drawImage(0, 256, panel3->keptImage());
        return image;
    }
};

// The rows holding a trace colour (anything but back colour and grid).
struct Rows {
    int first = 256, last = -1;
};

Rows traceRows(const QImage& image, bool (*isColour)(QRgb)) {
    Rows rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!isColour(image.pixel(x, y))) continue;
            rows.first = std::min(rows.first, y);
            rows.last = std::max(rows.last, y);
        }
    }
    return rows;
}

bool isGreen(QRgb p) {
    return qRed(p) == 0 && qGreen(p) >= 236 && qBlue(p) == 0;
}
bool isRed(QRgb p) {
    return qRed(p) >= 232 && qGreen(p) == 0 && qBlue(p) == 0;
}

TEST(WaveformFixtures, ToneFilesDrawTheirTracesAroundTheirCentreLines) {
    // The fixtures are ffmpeg sine tones of amplitude 1/8: 16-bit peaks near
    // 4,096 and 8-bit ones near 128 +- 16.
    const struct {
        const char* file;
        double centre;  // fine units
        double reach;   // the outer stroke's reach for the peak, fine units
        bool stereo;
    } cases[] = {
        {"tone_mono8.wav", 3008, 16 * 26, false},
        {"tone_mono16.wav", 3008, 4096 / 10.0, false},
        {"tone_stereo8.wav", 1500, 16 * 11, true},
        {"tone_stereo16.wav", 1500, 4096 / 22.0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Window window;
        ASSERT_TRUE(window.load(std::string(VELTRONA_FIXTURE_DIR) + "/" + c.file));
        const QImage& image = window.panel1->keptImage();
        const Rows green = traceRows(image, isGreen);
        const double top = (c.centre - c.reach) / 23.5;
        const double bottom = (c.centre + c.reach) / 23.5;
        EXPECT_NEAR(green.first, top, 2.0);
        EXPECT_NEAR(green.last, bottom, 2.0);
        const Rows red = traceRows(image, isRed);
        if (c.stereo) {
            EXPECT_NEAR(red.first, (4512 - c.reach) / 23.5, 2.0);
            EXPECT_NEAR(red.last, (4512 + c.reach) / 23.5, 2.0);
        } else {
            EXPECT_EQ(red.last, -1);
        }
        // One second: ticks for seconds 0 and 1, at x = 0 and 887.
        EXPECT_FLOAT_EQ(window.state.duration, 1.0f);
        EXPECT_DOUBLE_EQ(window.state.pixelsPerMs, 0.887);
        EXPECT_EQ(window.panel3->keptImage().pixel(0, 9), qRgb(255, 0, 255));
        EXPECT_EQ(window.panel3->keptImage().pixel(887, 9), qRgb(255, 0, 255));
        EXPECT_EQ(window.panel3->keptImage().pixel(443, 3), qRgb(0, 128, 128));
    }
}

TEST(WaveformFixtures, DocsImages) {
    const char* input = std::getenv("VELTRONA_DOCS_INPUT");
    const char* dir = std::getenv("VELTRONA_DOCS_DIR");
    if (input == nullptr || dir == nullptr) GTEST_SKIP() << "VELTRONA_DOCS_INPUT/_DIR not set";
    const struct {
        const char* input;
        const char* output;
    } images[] = {
        {"mono-8bit.wav", "waveform-mono-8bit.png"},
        {"mono-16bit.wav", "waveform-mono-16bit.png"},
        {"stereo-8bit.wav", "waveform-stereo-8bit.png"},
        {"stereo-16bit.wav", "waveform-stereo-16bit.png"},
    };
    for (const auto& image : images) {
        SCOPED_TRACE(image.input);
        Window window;
        ASSERT_TRUE(window.load(std::string(input) + "/" + image.input));
        const QString path = QString::fromUtf8(dir) + "/" + QString::fromUtf8(image.output);
        EXPECT_TRUE(window.stacked().save(path, "PNG")) << path.toStdString();
    }
}

}  // namespace
}  // namespace veltrona
