#include "display/DrawPanel.h"

#include <QApplication>
#include <QBuffer>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "import/integerPart.h"

namespace veltrona {
namespace {

// Repaints of the screen wait this long, so that a burst of drawing costs
// about one repaint per frame.
constexpr int kRepaintDelayMs = 16;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// a / b to the nearest whole number, halves upward; b > 0.
std::int64_t nearestDiv(__int128 a, std::int64_t b) {
    const __int128 twice = 2 * a + b;
    const __int128 den = 2 * static_cast<__int128>(b);
    __int128 q = twice / den;
    if (twice % den != 0 && twice < 0) --q;
    return static_cast<std::int64_t>(q);
}

// The half-open range [lo, hi) clamped to [0, limit).
void clampRange(std::int64_t& lo, std::int64_t& hi, std::int64_t limit) {
    lo = std::max<std::int64_t>(lo, 0);
    hi = std::min<std::int64_t>(hi, limit);
}

}  // namespace

DrawPanel::DrawPanel(QWidget* parent, const QString& name, QRect geometry, const Settings& settings)
    : QWidget(parent),
      settings_(settings),
      kept_(geometry.size(), QImage::Format_RGB32),
      penColour_(settings.penColour),
      penRgb_(settings.penColour.rgb()) {
    setObjectName(name);
    setGeometry(geometry);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    kept_.fill(settings_.backColour.rgb());
    repaintTimer_.setSingleShot(true);
    repaintTimer_.setInterval(kRepaintDelayMs);
    connect(&repaintTimer_, &QTimer::timeout, this, [this] { flushRepaint(); });
}

void DrawPanel::setDrawUnit(int unit) {
    drawUnit_ = unit;
}

void DrawPanel::setPenColour(const QColor& colour) {
    if (colour == penColour_) return;
    penColour_ = colour;
    penRgb_ = colour.rgb();
}

void DrawPanel::setPenWidth(int width) {
    penWidth_ = width;
}

int DrawPanel::fineToPixel(int fine) {
    // fine / 23.5 = 2 fine / 47; nearest is floor((4 fine + 47) / 94).
    return static_cast<int>(floorDiv(4 * static_cast<std::int64_t>(fine) + 47, 94));
}

int DrawPanel::toPixel(int v) const {
    return drawUnit_ == kFineUnit ? fineToPixel(v) : v;
}

void DrawPanel::drawLine(int x1, int y1, int x2, int y2) {
    paintLinePixels(toPixel(x1), toPixel(y1), toPixel(x2), toPixel(y2));
}

void DrawPanel::fillPixels(QRect pixels, QRgb colour) {
    pixels &= kept_.rect();
    if (pixels.isEmpty()) return;
    const qsizetype stride = kept_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    QRgb* row = reinterpret_cast<QRgb*>(kept_.bits()) + pixels.top() * stride + pixels.left();
    const int width = pixels.width();
    for (int y = pixels.top(); y <= pixels.bottom(); ++y, row += stride) {
        std::fill(row, row + width, colour);
    }
    touch(pixels);
}

// The line rule: every pixel from the start up to but not including the end.
// Along the major axis each step paints a span of the pen's width across it.
void DrawPanel::paintLinePixels(std::int64_t x1, std::int64_t y1, std::int64_t x2,
                                std::int64_t y2) {
    const std::int64_t w = std::max(penWidth_, 1);
    const std::int64_t dx = x2 - x1;
    const std::int64_t dy = y2 - y1;
    if (dx == 0 && dy == 0) return;
    const std::int64_t width = kept_.width();
    const std::int64_t height = kept_.height();

    // Straight lines are single rectangles.
    if (dx == 0 || dy == 0) {
        std::int64_t left, right, top, bottom;  // half-open
        if (dx == 0) {
            top = dy > 0 ? y1 : y2 + 1;
            bottom = dy > 0 ? y2 : y1 + 1;
            left = x1 - w / 2;
            right = left + w;
        } else {
            left = dx > 0 ? x1 : x2 + 1;
            right = dx > 0 ? x2 : x1 + 1;
            top = y1 - w / 2;
            bottom = top + w;
        }
        clampRange(left, right, width);
        clampRange(top, bottom, height);
        if (left >= right || top >= bottom) return;
        fillPixels(QRect(static_cast<int>(left), static_cast<int>(top),
                         static_cast<int>(right - left), static_cast<int>(bottom - top)),
                   penRgb_);
        return;
    }

    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t major1 = xMajor ? x1 : y1;
    const std::int64_t minor1 = xMajor ? y1 : x1;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const std::int64_t majorSign = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const std::int64_t majorLimit = xMajor ? width : height;
    // Only the steps whose major coordinate lies on the panel.
    std::int64_t first, last;
    if (majorSign > 0) {
        first = -major1;
        last = majorLimit - major1;
    } else {
        first = major1 - majorLimit + 1;
        last = major1 + 1;
    }
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, steps);
    for (std::int64_t i = first; i < last; ++i) {
        const std::int64_t major = major1 + majorSign * i;
        const std::int64_t minor =
            minor1 + nearestDiv(static_cast<__int128>(i) * minorDelta, steps) - w / 2;
        if (minor + w <= 0 || minor >= (xMajor ? height : width)) continue;
        const QRect span =
            xMajor
                ? QRect(static_cast<int>(major), static_cast<int>(minor), 1, static_cast<int>(w))
                : QRect(static_cast<int>(minor), static_cast<int>(major), static_cast<int>(w), 1);
        fillPixels(span, penRgb_);
    }
}

