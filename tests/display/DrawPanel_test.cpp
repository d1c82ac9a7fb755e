#include "display/DrawPanel.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>

#include <memory>

namespace veltrona {
namespace {

const QRgb kBack = qRgb(0, 0, 136);
const QRgb kPen = qRgb(255, 0, 255);

std::unique_ptr<DrawPanel> makePanel(int width = 900, int height = 256, int pictureMode = 0) {
    return std::make_unique<DrawPanel>(
        nullptr, QStringLiteral("DrawPanel"), QRect(0, 0, width, height),
        DrawPanel::Settings{QColor(kBack), pictureMode, QColor(kPen), QColor(Qt::white)});
}

QRgb at(const DrawPanel& panel, int x, int y) {
    return panel.keptImage().pixel(x, y);
}

// The rows of column x that hold the pen colour.
std::vector<int> penRows(const DrawPanel& panel, int x) {
    std::vector<int> rows;
    for (int y = 0; y < panel.keptImage().height(); ++y) {
        if (at(panel, x, y) == kPen) rows.push_back(y);
    }
    return rows;
}

std::vector<int> span(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}

QImage decode(const QByteArray& bytes) {
    QImage image;
    image.loadFromData(bytes, "BMP");
    return image.convertToFormat(QImage::Format_RGB32);
}

TEST(DrawPanel, StartsAsTheBackColourWithTheDesignedPen) {
    const auto panel = makePanel(887, 256, 2);
    EXPECT_EQ(panel->keptImage().size(), QSize(887, 256));
    EXPECT_EQ(panel->keptImage().format(), QImage::Format_RGB32);
    EXPECT_EQ(panel->width(), 887);
    EXPECT_EQ(panel->objectName(), QStringLiteral("DrawPanel"));
    EXPECT_EQ(panel->drawUnit(), DrawPanel::kPixelUnit);
    EXPECT_EQ(panel->penWidth(), 0);
    EXPECT_EQ(panel->penColour(), QColor(kPen));
    EXPECT_EQ(panel->pictureMode(), 2);
    EXPECT_EQ(at(*panel, 0, 0), kBack);
    EXPECT_EQ(at(*panel, 886, 255), kBack);
}

TEST(DrawPanel, LinesPaintTheirStartButNotTheirEnd) {
    const auto panel = makePanel();
    panel->drawLine(10, 0, 10, 6);
    EXPECT_EQ(penRows(*panel, 10), span(0, 5));
    panel->drawLine(20, 6, 20, 0);  // upward: 6 down to 1
    EXPECT_EQ(penRows(*panel, 20), span(1, 6));
    panel->drawLine(30, 7, 30, 7);  // both ends on one pixel
    EXPECT_TRUE(penRows(*panel, 30).empty());

    panel->drawLine(100, 50, 104, 50);
    for (int x = 100; x <= 103; ++x) EXPECT_EQ(at(*panel, x, 50), kPen) << x;
    EXPECT_EQ(at(*panel, 104, 50), kBack);
    EXPECT_EQ(at(*panel, 99, 50), kBack);

    panel->drawLine(200, 100, 204, 104);  // diagonal
    for (int i = 0; i < 4; ++i) EXPECT_EQ(at(*panel, 200 + i, 100 + i), kPen) << i;
    EXPECT_EQ(at(*panel, 204, 104), kBack);

    panel->drawLine(300, 100, 302, 106);              // steep: one pixel per row
    EXPECT_EQ(penRows(*panel, 300), span(100, 101));  // x = 300 + nearest(i / 3)
    EXPECT_EQ(penRows(*panel, 301), span(102, 104));
    EXPECT_EQ(penRows(*panel, 302), span(105, 105));
}

TEST(DrawPanel, LinesAreClippedAtEveryEdge) {
    const auto panel = makePanel();
    panel->drawLine(5, -1000, 5, 100000);
    EXPECT_EQ(penRows(*panel, 5), span(0, 255));
    panel->drawLine(-2000000000, 10, 2000000000, 10);
    for (int x : {0, 450, 899}) EXPECT_EQ(at(*panel, x, 10), kPen) << x;
    panel->drawLine(900, 0, 900, 256);  // just right of the panel
    panel->drawLine(0, 256, 900, 256);  // just below
    EXPECT_EQ(at(*panel, 899, 255), kBack);
    panel->drawLine(-10, -10, 20, 20);  // enters the panel at its corner
    EXPECT_EQ(at(*panel, 0, 0), kPen);
    EXPECT_EQ(at(*panel, 19, 19), kPen);
    EXPECT_EQ(at(*panel, 20, 20), kBack);
    panel->drawLine(-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647);
    EXPECT_EQ(at(*panel, 100, 100), kPen);
}

TEST(DrawPanel, PenWidthIsPixelsCentredOnThePath) {
    const auto panel = makePanel();
    panel->setPenWidth(4);
    panel->drawLine(0, 128, 900, 128);
    EXPECT_EQ(penRows(*panel, 0), span(126, 129));
    EXPECT_EQ(penRows(*panel, 899), span(126, 129));
    panel->clear();
    panel->setPenWidth(3);
    panel->drawLine(50, 10, 50, 20);
    for (int x : {49, 50, 51}) EXPECT_EQ(penRows(*panel, x), span(10, 19)) << x;
    EXPECT_TRUE(penRows(*panel, 48).empty());
    EXPECT_TRUE(penRows(*panel, 52).empty());
    // Widths 0 and 1 (and nonsense below) are one pixel, also in fine units.
    for (int width : {0, 1, -3}) {
        panel->setPenWidth(width);
        panel->drawLine(600 + 4 * width + 20, 0, 600 + 4 * width + 20, 3);
        EXPECT_EQ(penRows(*panel, 600 + 4 * width + 20), span(0, 2)) << width;
        EXPECT_TRUE(penRows(*panel, 600 + 4 * width + 21).empty()) << width;
    }
    panel->setPenWidth(0);
    panel->setDrawUnit(DrawPanel::kFineUnit);
    panel->drawLine(23500 / 2, 0, 23500 / 2, 235);  // pixel 500, rows 0 to 9
    EXPECT_EQ(penRows(*panel, 500), span(0, 9));
    EXPECT_TRUE(penRows(*panel, 501).empty());
}

TEST(DrawPanel, FineUnitsAreExactly23AndAHalfPerPixel) {
    const struct {
        int fine, pixel;
    } cases[] = {
        {0, 0},
        {11, 0},
        {12, 1},
        {23, 1},
        {24, 1},
        {35, 1},
        {36, 2},
        {47, 2},
        {-11, 0},
        {-12, -1},
        {-294, -13},
        {-320, -14},
        {10, 0},
        {2989, 127},
        {6001, 255},
        {6310, 269},
        {21138, 899},
        {21139, 900},
        {2147483647, 91382283},
        {-2147483647 - 1, -91382283},
    };
    for (const auto& c : cases) EXPECT_EQ(DrawPanel::fineToPixel(c.fine), c.pixel) << c.fine;
    // No integer fine unit lies halfway between two pixels.
    for (int fine = -200; fine <= 200; ++fine) {
        const double exact = fine / 23.5;
        EXPECT_NE(exact - std::floor(exact), 0.5) << fine;
    }

    const auto panel = makePanel();
    panel->setDrawUnit(DrawPanel::kFineUnit);
    panel->drawLine(2350, 0, 2350, 141);  // pixel 100; 141 / 23.5 = 6 exactly
    EXPECT_EQ(penRows(*panel, 100), span(0, 5));
    panel->drawLine(36, 36, 48, 36);  // pixels 2 to 2: nothing
    EXPECT_EQ(at(*panel, 2, 2), kBack);
}

TEST(DrawPanel, ClearRepaintsTheBackColourInsideItsRectangleOnly) {
    const auto panel = makePanel(887, 256);
    panel->setPenWidth(4);
    for (int y = 0; y < 256; y += 4) panel->drawLine(0, y + 2, 887, y + 2);
    const QImage drawn = panel->keptImage().copy();

    panel->clear(899);  // wholly right of the 887-pixel panel
    EXPECT_EQ(panel->keptImage(), drawn);
    panel->clear(10, 300);
    panel->clear(-50, 0, 50);
    panel->clear(0, 0, 0, 10);
    EXPECT_EQ(panel->keptImage(), drawn);

    panel->clear(100, 50, 10, 20);  // left 100, top 50, to 110 x 70
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 887; ++x) {
            const bool inside = x >= 100 && x < 110 && y >= 50 && y < 70;
            ASSERT_EQ(at(*panel, x, y), inside ? kBack : drawn.pixel(x, y)) << x << "," << y;
        }
    }
    panel->clear(880, 250);  // to the panel's edges
    EXPECT_EQ(at(*panel, 886, 255), kBack);
    EXPECT_EQ(at(*panel, 886, 250), kBack);
    EXPECT_EQ(at(*panel, 879, 254), kPen);
    panel->clear();
    QImage blank(887, 256, QImage::Format_RGB32);
    blank.fill(kBack);
    EXPECT_EQ(panel->keptImage(), blank);
    // Pixel coordinates, whatever the unit.
    panel->drawLine(0, 0, 887, 0);
    panel->setDrawUnit(DrawPanel::kFineUnit);
    panel->clear(0, 0, 5, 1);
    EXPECT_EQ(at(*panel, 4, 0), kBack);
    EXPECT_EQ(at(*panel, 5, 0), kPen);
}

