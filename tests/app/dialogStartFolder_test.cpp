#include "app/dialogStartFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

namespace veltrona {
namespace {

TEST(DialogStartFolder, BuildTreeThenMusicThenHome) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString home = scratch.filePath("home");
    const QString program = scratch.filePath("program");
    ASSERT_TRUE(QDir().mkpath(home));
    ASSERT_TRUE(QDir().mkpath(program));
    setenv("HOME", home.toUtf8().constData(), 1);
    setenv("XDG_CONFIG_HOME", scratch.filePath("config").toUtf8().constData(), 1);
    unsetenv("XDG_MUSIC_DIR");

    // Installed, with no Music folder: the home folder.
    EXPECT_EQ(dialogStartFolder(program), home);

    // Installed, with a Music folder: that folder.
    ASSERT_TRUE(QDir().mkpath(home + "/Music"));
    EXPECT_EQ(dialogStartFolder(program), home + "/Music");

    // In the build tree: the program's folder, beside the demo files.
    QFile cache(program + "/CMakeCache.txt");
    ASSERT_TRUE(cache.open(QIODevice::WriteOnly));
    cache.close();
    EXPECT_EQ(dialogStartFolder(program), program);
}

}  // namespace
}  // namespace veltrona
