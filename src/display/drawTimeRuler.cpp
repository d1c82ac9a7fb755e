#include "display/drawTimeRuler.h"

#include "display/clockText.h"
#include "display/rulerScale.h"
#include "import/integerPart.h"

namespace veltrona {
namespace {

constexpr int kShortTickEnd = 6;  // rows 0 to 5
constexpr int kLongTickEnd = 10;  // rows 0 to 9
constexpr int kLabelTop = 12;

// The first second after `second` whose tick lies right of `x`; ticks never
// move left as the second grows, so the seconds between draw the same pixels.
std::int64_t nextTickRightOf(std::int64_t second, std::int32_t x, std::int64_t last,
                             double pixelsPerWholeMs) {
    std::int64_t lo = second + 1;
    std::int64_t hi = last + 1;
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (tickX(mid, pixelsPerWholeMs) > x) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

}  // namespace

void drawTimeRuler(AppState& state, const DrawPanel& panel2, DrawPanel& panel3) {
    const RulerScales scales = rulerScales(state.duration, panel2.width());
    state.pixelsPerMs = scales.pixelsPerMs;
    state.pixelsPerWholeMs = scales.pixelsPerWholeMs;

    panel3.clear();
    const std::int32_t n = integerPart(static_cast<double>(state.duration));
    const int spacing = labelSpacing(n);
    std::int64_t t = 0;
    while (t <= n) {
        const std::int32_t x = tickX(t, scales.pixelsPerWholeMs);
        // Ticks never move left, so from the right edge on nothing shows.
        if (x >= panel3.width()) break;
        panel3.drawLine(x, 0, x, kShortTickEnd);
        state.labelSecond = static_cast<std::int32_t>(t);
        if (isLabelSecond(t, spacing)) {
            panel3.drawLine(x, 0, x, kLongTickEnd);
            panel3.writeText(x, kLabelTop,
                             QString::fromStdString(clockText(static_cast<std::int32_t>(t))));
        }
        // Without labels, the seconds that share a tick's x add nothing: skip
        // them, so that a file of millions of seconds still draws at once.
        t = spacing == 0 ? nextTickRightOf(t, x, n, scales.pixelsPerWholeMs) : t + 1;
    }
    if (n >= 0) state.labelSecond = n;
}

}  // namespace veltrona
