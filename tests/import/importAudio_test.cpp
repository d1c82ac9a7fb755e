#include "import/importAudio.h"

#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <algorithm>

#include "import/openAudioFile.h"
#include "testFiles.h"

namespace veltrona {
namespace {

using namespace importtest;

Result<LoadedAudio> importPath(const std::string& path, AppState& state) {
    Result<std::ifstream> file = openAudioFile(path);
    return importAudio(path, file, state, [] { return true; });
}

// Values the import must leave alone when it fails.
AppState markedState() {
    AppState state;
    state.duration = 123.5f;
    state.byteRate = 777;
    state.filePath = "previous.wav";
    return state;
}

void expectUntouched(const AppState& state) {
    EXPECT_EQ(state.duration, 123.5f);
    EXPECT_EQ(state.byteRate, 777);
    EXPECT_EQ(state.filePath, "previous.wav");
}

const Bytes kFmt16 = chunk("fmt ", fmtBody({}));
const Bytes kFmt18 = chunk("fmt ", fmtBody({}, {0x00, 0x00}));

// WAVE_FORMAT_EXTENSIBLE, 16-bit stereo: cbSize 22, valid bits, channel
// mask, then the PCM sub-format GUID.
Bytes extensibleFmt() {
    Bytes extra;
    putLe(extra, 22, 2);
    putLe(extra, 16, 2);
    putLe(extra, 3, 4);
    const Bytes guid{0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                     0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    extra.insert(extra.end(), guid.begin(), guid.end());
    return chunk("fmt ", fmtBody({.formatTag = -2}, extra));
}

// LIST/INFO as the ffmpeg command line writes it: ISFT with an odd-sized
// text, padded.
Bytes listChunk() {
    return chunk("LIST", concat({ascii("INFO"), chunk("ISFT", ascii("Lavf!"))}));
}

struct WavCase {
    const char* name;
    Bytes file;
    std::int32_t dataLength;
    std::size_t pcmOffset;
    std::size_t pcmLength;
    Format format = {};
    std::uint32_t dataChunkId = kDataId;
};

std::vector<WavCase> builtCases() {
    const Format mono22k{.channels = 1, .sampleRate = 22050, .byteRate = 44100, .blockAlign = 2};
    const Format float32{.formatTag = 3, .byteRate = 352800, .blockAlign = 8, .bitsPerSample = 32};
    return {
        {"canonical", riffFile({kFmt16, chunk("data", ramp(8))}), 8, 44, 8},
        {"declared larger than present", riffFile({kFmt16, chunk("data", ramp(8), 100)}), 100, 44,
         8},
        // Every byte after the header is sample data, the LIST chunk's too.
        {"declared smaller, chunk after data",
         riffFile({kFmt16, chunk("data", ramp(8), 4), chunk("LIST", ascii("INFOabcd"))}), 4, 44,
         24},
        {"exactly 44 bytes", riffFile({kFmt16, chunk("data", {}, 1000)}), 1000, 44, 0},
        {"18-byte fmt", riffFile({kFmt18, chunk("data", ramp(8))}), 8, 46, 8, {}, 0x61640000u},
        {"18-byte fmt, declared larger",
         riffFile({kFmt18, chunk("data", ramp(8), 50)}),
         50,
         46,
         8,
         {},
         0x61640000u},
        {"18-byte fmt, negative length",
         riffFile({kFmt18, chunk("data", ramp(8), -8)}),
         -8,
         46,
         0,
         {},
         0x61640000u},
        {"LIST before data", riffFile({kFmt16, listChunk(), chunk("data", ramp(8))}), 8, 70, 8},
        {"fact, odd JUNK and bext before data",
         riffFile({kFmt16, chunk("fact", ramp(4)), chunk("JUNK", Bytes(3, 0)),
                   chunk("bext", Bytes(10, 0x20)), chunk("data", ramp(6))}),
         6, 36 + 12 + 12 + 18 + 8, 6},
        {"EXTENSIBLE 16-bit stereo",
         riffFile({extensibleFmt(), chunk("data", ramp(8))}),
         8,
         68,
         8,
         {.formatTag = -2}},
        // The format fields come from the fmt chunk, wherever it is.
        {"fmt after JUNK",
         riffFile({chunk("JUNK", Bytes(28, 0)), chunk("fmt ", fmtBody(mono22k)),
                   chunk("data", ramp(8))}),
         8, 80, 8, mono22k},
        {"data chunk cut short", riffFile({kFmt16, listChunk(), chunk("data", ramp(8), 20)}), 20,
         70, 8},
        // No data chunk: the value at 42 and the bytes from 46, as for an
        // 18-byte fmt.
        {"no data chunk", riffFile({kFmt18, chunk("DATA", ramp(8))}), 8, 46, 8, {}, 0x41440000u},
        {"no data chunk, negative at 42",
         riffFile({kFmt18, chunk("DATA", ramp(8), -1)}),
         -1,
         46,
         0,
         {},
         0x41440000u},
        {"float samples", riffFile({chunk("fmt ", fmtBody(float32)), chunk("data", ramp(16))}), 16,
         44, 16, float32},
    };
}

TEST(ImportWav, BuiltLayouts) {
    TempDir dir;
    for (const WavCase& c : builtCases()) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.write("case.wav", c.file);
        AppState state;
        Result<LoadedAudio> result = importPath(path, state);
        ASSERT_TRUE(result.ok()) << result.error().cause;
        const LoadedAudio& audio = result.value();

        EXPECT_EQ(audio.dataLength, c.dataLength);
        // pcmData is a view onto the whole file's bytes.
        EXPECT_EQ(audio.bytes, c.file);
        EXPECT_EQ(audio.pcmOffset, c.pcmOffset);
        EXPECT_EQ(audio.pcmLength, c.pcmLength);
        EXPECT_EQ(audio.pcmData().data(), audio.bytes.data() + c.pcmOffset);

        const FmtChunk& fmt = audio.header.fmt;
        EXPECT_EQ(fmt.formatTag, c.format.formatTag);
        EXPECT_EQ(fmt.channels, c.format.channels);
        EXPECT_EQ(fmt.sampleRate, c.format.sampleRate);
        EXPECT_EQ(fmt.byteRate, c.format.byteRate);
        EXPECT_EQ(fmt.blockAlign, c.format.blockAlign);
        EXPECT_EQ(fmt.bitsPerSample, c.format.bitsPerSample);
        EXPECT_EQ(audio.header.data.chunkId, c.dataChunkId);
        EXPECT_EQ(audio.blockAlign, c.format.blockAlign);

        const float duration =
            static_cast<float>(static_cast<double>(c.dataLength) / c.format.byteRate);
        EXPECT_EQ(audio.duration, duration);
        EXPECT_EQ(state.duration, duration);
        EXPECT_EQ(state.byteRate, c.format.byteRate);
    }
}

TEST(ImportWav, EveryTruncatedFileImportsOrFailsWithinItsBytes) {
    TempDir dir;
    for (const WavCase& c : builtCases()) {
        SCOPED_TRACE(c.name);
        for (std::size_t size = 0; size <= c.file.size(); ++size) {
            const std::string path =
                dir.write("cut.wav", Bytes(c.file.begin(), c.file.begin() + size));
            AppState state;
            Result<LoadedAudio> result = importPath(path, state);
            if (size < 44) {
                EXPECT_FALSE(result.ok()) << size;
                continue;
            }
            if (!result.ok()) continue;
            const LoadedAudio& audio = result.value();
            EXPECT_LE(audio.pcmOffset + audio.pcmLength, audio.bytes.size()) << size;
        }
    }
}

TEST(ImportWav, NegativeLengthGivesNegativeDuration) {
    TempDir dir;
    const std::string path = dir.write("neg.wav", riffFile({kFmt18, chunk("data", {}, -176400)}));
    AppState state;
    Result<LoadedAudio> result = importPath(path, state);
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.value().pcmData().empty());
    EXPECT_EQ(result.value().duration, -1.0f);
    EXPECT_EQ(state.duration, -1.0f);
}

TEST(ImportWav, FixtureFiles) {
    const struct {
        const char* name;
        std::int32_t dataLength;
        std::int16_t channels, bits;
        std::int32_t byteRate, blockAlign;
        float duration;
    } cases[] = {
        {"tone_stereo16.wav", 176400, 2, 16, 176400, 4, 1.0f},
        {"tone_mono16.wav", 88200, 1, 16, 88200, 2, 1.0f},
        {"tone_mono8.wav", 44100, 1, 8, 44100, 1, 1.0f},
        {"tone_stereo8.wav", 88200, 2, 8, 88200, 2, 1.0f},
        {"tone_mono16_22k.wav", 44100, 1, 16, 44100, 2, 1.0f},
        {"tone_stereo24.wav", 264600, 2, 24, 264600, 6, 1.0f},
        {"tone_stereo16_10s.wav", 1764000, 2, 16, 176400, 4, 10.0f},
        {"ffmpeg_list.wav", 176400, 2, 16, 176400, 4, 1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state;
        Result<LoadedAudio> result = importPath(fixture(c.name), state);
        ASSERT_TRUE(result.ok()) << result.error().cause;
        const LoadedAudio& audio = result.value();
        EXPECT_EQ(audio.dataLength, c.dataLength);
        EXPECT_EQ(audio.pcmData().size(), static_cast<std::size_t>(c.dataLength));
        EXPECT_EQ(audio.header.fmt.channels, c.channels);
        EXPECT_EQ(audio.header.fmt.bitsPerSample, c.bits);
        EXPECT_EQ(audio.blockAlign, c.blockAlign);
        EXPECT_EQ(audio.duration, c.duration);
        EXPECT_EQ(state.byteRate, c.byteRate);
        EXPECT_EQ(state.duration, c.duration);
    }
}

TEST(ImportWav, FfmpegListFileHasTheSameSamplesAsTheCanonicalOne) {
    AppState state;
    Result<LoadedAudio> listed = importPath(fixture("ffmpeg_list.wav"), state);
    Result<LoadedAudio> canonical = importPath(fixture("tone_stereo16.wav"), state);
    ASSERT_TRUE(listed.ok());
    ASSERT_TRUE(canonical.ok());
    const auto a = listed.value().pcmData();
    const auto b = canonical.value().pcmData();
    ASSERT_EQ(a.size(), b.size());
    EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin()));
    EXPECT_NE(std::count(a.begin(), a.end(), 0), static_cast<std::ptrdiff_t>(a.size()));
}

