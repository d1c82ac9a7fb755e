#pragma once

namespace veltrona {

// Application-wide settings made once the QApplication exists: the name and
// the design's 12-pixel GUI font, in a face that has the captions' Chinese
// glyphs. Window thread.
void prepareApplication();

}  // namespace veltrona
