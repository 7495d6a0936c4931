// The one whole-file reader and the readers built on it: regular files only,
// read whole and zero-terminated, anything else refused without blocking.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "resources/file_bytes.h"
#include "resources/text_file.h"
#include "resources/tga_image.h"
#include "support/temp_folder.h"

TEST(ReadFileBytes, ReadsRegularFilesWholeAndZeroTerminated) {
    TempFolder dir;
    const std::string source = "#version 150\r\nvoid main() {}\n";
    const std::string path = dir.write("a.vs", source);
    FileBytes bytes;
    ASSERT_TRUE(readFileBytes(path.c_str(), bytes));
    EXPECT_EQ(bytes.text(), source);
    EXPECT_EQ(bytes.bytes[bytes.size], '\0');
    ASSERT_TRUE(readFileBytes(dir.write("empty", "").c_str(), bytes));
    EXPECT_TRUE(bytes.size == 0 && bytes.bytes != nullptr && bytes.bytes[0] == '\0');

    TextFile file;
    ASSERT_TRUE(readFile(path.c_str(), &file));
    EXPECT_EQ(std::string(file.text, file.length + 1), source + '\0');
    releaseTextFile(file);
}

// A directory or FIFO must not be opened and read: a FIFO without a writer
// would block forever.
TEST(ReadFileBytes, RefusesMissingAndIrregularFilesWithoutBlocking) {
    TempFolder dir;
#if defined(_WIN32)
    const std::vector<std::string> paths = {dir.file("missing"), dir.path.string(), "NUL"};
#else
    const std::string fifo = dir.file("pipe.tga");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::string> paths = {dir.file("missing"), dir.path.string(), fifo,
                                            "/dev/null", "/dev/zero"};
#endif
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        FileBytes bytes;
        EXPECT_FALSE(readFileBytes(path.c_str(), bytes));
        TextFile file{nullptr, 7};
        EXPECT_TRUE(!readFile(path.c_str(), &file) && file.text == nullptr && file.length == -1);
        TgaImage image{3, 4, nullptr, 99};
        EXPECT_TRUE(!loadTga(path.c_str(), &image) && image.width == 3); // untouched
    }
}