void DrawPanel::paintPlacedPicture(const QRect& pixels) {
    if (placedPicture_.isNull()) return;
    const QRect target = pixels & QRect(picturePos_, placedPicture_.size());
    if (target.isEmpty()) return;
    QPainter painter(&kept_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(target.topLeft(), placedPicture_, target.translated(-picturePos_));
}

void DrawPanel::clear(std::optional<int> left, std::optional<int> top, std::optional<int> width,
                      std::optional<int> height) {
    const std::int64_t l = left.value_or(0);
    const std::int64_t t = top.value_or(0);
    std::int64_t r = width ? l + *width : kept_.width();
    std::int64_t b = height ? t + *height : kept_.height();
    std::int64_t lo = l, to = t;
    clampRange(lo, r, kept_.width());
    clampRange(to, b, kept_.height());
    if (lo >= r || to >= b) return;
    const QRect rect(static_cast<int>(lo), static_cast<int>(to), static_cast<int>(r - lo),
                     static_cast<int>(b - to));
    fillPixels(rect, settings_.backColour.rgb());
    paintPlacedPicture(rect);
}

void DrawPanel::writeText(int x, int y, const QString& text) {
    const QPoint topLeft(toPixel(x), toPixel(y));
    const QFont font = QApplication::font();
    const QFontMetrics metrics(font);
    {
        QPainter painter(&kept_);
        painter.setFont(font);
        painter.setPen(settings_.textColour);
        painter.drawText(topLeft.x(), topLeft.y() + metrics.ascent(), text);
    }
    const QRect box(topLeft, QSize(metrics.horizontalAdvance(text), metrics.height()));
    touch(box.adjusted(-2, -2, 2, 2));
}

QByteArray DrawPanel::snapshot(int width, int height) const {
    if (width <= 0 || height <= 0) return {};
    const QImage image =
        (width == kept_.width() && height == kept_.height())
            ? kept_
            : kept_.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

void DrawPanel::setBackPicture(const QByteArray& pictureFile) {
    backPicture_ = pictureFile;
    placedPicture_ = QImage();
    picturePos_ = QPoint(0, 0);
    QImage picture;
    if (!pictureFile.isEmpty() && picture.loadFromData(pictureFile)) {
        picture = picture.convertToFormat(QImage::Format_RGB32);
        const int panelW = kept_.width();
        const int panelH = kept_.height();
        if (settings_.pictureMode == 2) {
            if (picture.width() > panelW || picture.height() > panelH) {
                const double t = std::min(static_cast<double>(panelW) / picture.width(),
                                          static_cast<double>(panelH) / picture.height());
                const int w = std::max(integerPart(picture.width() * t), 1);
                const int h = std::max(integerPart(picture.height() * t), 1);
                picture = picture.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            }
            picturePos_ = QPoint((panelW - picture.width()) / 2, (panelH - picture.height()) / 2);
        }
        placedPicture_ = picture;
    }
    kept_.fill(settings_.backColour.rgb());
    paintPlacedPicture(kept_.rect());
    touch(kept_.rect());
}

void DrawPanel::touch(const QRect& pixels) {
    dirty_ |= pixels & kept_.rect();
    if (!repaintTimer_.isActive()) repaintTimer_.start();
}

void DrawPanel::flushRepaint() {
    if (dirty_.isEmpty()) return;
    const QRect rect = dirty_;
    dirty_ = QRect();
    update(rect);
}

void DrawPanel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& rect : event->region()) painter.drawImage(rect.topLeft(), kept_, rect);
}

void DrawPanel::processPendingEvents() {
    QCoreApplication::processEvents();
}

}  // namespace veltrona
