#include "display/drawWaveform.h"

#include <gtest/gtest.h>
#include <QWidget>

#include <memory>
#include <vector>

namespace veltrona {
namespace {

// Expectations here are worked out by hand from the layout tables: fine unit
// f lands on pixel nearest(f / 23.5), and a stroke paints from its start pixel
// up to but not including its end pixel.

const QRgb kBack = qRgb(0, 0, 136);
const QRgb kGrey = qRgb(105, 105, 105);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kDarkGreen = qRgb(0, 236, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kDarkRed = qRgb(232, 0, 0);

enum class Grid { Mono, Stereo8, Stereo16 };

struct Panels {
    std::unique_ptr<DrawPanel> panel1 = std::make_unique<DrawPanel>(
        nullptr, QStringLiteral("DrawPanel1"), QRect(1, 1, 900, 256),
        DrawPanel::Settings{QColor(kBack), 0, QColor(Qt::black), QColor(Qt::black)});
    std::unique_ptr<DrawPanel> panel2 = std::make_unique<DrawPanel>(
        nullptr, QStringLiteral("DrawPanel2"), QRect(1, 1, 887, 256),
        DrawPanel::Settings{QColor(kBack), 2, QColor(Qt::black), QColor(Qt::black)});
    int pumps = 0;

    bool draw(const LoadedAudio& audio) {
        return drawWaveform(audio, *panel1, *panel2, [this] {
            ++pumps;
            return true;
        });
    }
};

LoadedAudio audioOf(int channels, int bits, std::vector<std::uint8_t> pcm,
                    std::optional<std::int32_t> dataLength = {}) {
    WavHeader header;
    header.fmt.formatTag = 1;
    header.fmt.channels = static_cast<std::int16_t>(channels);
    header.fmt.bitsPerSample = static_cast<std::int16_t>(bits);
    header.fmt.blockAlign = static_cast<std::int16_t>(channels * bits / 8);
    const std::int32_t length = dataLength.value_or(static_cast<std::int32_t>(pcm.size()));
    return LoadedAudio::fromPcm(header, std::move(pcm), length, header.fmt.blockAlign, 1.0f);
}

// The grid from the layout table.
QImage gridImage(Grid grid) {
    QImage image(900, 256, QImage::Format_RGB32);
    image.fill(kBack);
    const int xStep = grid == Grid::Stereo8 ? 56 : 32;
    std::vector<int> rows;
    if (grid == Grid::Mono) {
        rows = {21, 43, 64, 86, 107, 129, 150, 172, 193, 215, 236};
    } else {
        rows = {32, 64, 96, 126, 127, 128, 129, 160, 192, 224};  // 126 to 129: the thick line
    }
    for (int y : rows) {
        for (int x = 0; x < 900; ++x) image.setPixel(x, y, kGrey);
    }
    for (int x = xStep; x <= 896; x += xStep) {
        for (int y = 0; y < 256; ++y) image.setPixel(x, y, kGrey);
    }
    return image;
}

void paintRows(QImage& image, int x, int from, int to, QRgb colour) {
    for (int y = from; y <= to; ++y) image.setPixel(x, y, colour);
}

// Paints the same rows in every pixel column.
void paintAllColumns(QImage& image, int from, int to, QRgb colour) {
    for (int x = 0; x < 900; ++x) paintRows(image, x, from, to, colour);
}

::testing::AssertionResult sameImage(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size()) return ::testing::AssertionFailure() << "size differs";
    int wrong = 0;
    QString first;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.pixel(x, y) == expected.pixel(x, y)) continue;
            if (wrong++ == 0) {
                first = QStringLiteral("(%1, %2): %3 instead of %4")
                            .arg(x)
                            .arg(y)
                            .arg(actual.pixel(x, y), 8, 16)
                            .arg(expected.pixel(x, y), 8, 16);
            }
        }
    }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << wrong << " pixels differ, first " << first.toStdString();
}

TEST(DrawWaveform, SilentFilesShowTheGridAlone) {
    const struct {
        int channels, bits;
        std::uint8_t silence;
        Grid grid;
        QRgb lastColour;
    } cases[] = {
        {1, 8, 128, Grid::Mono, kDarkGreen},
        {1, 16, 0, Grid::Mono, kDarkGreen},
        {2, 8, 128, Grid::Stereo8, kDarkRed},
        {2, 16, 0, Grid::Stereo16, kDarkRed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channels << " x " << c.bits);
        Panels panels;
        const int bytes = 44100 * c.channels * c.bits / 8;
        EXPECT_TRUE(
            panels.draw(audioOf(c.channels, c.bits, std::vector<std::uint8_t>(bytes, c.silence))));
        EXPECT_TRUE(sameImage(panels.panel1->keptImage(), gridImage(c.grid)));
        EXPECT_EQ(panels.pumps, 21150);
        EXPECT_EQ(panels.panel1->drawUnit(), DrawPanel::kFineUnit);
        EXPECT_EQ(panels.panel1->penWidth(), 0);
        EXPECT_EQ(panels.panel1->penColour().rgb(), c.lastColour);
    }
}