TEST(ImportWav, FailuresAreReportedAndLeaveTheStateAlone) {
    TempDir dir;
    const Bytes canonical = riffFile({kFmt16, chunk("data", ramp(8))});
    Bytes notRiff = canonical;
    notRiff[3] = 'X';
    Bytes notWave = canonical;
    notWave[8] = 'A';
    const struct {
        const char* name;
        Bytes file;
        const char* cause;
    } cases[] = {
        {"empty", {}, "文件太短，不足 44 字节"},
        {"43 bytes", Bytes(canonical.begin(), canonical.begin() + 43), "文件太短，不足 44 字节"},
        {"not RIFF", notRiff, "不是 WAV 文件（缺少 RIFF/WAVE 标记）"},
        {"not WAVE", notWave, "不是 WAV 文件（缺少 RIFF/WAVE 标记）"},
        {"text", Bytes(60, 'a'), "不是 WAV 文件（缺少 RIFF/WAVE 标记）"},
        {"byte rate 0", riffFile({chunk("fmt ", fmtBody({.byteRate = 0})), chunk("data", ramp(8))}),
         "字节率无效"},
        {"negative byte rate",
         riffFile({chunk("fmt ", fmtBody({.byteRate = -176400})), chunk("data", ramp(8))}),
         "字节率无效"},
        {"block align 0",
         riffFile({chunk("fmt ", fmtBody({.blockAlign = 0})), chunk("data", ramp(8))}),
         "块对齐无效"},
        {"block align 0xFFFF",
         riffFile({chunk("fmt ", fmtBody({.blockAlign = -1})), chunk("data", ramp(8))}),
         "块对齐无效"},
        // Without a fmt chunk the canonical reading finds zeros.
        {"no fmt chunk", riffFile({chunk("JUNK", Bytes(24, 0)), chunk("data", ramp(8))}),
         "字节率无效"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.write("bad.wav", c.file);
        AppState state = markedState();
        Result<LoadedAudio> result = importPath(path, state);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().cause, c.cause);
        EXPECT_FALSE(result.error().cancelled);
        expectUntouched(state);
    }
}

