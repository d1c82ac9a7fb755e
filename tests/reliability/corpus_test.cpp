// Every file of the malformed corpus, loaded through the real window: each
// load ends either in a drawn picture or in the error message, within a
// bounded time and memory, and matches the outcome make_corpus expects. A
// drawn file is then played and stopped.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "WindowHarness.h"
#include "engine/engine.h"

namespace veltrona::test {
namespace {

struct CorpusFile {
    std::string name;
    std::string outcome;  // drawn, error or either
    std::string what;
};

std::vector<CorpusFile> readManifest() {
    std::vector<CorpusFile> files;
    std::ifstream manifest(corpusDir() + "/manifest.tsv");
    std::string line;
    while (std::getline(manifest, line)) {
        std::istringstream fields(line);
        CorpusFile file;
        std::getline(fields, file.name, '\t');
        std::getline(fields, file.outcome, '\t');
        std::getline(fields, file.what);
        files.push_back(file);
    }
    return files;
}

// Generous bounds: a load of these small files takes well under a second.
constexpr qint64 kLoadBoundMs = 60'000;
constexpr std::size_t kLoadMemoryBoundKiB = 128 * 1024;

TEST(MalformedCorpus, EveryFileEndsDrawnOrInTheErrorMessage) {
    const std::vector<CorpusFile> files = readManifest();
    ASSERT_GE(files.size(), 30u);
    // The lists in the corpus name files by relative paths.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(corpusDir());

    WindowHarness harness;
    const QString good = fixturePath("tone_stereo16.wav");
    harness.load(good);
    ASSERT_TRUE(harness.messages.empty());
    std::string expectedPath = good.toStdString();

    int drawn = 0;
    int errors = 0;
    int playErrors = 0;
    for (const CorpusFile& file : files) {
        SCOPED_TRACE(file.name + ": " + file.what);
        const std::string path = corpusDir() + "/" + file.name;
        const std::size_t messagesBefore = harness.messages.size();
        const std::size_t residentBefore = residentKiB();
        resetPeakResident();
        QElapsedTimer clock;
        clock.start();
        harness.load(QString::fromStdString(path));
        const qint64 ms = clock.elapsed();
        const std::size_t grownKiB =
            peakResidentKiB() - std::min(peakResidentKiB(), residentBefore);

        MainWindow& window = harness.window();
        const bool failed = harness.messages.size() > messagesBefore;
        const std::string outcome = failed ? "error" : "drawn";
        std::cout << "corpus: " << file.name << " " << outcome << " in " << ms << " ms, +"
                  << grownKiB / 1024 << " MiB\n";
        EXPECT_LT(ms, kLoadBoundMs);
        EXPECT_LT(grownKiB, kLoadMemoryBoundKiB);
        if (file.outcome != "either") {
            EXPECT_EQ(outcome, file.outcome);
        }
        EXPECT_FALSE(window.isLoading());
        EXPECT_TRUE(window.button1().isEnabled());
        EXPECT_EQ(engine::engineStreamCount(), 0u);

        if (failed) {
            ++errors;
            ASSERT_EQ(harness.messages.size(), messagesBefore + 1);
            EXPECT_TRUE(harness.messages.back().contains(QString::fromStdString(file.name)));
            EXPECT_EQ(harness.state().filePath, expectedPath);
            EXPECT_TRUE(window.button2().isEnabled());
            continue;
        }
        ++drawn;
        expectedPath = path;
        EXPECT_EQ(harness.state().filePath, path);
        EXPECT_FALSE(window.drawPanel1().isVisible());
        EXPECT_TRUE(window.button2().isEnabled());
        EXPECT_TRUE(window.button3().isEnabled());
        EXPECT_EQ(window.timer2().period(), 400);

        // Play reads the file again; it plays or says why it cannot.
        const std::size_t beforePlay = harness.messages.size();
        window.button2().click();
        runEventsFor(30);
        window.button3().click();
        EXPECT_EQ(engine::engineStreamCount(), 0u);
        EXPECT_EQ(window.timer1().period(), 0);
        for (std::size_t i = beforePlay; i < harness.messages.size(); ++i) {
            if (harness.messages[i].startsWith(QString::fromUtf8("没有找到"))) continue;
            ++playErrors;
            std::cout << "corpus: " << file.name
                      << " refused by Play: " << harness.messages[i].toStdString() << "\n";
        }
    }
    std::filesystem::current_path(before);
    std::cout << "corpus: " << files.size() << " files, " << drawn << " drawn, " << errors
              << " errors; " << playErrors << " of the drawn files refused by Play\n";
    RecordProperty("files", static_cast<int>(files.size()));
    RecordProperty("drawn", drawn);
    RecordProperty("errors", errors);
}

}  // namespace
}  // namespace veltrona::test