TEST(DrawPanel, SnapshotIsAnExactBmpAtItsOwnSize) {
    const auto panel = makePanel(900, 256);
    for (int x = 0; x < 900; x += 7) {
        panel->setPenColour(QColor(x % 256, (x * 3) % 256, (x * 7) % 256));
        panel->drawLine(x, x % 256, x + 3, 255 - x % 256);
    }
    const QByteArray bytes = panel->snapshot(900, 256);
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(decode(bytes), panel->keptImage());

    const QByteArray scaled = panel->snapshot(450, 128);
    EXPECT_EQ(scaled.left(2), QByteArray("BM"));
    EXPECT_EQ(decode(scaled).size(), QSize(450, 128));
    EXPECT_TRUE(panel->snapshot(0, 10).isEmpty());
}

TEST(DrawPanel, BackPictureIsCentredAndScaledDownToFit) {
    // A 900 x 256 picture: red, with a one-pixel yellow frame.
    QImage picture(900, 256, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    {
        QPainter painter(&picture);
        painter.setPen(QColor(255, 255, 0));
        painter.drawRect(0, 0, 899, 255);
    }
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");

    const auto panel = makePanel(887, 256, 2);
    panel->drawLine(0, 128, 887, 128);
    panel->setBackPicture(file);
    EXPECT_EQ(panel->backPicture(), file);
    for (int row : {0, 1, 254, 255}) {
        for (int x = 0; x < 887; ++x) ASSERT_EQ(at(*panel, x, row), kBack) << x << "," << row;
    }
    // 887 x 252 at (0, 2): every column and rows 2 to 253 hold the picture.
    for (int y = 2; y <= 253; ++y) {
        for (int x = 0; x < 887; ++x) ASSERT_NE(at(*panel, x, y), kBack) << x << "," << y;
    }
    EXPECT_EQ(at(*panel, 443, 128), qRgb(255, 0, 0));  // what was drawn before is gone
    EXPECT_EQ(at(*panel, 443, 100), qRgb(255, 0, 0));
    const QImage placed = panel->keptImage().copy();

    // A clear repaints the picture inside its rectangle.
    panel->drawLine(0, 100, 887, 100);
    panel->drawLine(0, 0, 887, 0);
    panel->clear();
    EXPECT_EQ(panel->keptImage(), placed);
    panel->drawLine(0, 100, 887, 100);
    panel->clear(0, 100, 400, 1);
    EXPECT_EQ(at(*panel, 399, 100), placed.pixel(399, 100));
    EXPECT_EQ(at(*panel, 400, 100), kPen);

    // A smaller picture is centred, not enlarged.
    QImage small(101, 51, QImage::Format_RGB32);
    small.fill(qRgb(0, 255, 0));
    QByteArray smallFile;
    QBuffer smallBuffer(&smallFile);
    smallBuffer.open(QIODevice::WriteOnly);
    small.save(&smallBuffer, "BMP");
    panel->setBackPicture(smallFile);
    // (887 - 101) / 2 = 393, (256 - 51) / 2 = 102: x 393 to 493, y 102 to 152.
    EXPECT_EQ(at(*panel, 393, 102), qRgb(0, 255, 0));
    EXPECT_EQ(at(*panel, 392, 102), kBack);
    EXPECT_EQ(at(*panel, 393, 101), kBack);
    EXPECT_EQ(at(*panel, 493, 152), qRgb(0, 255, 0));
    EXPECT_EQ(at(*panel, 494, 152), kBack);
    EXPECT_EQ(at(*panel, 493, 153), kBack);

    // Bytes that are no picture leave the back colour.
    panel->setBackPicture(QByteArray("not a picture"));
    EXPECT_EQ(at(*panel, 443, 128), kBack);
    panel->setBackPicture({});
    EXPECT_EQ(at(*panel, 443, 128), kBack);
}

TEST(DrawPanel, DrawingOnAHiddenPanelLandsInTheKeptImage) {
    QWidget window;
    window.resize(950, 300);
    auto* panel = new DrawPanel(&window, QStringLiteral("DrawPanel1"), QRect(1, 1, 900, 256),
                                {QColor(kBack), 0, QColor(kPen), QColor(Qt::black)});
    window.show();
    panel->hide();
    ASSERT_FALSE(panel->isVisible());
    panel->drawLine(10, 0, 10, 6);
    panel->writeText(100, 100, QStringLiteral("00:00:00"));
    EXPECT_EQ(penRows(*panel, 10), span(0, 5));
    const QImage snap = decode(panel->snapshot(900, 256));
    EXPECT_EQ(snap.pixel(10, 5), kPen);
    EXPECT_EQ(snap, panel->keptImage());
    int textPixels = 0;
    for (int y = 100; y < 120; ++y) {
        for (int x = 100; x < 160; ++x) textPixels += at(*panel, x, y) != kBack;
    }
    EXPECT_GT(textPixels, 20);
}

TEST(DrawPanel, TextIsDrawnInTheDefaultFontWithATransparentBackground) {
    const auto panel = makePanel(200, 24);
    panel->setPenWidth(0);
    panel->drawLine(0, 18, 200, 18);
    panel->writeText(10, 12, QStringLiteral("00:00:10"));
    const QFontMetrics metrics(QApplication::font());
    int white = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 200; ++x) {
            const QRgb p = at(*panel, x, y);
            if (qGreen(p) > 200) ++white;  // white glyph pixels, antialiased edges aside
            if (p != kBack && p != kPen) {
                EXPECT_GE(y, 12) << x;  // nothing above the top-left corner
                EXPECT_GE(x, 10) << y;
                EXPECT_LT(x, 10 + metrics.horizontalAdvance(QStringLiteral("00:00:10")) + 1);
            }
        }
    }
    EXPECT_GT(white, 10);
    // The line under the text shows between the glyphs.
    EXPECT_EQ(at(*panel, 150, 18), kPen);
    EXPECT_EQ(QApplication::font().pixelSize(), 12);
}

TEST(DrawPanel, ScreenRepaintsCopyTheKeptImageAndAreCoalesced) {
    QWidget window;
    window.resize(950, 300);
    auto* panel = new DrawPanel(&window, QStringLiteral("DrawPanel1"), QRect(1, 1, 900, 256),
                                {QColor(kBack), 0, QColor(kPen), QColor(Qt::black)});
    window.show();
    for (int x = 0; x < 900; ++x) panel->drawLine(x, 0, x, x % 256);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 100) DrawPanel::processPendingEvents();
    EXPECT_EQ(panel->grab().toImage().convertToFormat(QImage::Format_RGB32), panel->keptImage());
}

TEST(DrawPanel, ProcessPendingEventsRunsWaitingWork) {
    int ran = 0;
    QTimer::singleShot(0, [&] { ++ran; });
    QMetaObject::invokeMethod(
        qApp, [&] { ++ran; }, Qt::QueuedConnection);
    DrawPanel::processPendingEvents();
    EXPECT_EQ(ran, 2);
    DrawPanel::processPendingEvents();  // nothing waits: returns at once
    EXPECT_EQ(ran, 2);
}

}  // namespace
}  // namespace veltrona
