// WAV files exchanged with sox: ours are read by soxi, sox's (with a LIST chunk) by us.
#include "WaveTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

bool soxAvailable() { return std::system("command -v sox >/dev/null 2>&1 && command -v soxi >/dev/null 2>&1") == 0; }

std::string output(const std::string &command) {
    std::unique_ptr<FILE, int (*)(FILE *)> pipe(popen(command.c_str(), "r"), pclose);
    std::string text;
    char chunk[256];
    while (pipe && fgets(chunk, sizeof chunk, pipe.get())) text += chunk;
    return text;
}

bool containsListChunk(const Bytes &file) {
    const std::string text(file.begin(), file.end());
    return text.find("LIST") != std::string::npos;
}

// Puts an INFO list with an odd-sized comment after "WAVE" (before "fmt ") and before "data",
// as editors do, and corrects the RIFF size.
Bytes withListChunks(const Bytes &file) {
    Bytes list = {'L', 'I', 'S', 'T'};
    putLe32(list, 4 + 8 + 11);
    list.insert(list.end(), {'I', 'N', 'F', 'O', 'I', 'C', 'M', 'T'});
    putLe32(list, 11);
    const std::string comment = "made by sox";
    list.insert(list.end(), comment.begin(), comment.end());
    list.push_back(0);  // pad byte of the odd comment
    const std::string text(file.begin(), file.end());
    const std::size_t data = text.find("data");
    Bytes result(file.begin(), file.begin() + 12);
    result.insert(result.end(), list.begin(), list.end());
    result.insert(result.end(), file.begin() + 12, file.begin() + static_cast<long>(data));
    result.insert(result.end(), list.begin(), list.end());
    result.insert(result.end(), file.begin() + static_cast<long>(data), file.end());
    const std::uint32_t riffSize = static_cast<std::uint32_t>(result.size() - 8);
    for (int i = 0; i < 4; ++i) result[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    return result;
}

}  // namespace

TEST_F(WaveFileTest, SoxReadsTheFilesWeWrite) {
    if (!soxAvailable()) GTEST_SKIP() << "sox is not on PATH";
    MMHANDLE block = makeWaveBlock(2, 16, 44100, samplePattern(4 * 4410));
    ASSERT_EQ(MMWaveWriteFile(block, path("ours.wav").c_str()), 0u);
    MMMemFree(block);
    const std::string file = path("ours.wav");
    EXPECT_EQ(output("soxi -c '" + file + "'"), "2\n");
    EXPECT_EQ(output("soxi -r '" + file + "'"), "44100\n");
    EXPECT_EQ(output("soxi -b '" + file + "'"), "16\n");
    EXPECT_EQ(output("soxi -s '" + file + "'"), "4410\n");
    EXPECT_EQ(std::system(("sox '" + file + "' -n stat 2>/dev/null").c_str()), 0);
}

TEST_F(WaveFileTest, WeReadSoxFilesWithAListChunk) {
    if (!soxAvailable()) GTEST_SKIP() << "sox is not on PATH";
    const std::string file = path("sox.wav");
    ASSERT_EQ(std::system(("sox -n -r 44100 -c 2 -b 16 --comment 'made by sox' '" + file +
                           "' synth 0.1 sine 1000 2>/dev/null").c_str()), 0);
    // Debian's sox writes no LIST chunk for a comment; add them then, and let sox confirm that
    // the file is still a valid WAV before we read it.
    if (!containsListChunk(readFile("sox.wav"))) writeFile("sox.wav", withListChunks(readFile("sox.wav")));
    ASSERT_TRUE(containsListChunk(readFile("sox.wav")));
    ASSERT_EQ(output("soxi -s '" + file + "'"), "4410\n");
    MMHANDLE block = nullptr;
    ASSERT_EQ(MMWaveReadFile(&block, file.c_str()), 0u);
    const WaveContents contents = contentsOf(block);
    EXPECT_EQ(contents.channels, 2);
    EXPECT_EQ(contents.bits, 16);
    EXPECT_EQ(contents.rate, 44100);
    EXPECT_EQ(contents.length, 4410 * 4);  // 0.1 s of 2-channel 16-bit frames
    MMMemFree(block);
}
