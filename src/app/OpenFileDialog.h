#pragma once

// CommonDlg1: the open-file dialog. It keeps the last chosen full path and
// shows it as the next initial file name. Tests replace the question with an
// answerer of their own. Window thread.

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

namespace veltrona {

class OpenFileDialog {
  public:
    // Description and patterns of the one filter.
    static constexpr const char* kFilter = "*.wav;*.wma;*.mp3 (*.wav *.wma *.mp3)";

    // Answers with the chosen full path, or nothing when cancelled.
    using Answerer = std::function<std::optional<QString>(QWidget* parent, const QString& initial)>;

    // True when the user confirmed a file; fileName() is then its full path.
    bool open(QWidget* parent);
    const QString& fileName() const { return fileName_; }
    // The folder shown when no file was chosen yet; empty means the current one.
    void setStartFolder(const QString& folder) { startFolder_ = folder; }
    void setAnswerer(Answerer answerer) { answerer_ = std::move(answerer); }

  private:
    QString fileName_;
    QString startFolder_;
    Answerer answerer_;
};

}  // namespace veltrona
