// readFile: whole regular files into one zero-terminated buffer; anything
// else is refused without blocking.
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "resources/text_file.h"

namespace {

class ReadFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = (std::filesystem::temp_directory_path() / "tidemoor-text-XXXXXX").string();
        ASSERT_NE(mkdtemp(dir.data()), nullptr);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
        return dir + "/" + name;
    }

    std::string dir;
};

TEST_F(ReadFileTest, ReadsWholeFileWithTerminatingZero) {
    std::string source = "#version 150\r\nvoid main() {}\n";
    TextFile file;
    ASSERT_TRUE(readFile(write("a.vs", source).c_str(), &file));
    EXPECT_EQ(file.length, int32_t(source.size()));
    EXPECT_EQ(std::string(file.text), source);
    releaseTextFile(file);
    EXPECT_EQ(file.text, nullptr);
    EXPECT_EQ(file.length, -1);

    ASSERT_TRUE(readFile(write("empty", "").c_str(), &file));
    EXPECT_EQ(file.length, 0);
    ASSERT_NE(file.text, nullptr);
    EXPECT_EQ(file.text[0], '\0');
    releaseTextFile(file);
}

TEST_F(ReadFileTest, FailuresClearRecordExceptForNullArguments) {
    TextFile file{nullptr, 7};
    EXPECT_FALSE(readFile(nullptr, &file));
    EXPECT_EQ(file.length, 7);
    EXPECT_FALSE(readFile((dir + "/missing").c_str(), &file));
    EXPECT_EQ(file.text, nullptr);
    EXPECT_EQ(file.length, -1);
}

// Regression: a directory or FIFO was opened and read (a FIFO blocked forever).
TEST_F(ReadFileTest, RefusesDirectoriesFifosAndDevices) {
    std::string fifo = dir + "/pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {dir, fifo, std::string("/dev/zero")}) {
        TextFile file;
        EXPECT_FALSE(readFile(path.c_str(), &file)) << path;
        EXPECT_EQ(file.text, nullptr);
        EXPECT_EQ(file.length, -1);
    }
}

} // namespace
