#pragma once

// MainWindow and its sixteen controls, with one handler per control event.
// Everything runs on the window thread. The load command lets events run
// while it decodes and draws; it disables Button1 for that time and defers a
// close request until it has unwound.

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <functional>

#include "app/AppState.h"
#include "app/OpenFileDialog.h"
#include "app/ShapeBox.h"
#include "display/DrawPanel.h"
#include "playback/PlaybackControls.h"
#include "playback/Timer.h"

namespace veltrona {

class MainWindow : public QWidget {
    Q_OBJECT

  public:
    // The design's outer size (frame and caption included) and the client
    // area that leaves: 3-pixel borders and a 23-pixel caption.
    static constexpr int kOuterWidth = 982;
    static constexpr int kOuterHeight = 425;
    static constexpr int kClientWidth = 976;
    static constexpr int kClientHeight = 396;

    explicit MainWindow(AppState& state);
    ~MainWindow() override;

    // The created handler: runs once the window and all controls exist,
    // before any user input.
    void onWindowCreated();

    // The control event handlers.
    void onLoadClicked();
    void onPlayClicked();
    void onStopClicked();
    void onVolumeChanged(int position);
    void onTimer1Tick();
    void onTimer2Tick();

    // Shows an error or notice; tests replace it to answer without a person.
    using MessageSink = std::function<void(const QString& title, const QString& text)>;
    void setMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

    OpenFileDialog& commonDlg1() { return commonDlg1_; }
    AppState& state() { return state_; }
    bool isLoading() const { return loading_; }

    QPushButton& button1() { return *button1_; }
    QPushButton& button2() { return *button2_; }
    QPushButton& button3() { return *button3_; }
    QLabel& label3() { return *label3_; }
    QLabel& label4() { return *label4_; }
    ShapeBox& shapeBox2() { return *shapeBox2_; }
    DrawPanel& drawPanel1() { return *drawPanel1_; }
    DrawPanel& drawPanel2() { return *drawPanel2_; }
    DrawPanel& drawPanel3() { return *drawPanel3_; }
    QScrollBar& vScrollBar1() { return *vScrollBar1_; }
    Timer& timer1() { return *timer1_; }
    Timer& timer2() { return *timer2_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void onWindowClosing();
    void showMessage(const QString& text);
    bool pumpEvents();
    void finishFailedLoad(bool hadFile);

    AppState& state_;
    QPushButton* button1_;
    QPushButton* button2_;
    QPushButton* button3_;
    QLabel* label1_;
    QLabel* label2_;
    QLabel* label3_;
    QLabel* label4_;
    ShapeBox* shapeBox1_;
    ShapeBox* shapeBox2_;
    DrawPanel* drawPanel1_;
    DrawPanel* drawPanel2_;
    DrawPanel* drawPanel3_;
    QScrollBar* vScrollBar1_;
    Timer* timer1_;
    Timer* timer2_;
    OpenFileDialog commonDlg1_;
    PlaybackControls controls_;
    MessageSink messageSink_;

    bool loading_ = false;
    bool closeRequested_ = false;
    bool engineReleased_ = false;
    bool silentNoticeShown_ = false;
};

}  // namespace veltrona
