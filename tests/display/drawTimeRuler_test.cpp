#include "display/drawTimeRuler.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QPainter>

#include <cmath>
#include <memory>
#include <set>
#include <vector>

namespace veltrona {
namespace {

const QRgb kBack = qRgb(0, 128, 128);
const QRgb kMagenta = qRgb(255, 0, 255);

struct Ruler {
    AppState state;
    std::unique_ptr<DrawPanel> panel2 = std::make_unique<DrawPanel>(
        nullptr, QStringLiteral("DrawPanel2"), QRect(1, 1, 887, 256),
        DrawPanel::Settings{QColor(0, 0, 136), 2, QColor(Qt::black), QColor(Qt::black)});
    std::unique_ptr<DrawPanel> panel3 = std::make_unique<DrawPanel>(
        nullptr, QStringLiteral("DrawPanel3"), QRect(25, 313, 900, 24),
        DrawPanel::Settings{QColor(kBack), 1, QColor(kMagenta), QColor(Qt::white)});

    explicit Ruler(float duration) {
        state.duration = duration;
        state.labelSecond = 7;
        panel3->drawLine(0, 20, 900, 20);  // left from a previous load
        drawTimeRuler(state, *panel2, *panel3);
    }
    QRgb at(int x, int y) const { return panel3->keptImage().pixel(x, y); }
    // Magenta rows of column x.
    std::vector<int> tickRows(int x) const {
        std::vector<int> rows;
        for (int y = 0; y < 24; ++y) {
            if (at(x, y) == kMagenta) rows.push_back(y);
        }
        return rows;
    }
    // Near-white pixels of label text in columns [from, to).
    int textPixels(int from, int to) const {
        int count = 0;
        for (int y = 0; y < 24; ++y) {
            for (int x = std::max(from, 0); x < std::min(to, 900); ++x) {
                count += qRed(at(x, y)) > 200 && qGreen(at(x, y)) > 200;
            }
        }
        return count;
    }
};

const std::vector<int> kShort = {0, 1, 2, 3, 4, 5};
const std::vector<int> kLong = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

TEST(DrawTimeRuler, TenSecondsDrawsElevenLabelledTicks) {
    Ruler ruler(10.0f);
    EXPECT_DOUBLE_EQ(ruler.state.pixelsPerMs, 0.0887);
    EXPECT_DOUBLE_EQ(ruler.state.pixelsPerWholeMs, 0.0887);
    EXPECT_EQ(ruler.state.labelSecond, 10);

    // Expected picture: back colour, the long ticks, and each label written
    // with its top-left corner at (x, 12) in the default font.
    QImage expected(900, 24, QImage::Format_RGB32);
    expected.fill(kBack);
    const int xs[] = {0, 88, 177, 266, 354, 443, 532, 620, 709, 798, 887};
    for (int x : xs) {
        for (int y = 0; y < 10; ++y) expected.setPixel(x, y, kMagenta);
    }
    {
        QPainter painter(&expected);
        painter.setFont(QApplication::font());
        painter.setPen(Qt::white);
        const int ascent = QFontMetrics(QApplication::font()).ascent();
        for (int t = 0; t <= 10; ++t) {
            painter.drawText(xs[t], 12 + ascent,
                             QStringLiteral("00:00:%1").arg(t, 2, 10, QChar('0')));
        }
    }
    EXPECT_EQ(ruler.panel3->keptImage(), expected);
}

TEST(DrawTimeRuler, TickPositionsFor3Point7Seconds) {
    Ruler ruler(3.7f);  // 3.70000005: 3700 whole milliseconds, n = 3
    EXPECT_DOUBLE_EQ(ruler.state.pixelsPerWholeMs, 887.0 / 3700.0);
    const std::set<int> xs = {0, 239, 479, 719};
    for (int x = 0; x < 900; ++x) {
        EXPECT_EQ(ruler.tickRows(x), xs.count(x) ? kLong : std::vector<int>{}) << x;
    }
    for (int x : xs) EXPECT_GT(ruler.textPixels(x, x + 50), 10) << x;
    EXPECT_EQ(ruler.state.labelSecond, 3);
}

TEST(DrawTimeRuler, LabelSpacingByLength) {
    const struct {
        float duration;
        int every;
    } cases[] = {
        {30.0f, 2}, {100.0f, 5},  {300.0f, 20}, {15.0f, 2},
        {60.0f, 5}, {120.0f, 20}, {14.0f, 1},   {399.0f, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.duration << " s");
        Ruler ruler(c.duration);
        const int n = static_cast<int>(c.duration);
        const double perSecond = 887.0 / (n * 1000.0) * 1000.0;
        int labels = 0;
        for (int t = 0; t <= n; ++t) {
            const int x = static_cast<int>(std::trunc(t * perSecond));
            const bool labelled = t % c.every == 0;
            labels += labelled;
            EXPECT_EQ(ruler.at(x, 3), kMagenta) << "second " << t;
            EXPECT_EQ(ruler.at(x, 8) == kMagenta, labelled) << "second " << t;
            if (labelled && x < 880) {
                EXPECT_GT(ruler.textPixels(x, x + 50), 10) << "second " << t;
            }
        }
        int longTicks = 0;
        for (int x = 0; x < 900; ++x) longTicks += ruler.at(x, 8) == kMagenta;
        EXPECT_EQ(longTicks, labels);
        EXPECT_EQ(ruler.state.labelSecond, n);
    }
}

TEST(DrawTimeRuler, ShortAndEmptyDurationsStillLabelSecondZero) {
    const struct {
        float duration;
        double perMs, perWholeMs;
    } cases[] = {
        {0.5f, 1.774, 1.774},
        {0.0f, 0.0, 0.0},                                                 // no finite scale
        {0.0004f, 887.0 / (static_cast<double>(0.0004f) * 1000.0), 0.0},  // 0 whole ms
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.duration << " s");
        Ruler ruler(c.duration);
        EXPECT_DOUBLE_EQ(ruler.state.pixelsPerMs, c.perMs);
        EXPECT_DOUBLE_EQ(ruler.state.pixelsPerWholeMs, c.perWholeMs);
        EXPECT_EQ(ruler.state.labelSecond, 0);
        EXPECT_EQ(ruler.tickRows(0), kLong);
        for (int x = 1; x < 900; ++x) ASSERT_TRUE(ruler.tickRows(x).empty()) << x;
        EXPECT_GT(ruler.textPixels(0, 50), 10);
    }
}

TEST(DrawTimeRuler, LongFilesGetABandOfShortTicksAndNoLabels) {
    const struct {
        float duration;
        int lastX;  // the band of short ticks runs from x = 0 to here
        std::int32_t lastSecond;
    } cases[] = {
        {3600.0f, 887, 3600},
        // Whole milliseconds clamp to the int32 range from about 596 hours
        // on, so the ticks run past the panel's right edge.
        {2.0e9f, 899, 2000000000},
        {3.0e9f, 899, 2147483647},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.duration << " s");
        Ruler ruler(c.duration);
        for (int x = 0; x < 900; ++x) {
            ASSERT_EQ(ruler.tickRows(x), x <= c.lastX ? kShort : std::vector<int>{}) << x;
        }
        EXPECT_EQ(ruler.textPixels(0, 900), 0);
        EXPECT_EQ(ruler.state.labelSecond, c.lastSecond);
    }
    // 400 seconds: about 2.2 pixels a second, short ticks only.
    Ruler ruler(400.0f);
    const double perSecond = 887.0 / (400 * 1000.0) * 1000.0;
    std::set<int> xs;
    for (int t = 0; t <= 400; ++t) xs.insert(static_cast<int>(std::trunc(t * perSecond)));
    for (int x = 0; x < 900; ++x) {
        EXPECT_EQ(ruler.tickRows(x), xs.count(x) ? kShort : std::vector<int>{}) << x;
    }
    EXPECT_EQ(ruler.textPixels(0, 900), 0);
    EXPECT_EQ(ruler.state.labelSecond, 400);
}

TEST(DrawTimeRuler, NegativeDurationDrawsNoTicks) {
    Ruler ruler(-1.0f);
    EXPECT_DOUBLE_EQ(ruler.state.pixelsPerMs, -0.887);
    EXPECT_DOUBLE_EQ(ruler.state.pixelsPerWholeMs, -0.887);
    EXPECT_EQ(ruler.state.labelSecond, 7);  // untouched: no tick was drawn
    QImage blank(900, 24, QImage::Format_RGB32);
    blank.fill(kBack);
    EXPECT_EQ(ruler.panel3->keptImage(), blank);
}

}  // namespace
}  // namespace veltrona