TEST(ImportWav, FilesThatCannotBeOpenedAreReportedForEveryKind) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("folder.wav"));
    const struct {
        std::string path;
        const char* cause;
    } cases[] = {
        {dir.file("missing.wav"), "无法打开文件：文件不存在"},
        {dir.file("missing.mp3"), "无法打开文件：文件不存在"},
        {dir.file("missing.WMA"), "无法打开文件：文件不存在"},
        {dir.file("folder.wav"), "无法打开文件：这是一个文件夹，不是文件"},
        {dir.file("missing/inside.wav"), "无法打开文件：文件不存在"},
        {"", "无法打开文件：文件不存在"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        AppState state = markedState();
        Result<LoadedAudio> result = importPath(c.path, state);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().cause, c.cause);
        expectUntouched(state);
    }
}

// Sets the immutable attribute, which even root cannot open for writing,
// and clears it again at the end.
class ImmutableFile {
  public:
    explicit ImmutableFile(const std::string& path) : path_(path) { set(FS_IMMUTABLE_FL); }
    ~ImmutableFile() {
        if (active_) set(0);
    }
    bool active() const { return active_; }

  private:
    void set(int flags) {
        const int fd = ::open(path_.c_str(), O_RDONLY);
        if (fd < 0) return;
        active_ = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0 && flags != 0;
        ::close(fd);
    }
    std::string path_;
    bool active_ = false;
};