TEST(DrawWaveform, FullScaleAndEmptyFiles) {
    struct Band {
        int from, to;
        QRgb colour;
    };
    const struct {
        const char* name;
        int channels, bits;
        std::vector<std::uint8_t> pcm;
        Grid grid;
        std::vector<Band> bands;       // painted in this order in every pixel column
        std::int32_t dataLength = -1;  // -1: the size of pcm
    } cases[] = {
        // a = b = 255: outer -294..6310 (pixels -13..269) clipped at both
        // edges, inner 1484..4532 (63..193).
        {"mono 8-bit full scale up",
         1,
         8,
         std::vector<std::uint8_t>(1000, 255),
         Grid::Mono,
         {{0, 255, kGreen}, {63, 192, kDarkGreen}}},
        // a = b = 0: outer 6336 up to -320 (270 up to -14), inner 4544 up
        // to 1472 (193 up to 63): rows 193 down to 64.
        {"mono 8-bit full scale down",
         1,
         8,
         std::vector<std::uint8_t>(1000, 0),
         Grid::Mono,
         {{0, 255, kGreen}, {64, 193, kDarkGreen}}},
        // dataLength 0, empty pcmData: every value 0, as above.
        {"mono 8-bit empty", 1, 8, {}, Grid::Mono, {{0, 255, kGreen}, {64, 193, kDarkGreen}}},
        // Stereo 8-bit, values 0: green 2908 up to 92 (124 up to 4), 2268 up
        // to 732 (97 up to 31); red 5920 up to 3104 (252 up to 132), 5280 up
        // to 3744 (225 up to 159).
        {"stereo 8-bit empty",
         2,
         8,
         {},
         Grid::Stereo8,
         {{5, 124, kGreen}, {32, 97, kDarkGreen}, {133, 252, kRed}, {160, 225, kDarkRed}}},
        {"mono 16-bit empty", 1, 16, {}, Grid::Mono, {}},
        {"stereo 16-bit empty", 2, 16, {}, Grid::Stereo16, {}},
        // a = b = c = d = 32,767: green 10..2989 (0..127), 771..2228
        // (33..95); red 3022..6001 (129..255), 3783..5240 (161..223).
        {"stereo 16-bit full scale",
         2,
         16,
         [] {
             std::vector<std::uint8_t> pcm;
             for (int i = 0; i < 4000; ++i) pcm.insert(pcm.end(), {0xff, 0x7f});
             return pcm;
         }(),
         Grid::Stereo16,
         {{0, 126, kGreen}, {33, 94, kDarkGreen}, {129, 254, kRed}, {161, 222, kDarkRed}}},
        // One frame of 10,000 and a lone byte 0xff past dataLength: the next
        // frame reads 255, not -1. Outer 2008..3033 (85..129), inner
        // 2591..3018 (110..128).
        {"mono 16-bit high byte beyond the end",
         1,
         16,
         {0x10, 0x27, 0xff},
         Grid::Mono,
         {{85, 128, kGreen}, {110, 127, kDarkGreen}},
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Panels panels;
        const std::int32_t dataLength =
            c.dataLength >= 0 ? c.dataLength : static_cast<std::int32_t>(c.pcm.size());
        EXPECT_TRUE(panels.draw(audioOf(c.channels, c.bits, c.pcm, dataLength)));
        QImage expected = gridImage(c.grid);
        for (const Band& band : c.bands) paintAllColumns(expected, band.from, band.to, band.colour);
        EXPECT_TRUE(sameImage(panels.panel1->keptImage(), expected));
    }
}

TEST(DrawWaveform, FewerFramesThanColumnsRepeatEachFramePair) {
    // 100 frames, loud (255) on even frames and silent (128) on odd ones.
    // Each frame covers about 211.5 columns, 9 pixels; pixel 9k + 4 shows
    // only the pair (k, k + 1).
    std::vector<std::uint8_t> pcm(100);
    for (int k = 0; k < 100; ++k) pcm[k] = k % 2 == 0 ? 255 : 128;
    Panels panels;
    ASSERT_TRUE(panels.draw(audioOf(1, 8, pcm)));
    const QImage grid = gridImage(Grid::Mono);
    QImage expected = grid;
    for (int k = 0; k <= 99; ++k) {
        const int x = 9 * k + 4;
        if (k == 99) {
            // The last pair reads frame 100, past the end: a = 128, b = 0.
            // Outer 3008 up to -320 (128 up to -14), inner 3008 up to 1472.
            paintRows(expected, x, 0, 128, kGreen);
            paintRows(expected, x, 64, 128, kDarkGreen);
        } else if (k % 2 == 0) {
            // a = 255, b = 128: outer -294..3008, inner 1484..3008.
            paintRows(expected, x, 0, 127, kGreen);
            paintRows(expected, x, 63, 127, kDarkGreen);
        } else {
            // a = 128, b = 255: outer 3008..6310, inner 3008..4532.
            paintRows(expected, x, 128, 255, kGreen);
            paintRows(expected, x, 128, 192, kDarkGreen);
        }
        for (int y = 0; y < 256; ++y) {
            ASSERT_EQ(panels.panel1->keptImage().pixel(x, y), expected.pixel(x, y))
                << "frame " << k << ", pixel (" << x << ", " << y << ")";
        }
    }
}

TEST(DrawWaveform, FineColumnsLandOnTheNearestPixel) {
    // 21,150 frames: column j reads frames j and j + 1. Only frame 1000 is
    // loud, so column 999 (x = 998, pixel 42.47) has b = 255 and column 1000
    // (x = 999, pixel 42.51) has a = 255.
    std::vector<std::uint8_t> pcm(21150, 128);
    pcm[1000] = 255;
    Panels panels;
    ASSERT_TRUE(panels.draw(audioOf(1, 8, pcm)));
    QImage expected = gridImage(Grid::Mono);
    paintRows(expected, 42, 128, 255, kGreen);
    paintRows(expected, 42, 128, 192, kDarkGreen);
    paintRows(expected, 43, 0, 127, kGreen);
    paintRows(expected, 43, 63, 127, kDarkGreen);
    EXPECT_TRUE(sameImage(panels.panel1->keptImage(), expected));
}

TEST(DrawWaveform, UnsupportedFormatsOnlyClearThePanels) {
    for (auto [channels, bits] : {std::pair{2, 24}, {1, 32}, {3, 16}, {0, 0}}) {
        Panels panels;
        panels.panel1->drawLine(0, 10, 900, 10);
        panels.panel2->drawLine(0, 10, 887, 10);
        EXPECT_TRUE(panels.draw(audioOf(channels, bits, std::vector<std::uint8_t>(1000, 255))));
        QImage blank1(900, 256, QImage::Format_RGB32);
        blank1.fill(kBack);
        QImage blank2(887, 256, QImage::Format_RGB32);
        blank2.fill(kBack);
        EXPECT_TRUE(sameImage(panels.panel1->keptImage(), blank1)) << channels << " x " << bits;
        EXPECT_TRUE(sameImage(panels.panel2->keptImage(), blank2)) << channels << " x " << bits;
        EXPECT_EQ(panels.pumps, 0);
    }
}

TEST(DrawWaveform, StopsWhenThePumpSaysSo) {
    for (int allowed : {1, 100}) {
        Panels panels;
        int calls = 0;
        const bool finished =
            drawWaveform(audioOf(1, 8, std::vector<std::uint8_t>(1000, 255)), *panels.panel1,
                         *panels.panel2, [&] { return ++calls < allowed; });
        EXPECT_FALSE(finished);
        EXPECT_EQ(calls, allowed);
        // Columns 1 to `allowed` drawn: x up to allowed - 1 fine units.
        const int lastPixel = DrawPanel::fineToPixel(allowed - 1);
        QImage expected = gridImage(Grid::Mono);
        for (int x = 0; x <= lastPixel; ++x) {
            paintRows(expected, x, 0, 255, kGreen);
            paintRows(expected, x, 63, 192, kDarkGreen);
        }
        EXPECT_TRUE(sameImage(panels.panel1->keptImage(), expected)) << allowed;
    }
}

TEST(DrawWaveform, ASecondLoadRepaintsTheOldPictureAndDrawsUnseen) {
    QWidget window;
    window.resize(950, 300);
    auto* panel1 = new DrawPanel(&window, QStringLiteral("DrawPanel1"), QRect(1, 1, 900, 256),
                                 {QColor(kBack), 0, QColor(Qt::black), QColor(Qt::black)});
    auto* panel2 = new DrawPanel(&window, QStringLiteral("DrawPanel2"), QRect(1, 1, 887, 256),
                                 {QColor(kBack), 2, QColor(Qt::black), QColor(Qt::black)});
    panel2->lower();
    window.show();
    const auto pump = [] {
        DrawPanel::processPendingEvents();
        return true;
    };

    // First load: draw, move the picture into DrawPanel2, hide DrawPanel1.
    ASSERT_TRUE(
        drawWaveform(audioOf(1, 8, std::vector<std::uint8_t>(1000, 255)), *panel1, *panel2, pump));
    panel2->setBackPicture(panel1->snapshot(900, 256));
    panel1->hide();
    const QImage firstPicture = panel2->keptImage().copy();
    panel2->setPenColour(Qt::white);
    panel2->drawLine(100, 0, 100, 256);  // something drawn over the picture since

    // Second load, a silent stereo file.
    const auto second = [] { return audioOf(2, 16, std::vector<std::uint8_t>(4000, 0)); };
    ASSERT_TRUE(drawWaveform(second(), *panel1, *panel2, pump));
    EXPECT_TRUE(sameImage(panel2->keptImage(), firstPicture));
    EXPECT_FALSE(panel1->isVisible());
    EXPECT_TRUE(sameImage(panel1->keptImage(), gridImage(Grid::Stereo16)));
}

}  // namespace
}  // namespace veltrona
