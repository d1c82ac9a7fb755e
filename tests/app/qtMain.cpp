// GoogleTest main for tests that need a QApplication (offscreen platform).
#include <gtest/gtest.h>
#include <QApplication>

#include "app/prepareApplication.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    veltrona::prepareApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
