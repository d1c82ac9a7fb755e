#include "display/drawWaveform.h"

#include "display/WaveformLayout.h"
#include "display/frameStep.h"
#include "import/integerPart.h"

namespace veltrona {
namespace {

// The renderer's own scale of the fine unit, held in single precision.
constexpr float kFinePerPixel = 23.5f;
// Columns drawn, always: trunc(23.5 x 900).
constexpr std::int32_t kColumnsDrawn = 21150;

void drawGrid(WaveformLayout layout, DrawPanel& panel) {
    panel.setDrawUnit(DrawPanel::kPixelUnit);
    panel.setPenColour(QColor::fromRgb(kGridColour));
    for (const GridLine& line : gridLinesOf(layout, panel.width(), panel.height())) {
        panel.setPenWidth(line.width);
        panel.drawLine(line.x1, line.y1, line.x2, line.y2);
    }
    panel.setPenWidth(0);
}

}  // namespace

bool drawWaveform(const LoadedAudio& audio, DrawPanel& panel1, DrawPanel& panel2,
                  const EventPump& pump) {
    const std::int32_t columnCount =
        truncToInt32(panel1.width() * static_cast<double>(kFinePerPixel));
    panel1.clear();
    panel2.clear();

    const auto layout = waveformLayoutOf(audio.header.fmt.channels, audio.header.fmt.bitsPerSample);
    if (!layout) return true;
    drawGrid(*layout, panel1);

    const float step = frameStep(frameCountOf(audio.dataLength, audio.blockAlign), columnCount);
    const std::span<const std::uint8_t> pcm = audio.pcmData();
    panel1.setDrawUnit(DrawPanel::kFineUnit);
    Stroke strokes[4];
    for (std::int32_t j = 1; j <= kColumnsDrawn; ++j) {
        const std::int32_t frame = framePosition(j, step);
        const ColumnValues values = columnValuesAt(*layout, pcm.data(), pcm.size(), frame);
        const int count = strokesOf(*layout, values, strokes);
        const int x = j - 1;
        for (int s = 0; s < count; ++s) {
            panel1.setPenColour(QColor::fromRgb(strokes[s].colour));
            panel1.drawLine(x, strokes[s].y1, x, strokes[s].y2);
        }
        if (pump && !pump()) return false;
    }
    return true;
}

}  // namespace veltrona
