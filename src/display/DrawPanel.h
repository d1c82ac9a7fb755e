#pragma once

// A drawing surface that keeps an off-screen image of its whole area. The
// kept image is the truth: every operation changes it at once, and the
// widget's paint event copies it. Screen repaints are coalesced to about 60 a
// second: the touched rectangles are gathered and a 16 ms single-shot timer
// asks for one repaint of them. Drawing on a hidden panel still lands in the
// kept image.
// Window thread only.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <optional>

namespace veltrona {

class DrawPanel : public QWidget {
    Q_OBJECT

  public:
    // Units of drawLine and writeText coordinates. Any value other than 2
    // counts as pixels.
    static constexpr int kPixelUnit = 0;
    static constexpr int kFineUnit = 2;
    // Fine units per pixel, on every display.
    static constexpr double kFinePerPixel = 23.5;

    struct Settings {
        QColor backColour;
        int pictureMode = 0;  // 2: centred, scaled down to fit
        QColor penColour;
        QColor textColour;
    };

    DrawPanel(QWidget* parent, const QString& name, QRect geometry, const Settings& settings);

    int drawUnit() const { return drawUnit_; }
    void setDrawUnit(int unit);
    QColor penColour() const { return penColour_; }
    void setPenColour(const QColor& colour);
    // Pen width in pixels, whatever the unit; 0 (or less) draws 1 pixel wide.
    // A line of width w covers w pixels across its path, from w / 2 before
    // it: width 4 on row 128 covers rows 126 to 129.
    int penWidth() const { return penWidth_; }
    void setPenWidth(int width);
    QColor backColour() const { return settings_.backColour; }
    int pictureMode() const { return settings_.pictureMode; }
    QColor textColour() const { return settings_.textColour; }

    // A line in the current unit with the current pen. The start point is
    // painted, the end point is not; outside the panel is clipped.
    void drawLine(int x1, int y1, int x2, int y2);
    // Fills a rectangle (pixels, whatever the unit) with the back colour and
    // the part of the back picture that falls in it. Left and top default to
    // 0; a given width or height puts the right or bottom edge at left + width
    // or top + height, else at the panel's edge. What lies outside the panel
    // is ignored.
    void clear(std::optional<int> left = {}, std::optional<int> top = {},
               std::optional<int> width = {}, std::optional<int> height = {});
    // Single-line text, top-left at (x, y) in the current unit, in the default
    // GUI font, text colour, transparent background.
    void writeText(int x, int y, const QString& text);
    // BMP file bytes ("BM" ...) of the kept image, scaled to width x height
    // (exact at the panel's own size).
    QByteArray snapshot(int width, int height) const;
    // Stores the picture (any file format Qt reads, BMP included) and rebuilds
    // the kept image as the back colour plus the picture placed by the picture
    // mode. What was drawn before is lost. Mode 2 centres the picture, scaled
    // down smoothly by min(width / picture width, height / picture height)
    // when it does not fit, both sizes truncated; other modes place it at the
    // top-left corner unscaled. Bytes that are no picture leave the back colour.
    void setBackPicture(const QByteArray& pictureFile);
    const QByteArray& backPicture() const { return backPicture_; }
    // Lets the window handle every event that is waiting. With none waiting
    // it costs about half a microsecond, so it may run after every column.
    static void processPendingEvents();

    const QImage& keptImage() const { return kept_; }
    // Direct access for fast drawing paths; call touch() on what changed.
    QImage& keptImageForDrawing() { return kept_; }
    void touch(const QRect& pixels);

    // Fine units to the nearest pixel at exactly 23.5 fine units per pixel.
    // An integer fine unit never lies exactly halfway between two pixels
    // (fine / 23.5 = 2 x fine / 47, and 4 x fine is never an odd multiple of
    // 47), so no rounding of halves arises; the formula would round them up.
    static int fineToPixel(int fine);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int toPixel(int v) const;
    void fillPixels(QRect pixels, QRgb colour);
    void paintLinePixels(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2);
    void paintPlacedPicture(const QRect& pixels);
    void flushRepaint();

    Settings settings_;
    QImage kept_;
    QByteArray backPicture_;
    QImage placedPicture_;  // the back picture as placed on the panel
    QPoint picturePos_;
    int drawUnit_ = kPixelUnit;
    QColor penColour_;
    QRgb penRgb_ = 0;
    int penWidth_ = 0;
    QRect dirty_;
    QTimer repaintTimer_;
};

}  // namespace veltrona
