#include "app/MainWindow.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QTest>

#include "app/AppState.h"

namespace veltrona {
namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(state);
        window->onWindowCreated();
        window->show();
        QApplication::processEvents();
    }

    QWidget* control(const char* name) { return window->findChild<QWidget*>(name); }

    AppState state;
    std::unique_ptr<MainWindow> window;
};

QColor background(const QWidget* w) {
    return w->palette().color(QPalette::Window);
}
QColor foreground(const QWidget* w) {
    return w->palette().color(QPalette::WindowText);
}

TEST_F(MainWindowTest, EveryControlStartsAsDesigned) {
    const QColor face = QApplication::palette().color(QPalette::Button);
    const struct {
        const char* name;
        const char* parent;
        QRect geometry;
        const char* caption;  // nullptr: not a text control
        bool enabled;
        bool visible;
    } cases[] = {
        {"Button1", "MainWindow", {160, 16, 104, 32}, "选择MP3 WMA WAV", true, true},
        {"Button2", "MainWindow", {288, 16, 96, 32}, "播    放", false, true},
        {"Button3", "MainWindow", {408, 16, 96, 32}, "停    止", false, true},
        {"Label1", "MainWindow", {304, 48, 88, 32}, "标签", true, true},
        {"Label2", "MainWindow", {200, 48, 88, 32}, "标签", true, true},
        {"Label3", "MainWindow", {552, 8, 192, 40}, "", true, true},
        {"Label4", "MainWindow", {20, 339, 10, 10}, "▲", true, true},
        {"ShapeBox1", "MainWindow", {24, 56, 902, 256}, nullptr, true, true},
        {"ShapeBox2", "MainWindow", {24, 56, 1, 255}, nullptr, true, true},
        {"DrawPanel1", "ShapeBox1", {1, 1, 900, 256}, nullptr, true, true},
        {"DrawPanel2", "ShapeBox1", {1, 1, 887, 256}, nullptr, true, true},
        {"DrawPanel3", "MainWindow", {25, 313, 900, 24}, nullptr, true, true},
        {"VScrollBar1", "MainWindow", {936, 56, 16, 256}, nullptr, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget* w = control(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), c.parent);
        EXPECT_EQ(w->geometry(), c.geometry);
        EXPECT_EQ(w->isEnabled(), c.enabled);
        EXPECT_EQ(w->isVisible(), c.visible);
        if (c.caption) {
            QString text;
            if (auto* button = qobject_cast<QPushButton*>(w)) text = button->text();
            if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
            EXPECT_EQ(text, QString::fromUtf8(c.caption));
        }
    }

    EXPECT_EQ(foreground(control("Label1")), QColor(0, 0, 0));
    EXPECT_EQ(foreground(control("Label2")), QColor(0, 0, 0));
    EXPECT_EQ(foreground(control("Label3")), QColor(0, 255, 255));
    EXPECT_EQ(background(control("Label3")), QColor(0, 0, 128));
    EXPECT_EQ(foreground(control("Label4")), QColor(0, 0, 255));
    EXPECT_EQ(background(window.get()), face);
    EXPECT_EQ(window->shapeBox2().outlineColour(), QColor(255, 255, 255));
    EXPECT_EQ(window->findChild<ShapeBox*>("ShapeBox1")->outlineColour(), QColor(0, 0, 0));

    const QFont clock = window->label3().font();
    EXPECT_EQ(clock.pixelSize(), 48);
    EXPECT_EQ(clock.weight(), QFont::Normal);

    const struct {
        DrawPanel* panel;
        QColor back;
        int mode;
        QColor pen;
        QColor text;
    } panels[] = {
        {&window->drawPanel1(), {0, 0, 136}, 0, {0, 0, 0}, {0, 0, 0}},
        {&window->drawPanel2(), {0, 0, 136}, 2, {0, 0, 0}, {0, 0, 0}},
        {&window->drawPanel3(), {0, 128, 128}, 1, {255, 0, 255}, {255, 255, 255}},
    };
    for (const auto& p : panels) {
        SCOPED_TRACE(p.panel->objectName().toStdString());
        EXPECT_EQ(p.panel->backColour(), p.back);
        EXPECT_EQ(p.panel->pictureMode(), p.mode);
        EXPECT_EQ(p.panel->penColour(), p.pen);
        EXPECT_EQ(p.panel->penWidth(), 0);
        EXPECT_EQ(p.panel->textColour(), p.text);
        EXPECT_EQ(p.panel->drawUnit(), DrawPanel::kPixelUnit);
        EXPECT_EQ(p.panel->keptImage().size(), p.panel->size());
        EXPECT_EQ(p.panel->keptImage().pixelColor(0, 0), p.back);
    }

    QScrollBar& bar = window->vScrollBar1();
    EXPECT_EQ(bar.orientation(), Qt::Vertical);
    EXPECT_EQ(bar.minimum(), 1);
    EXPECT_EQ(bar.maximum(), 100);
    EXPECT_EQ(bar.value(), 1);
    EXPECT_EQ(bar.singleStep(), 1);
    EXPECT_EQ(bar.pageStep(), 1);
    EXPECT_TRUE(bar.hasTracking());

    EXPECT_EQ(window->timer1().period(), 0);
    EXPECT_EQ(window->timer2().period(), 0);
    EXPECT_EQ(window->timer1().objectName(), "Timer1");
    EXPECT_EQ(window->timer2().objectName(), "Timer2");
    EXPECT_FLOAT_EQ(state.volume, 1.0f);
    EXPECT_EQ(state.streamHandle, 0u);
    EXPECT_TRUE(state.filePath.empty());
}

TEST_F(MainWindowTest, WindowIsFixedSizeWithCloseBoxOnly) {
    EXPECT_EQ(window->windowTitle(), "Veltrona");
    EXPECT_EQ(window->size(), QSize(976, 396));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
}

TEST_F(MainWindowTest, StackingPutsPlayheadOnTopAndFrameOverLabels) {
    // Later siblings are drawn above earlier ones.
    const QObjectList& children = window->children();
    auto at = [&](const char* name) { return children.indexOf(control(name)); };
    EXPECT_GT(at("ShapeBox2"), at("ShapeBox1"));
    EXPECT_GT(at("ShapeBox1"), at("Label1"));
    EXPECT_GT(at("ShapeBox1"), at("Label2"));
    // DrawPanel1 covers DrawPanel2 until the first load.
    const QObjectList& inFrame = control("ShapeBox1")->children();
    EXPECT_GT(inFrame.indexOf(control("DrawPanel1")), inFrame.indexOf(control("DrawPanel2")));
}

TEST_F(MainWindowTest, EveryCaptionFitsItsControl) {
    for (const char* name : {"Button1", "Button2", "Button3", "Label1", "Label2", "Label4"}) {
        SCOPED_TRACE(name);
        QWidget* w = control(name);
        QString text;
        if (auto* button = qobject_cast<QPushButton*>(w)) text = button->text();
        if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
        const QFontMetrics metrics(w->font());
        EXPECT_LE(metrics.horizontalAdvance(text), w->width());
    }
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), "WenQuanYi Zen Hei Mono");
    EXPECT_EQ(QApplication::font().pixelSize(), 12);
}

TEST_F(MainWindowTest, EscapeClosesTheWindowFromAnyControl) {
    window->button1().setFocus();
    QTest::keyClick(&window->button1(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace veltrona
