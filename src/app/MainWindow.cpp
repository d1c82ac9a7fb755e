#include "app/MainWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>

#include "app/loadFailureText.h"
#include "display/drawTimeRuler.h"
#include "display/drawWaveform.h"
#include "engine/engine.h"
#include "import/importAudio.h"
#include "import/openAudioFile.h"
#include "playback/changeVolume.h"
#include "playback/onClockTick.h"
#include "playback/onPlayheadTick.h"
#include "playback/play.h"
#include "playback/stop.h"

namespace veltrona {
namespace {

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);

QPushButton* makeButton(QWidget* parent, const char* name, QRect geometry, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoDefault(false);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, QRect geometry, const char* caption,
                  QColor text, std::optional<QColor> back) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setWordWrap(false);
    label->setFrameShape(QFrame::NoFrame);
    label->setMargin(0);
    label->setIndent(0);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, text);
    if (back) {
        palette.setColor(QPalette::Window, *back);
        label->setAutoFillBackground(true);
    }
    label->setPalette(palette);
    return label;
}

// "宋体" where the system has it, otherwise the Song/Ming face set-up installs.
QFont clockFont() {
    const QString song = QString::fromUtf8("宋体");
    const QStringList families = QFontDatabase::families();
    QFont font(families.contains(song) ? song : QStringLiteral("AR PL UMing CN"));
    font.setPixelSize(48);
    font.setWeight(QFont::Normal);
    return font;
}

DrawPanel* makePanel(QWidget* parent, const char* name, QRect geometry, QColor back, int mode,
                     QColor pen, QColor text) {
    return new DrawPanel(parent, QString::fromUtf8(name), geometry,
                         DrawPanel::Settings{back, mode, pen, text});
}

// Disables Button1 and shows the busy cursor for the length of a load.
class LoadScope {
  public:
    LoadScope(bool& loading, QPushButton& button1) : loading_(loading), button1_(button1) {
        loading_ = true;
        button1_.setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~LoadScope() {
        QApplication::restoreOverrideCursor();
        button1_.setEnabled(true);
        loading_ = false;
    }
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;

  private:
    bool& loading_;
    QPushButton& button1_;
};

}  // namespace

MainWindow::MainWindow(AppState& state)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      state_(state),
      button1_(makeButton(this, "Button1", {160, 16, 104, 32}, "选择MP3 WMA WAV")),
      button2_(makeButton(this, "Button2", {288, 16, 96, 32}, "播    放")),
      button3_(makeButton(this, "Button3", {408, 16, 96, 32}, "停    止")),
      label1_(makeLabel(this, "Label1", {304, 48, 88, 32}, "标签", kBlack, std::nullopt)),
      label2_(makeLabel(this, "Label2", {200, 48, 88, 32}, "标签", kBlack, std::nullopt)),
      label3_(
          makeLabel(this, "Label3", {552, 8, 192, 40}, "", QColor(0, 255, 255), QColor(0, 0, 128))),
      label4_(makeLabel(this, "Label4", {20, 339, 10, 10}, "▲", QColor(0, 0, 255), std::nullopt)),
      shapeBox1_(new ShapeBox(this, "ShapeBox1", {24, 56, 902, 256}, kBlack)),
      shapeBox2_(new ShapeBox(this, "ShapeBox2", {24, 56, 1, 255}, kWhite)),
      drawPanel1_(makePanel(shapeBox1_, "DrawPanel1", {1, 1, 900, 256}, QColor(0, 0, 136), 0,
                            kBlack, kBlack)),
      drawPanel2_(makePanel(shapeBox1_, "DrawPanel2", {1, 1, 887, 256}, QColor(0, 0, 136), 2,
                            kBlack, kBlack)),
      drawPanel3_(makePanel(this, "DrawPanel3", {25, 313, 900, 24}, QColor(0, 128, 128), 1,
                            QColor(255, 0, 255), kWhite)),
      vScrollBar1_(new QScrollBar(Qt::Vertical, this)),
      timer1_(new Timer(this, "Timer1")),
      timer2_(new Timer(this, "Timer2")),
      controls_{*shapeBox2_, *label4_, *label3_, *timer1_, *timer2_, *drawPanel2_} {
    setObjectName("MainWindow");
    setWindowTitle(QStringLiteral("Veltrona"));
    setFixedSize(kClientWidth, kClientHeight);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);

    label3_->setFont(clockFont());
    // The CJK faces draw "▲" full width (12 pixels); DejaVu Sans draws it 9
    // pixels wide, so the marker fits its 10-pixel label, centred under the line.
    QFont markerFont = QApplication::font();
    markerFont.setFamilies({QStringLiteral("DejaVu Sans"), markerFont.family()});
    label4_->setFont(markerFont);

    // DrawPanel1 covers DrawPanel2 until the first load hides it; the
    // playhead line stands above the waveform frame.
    drawPanel1_->raise();
    shapeBox2_->raise();

    vScrollBar1_->setObjectName("VScrollBar1");
    vScrollBar1_->setGeometry(936, 56, 16, 256);
    vScrollBar1_->setRange(1, 100);
    vScrollBar1_->setValue(1);
    vScrollBar1_->setSingleStep(1);
    vScrollBar1_->setPageStep(1);
    vScrollBar1_->setTracking(true);

    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QSize size = screen->size();
        move((size.width() - kOuterWidth) / 2, (size.height() - kOuterHeight) / 2);
    }

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    connect(button1_, &QPushButton::clicked, this, &MainWindow::onLoadClicked);
    connect(button2_, &QPushButton::clicked, this, &MainWindow::onPlayClicked);
    connect(button3_, &QPushButton::clicked, this, &MainWindow::onStopClicked);
    connect(vScrollBar1_, &QScrollBar::valueChanged, this, &MainWindow::onVolumeChanged);
    connect(timer1_, &Timer::tick, this, &MainWindow::onTimer1Tick);
    connect(timer2_, &Timer::tick, this, &MainWindow::onTimer2Tick);
}

