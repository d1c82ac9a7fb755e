// GoogleTest main for display tests: a QApplication on the offscreen platform
// with the program's default GUI font (12 pixels, a CJK-capable sans face).
#include <gtest/gtest.h>
#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QFont font(QStringLiteral("WenQuanYi Zen Hei"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