TEST(ImportWav, ReadOnlyFilesImportAndReadWhole) {
    TempDir dir;
    const std::string path = dir.copy(fixture("tone_stereo16.wav"), "readonly.wav");
    ::chmod(path.c_str(), 0444);
    const ImmutableFile locked(path);
    if (locked.active()) {
        // The file really refuses write access, so only a read-only open works.
        EXPECT_FALSE(std::ofstream(path, std::ios::app).is_open());
    }

    AppState state;
    Result<LoadedAudio> result = importPath(path, state);
    ASSERT_TRUE(result.ok()) << result.error().cause;
    EXPECT_EQ(result.value().dataLength, 176400);

    Result<Bytes> whole = readWholeFile(path);
    ASSERT_TRUE(whole.ok()) << whole.error().cause;
    EXPECT_EQ(whole.value(), readBytes(fixture("tone_stereo16.wav")));
    if (!locked.active()) GTEST_SKIP() << "could not make the file immutable; checked 0444 only";
}

TEST(ImportWav, ReadWholeFileReportsItsCause) {
    TempDir dir;
    Result<Bytes> missing = readWholeFile(dir.file("nothing.wav"));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().cause, "无法打开文件：文件不存在");
    Result<Bytes> empty = readWholeFile(dir.write("empty.wav", {}));
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(empty.value().empty());
}

TEST(AudioKind, ChosenByTheLastThreeBytesIgnoringAsciiCase) {
    const struct {
        const char* path;
        AudioKind kind;
    } cases[] = {
        {"/music/a.mp3", AudioKind::Mp3},
        {"/music/SONG.MP3", AudioKind::Mp3},
        {"x.Mp3", AudioKind::Mp3},
        {"mp3", AudioKind::Mp3},
        {"a.wma", AudioKind::Wma},
        {"a.Wma", AudioKind::Wma},
        {"A.WMA", AudioKind::Wma},
        {"a.wav", AudioKind::Wav},
        {"a.mp4", AudioKind::Wav},
        {"a.mp3 ", AudioKind::Wav},
        {"p3", AudioKind::Wav},
        {"", AudioKind::Wav},
        {"a.xmp3", AudioKind::Mp3},
        {"a.m\xC3\xA5"
         "3",
         AudioKind::Wav},
    };
    for (const auto& c : cases) EXPECT_EQ(audioKindOf(c.path), c.kind) << c.path;
}

}  // namespace
}  // namespace veltrona