MainWindow::~MainWindow() {
    onWindowClosing();
}

void MainWindow::onWindowCreated() {
    button2_->setEnabled(false);
    button3_->setEnabled(false);
    engine::engineInit(-1, 44100, 0, reinterpret_cast<void*>(winId()), nullptr);
    state_.volume = 1.0f;
}

void MainWindow::onWindowClosing() {
    if (engineReleased_) return;
    engineReleased_ = true;
    timer1_->setPeriod(0);
    timer2_->setPeriod(0);
    engine::engineFree();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (loading_) {
        // The load is somewhere inside its event pauses; it stops at the next
        // one and closes the window once it has unwound.
        closeRequested_ = true;
        event->ignore();
        return;
    }
    onWindowClosing();
    event->accept();
}

void MainWindow::showMessage(const QString& text) {
    if (messageSink_) {
        messageSink_(QStringLiteral("Veltrona"), text);
    } else {
        QMessageBox::warning(this, QStringLiteral("Veltrona"), text);
    }
}

bool MainWindow::pumpEvents() {
    DrawPanel::processPendingEvents();
    return !closeRequested_;
}

void MainWindow::onLoadClicked() {
    if (loading_) return;
    if (!commonDlg1_.open(this)) return;

    const bool hadFile = !state_.filePath.empty();
    {
        LoadScope scope(loading_, *button1_);
        button2_->setEnabled(false);
        button3_->setEnabled(false);
        engine::channelStop(state_.streamHandle);
        engine::streamFree(state_.streamHandle);
        shapeBox2_->move(24, shapeBox2_->y());
        timer1_->setPeriod(0);
        state_.playheadX = 0;

        // The path is stored only once the file has imported, so a failed
        // load leaves the previous file in place.
        const std::string path = commonDlg1_.fileName().toStdString();
        Result<std::ifstream> file = openAudioFile(path);
        const EventPump pump = [this] { return pumpEvents(); };
        Result<LoadedAudio> audio = importAudio(path, file, state_, pump);
        if (!audio.ok()) {
            if (!audio.error().cancelled) {
                QApplication::restoreOverrideCursor();
                showMessage(loadFailureText(commonDlg1_.fileName(), audio.error().cause));
                QApplication::setOverrideCursor(Qt::WaitCursor);
            }
            finishFailedLoad(hadFile);
        } else {
            state_.filePath = path;
            bool drawn = false;
            {
                // Only the drawing needs the samples; they are released
                // before the picture is taken, so the two never add up.
                const LoadedAudio loaded = std::move(audio).value();
                drawn = drawWaveform(loaded, *drawPanel1_, *drawPanel2_, pump);
            }
            if (drawn && pumpEvents()) {
                drawTimeRuler(state_, *drawPanel2_, *drawPanel3_);
                timer2_->setPeriod(400);
                const QByteArray picture =
                    drawPanel1_->snapshot(drawPanel1_->width(), drawPanel1_->height());
                drawPanel2_->setBackPicture(picture);
                drawPanel1_->hide();
                button2_->setEnabled(true);
                button3_->setEnabled(true);
            }
        }
    }
    if (closeRequested_) close();
}

void MainWindow::finishFailedLoad(bool hadFile) {
    button2_->setEnabled(hadFile);
    button3_->setEnabled(hadFile);
}

void MainWindow::onPlayClicked() {
    Result<void> played = play(state_, controls_);
    if (!played.ok()) {
        showMessage(loadFailureText(QString::fromStdString(state_.filePath), played.error().cause));
        return;
    }
    if (silentOutputNoticeDue(silentNoticeShown_)) {
        silentNoticeShown_ = true;
        showMessage(QString::fromUtf8(kSilentOutputNotice));
    }
}

void MainWindow::onStopClicked() {
    stop(state_, controls_);
}

void MainWindow::onVolumeChanged(int position) {
    changeVolume(state_, position);
}

void MainWindow::onTimer1Tick() {
    onPlayheadTick(state_, controls_);
}

void MainWindow::onTimer2Tick() {
    onClockTick(state_, controls_);
    // The device went away while playing: the engine plays on silently and
    // the playhead keeps running; say so once.
    if (timer1_->period() > 0 && silentOutputNoticeDue(silentNoticeShown_)) {
        silentNoticeShown_ = true;
        showMessage(QString::fromUtf8(kDeviceLostNotice));
    }
}

}  // namespace veltrona
