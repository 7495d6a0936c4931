// Folders for tests that read files by relative path: a fresh temporary one,
// removed with its contents afterwards, and a spell in another one.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace gltest {

struct TempTree {
    std::filesystem::path root = [] {
        std::string pattern = std::filesystem::temp_directory_path() / "tidemoor-test-XXXXXX";
        return mkdtemp(pattern.data()) != nullptr ? pattern : "";
    }();

    TempTree() = default;
    TempTree(const TempTree&) = delete;
    ~TempTree() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    // Writes root/relative, making its folders; returns the full path.
    std::string write(const std::string& relative, const std::string& bytes) const {
        std::filesystem::create_directories((root / relative).parent_path());
        std::ofstream(root / relative, std::ios::binary) << bytes;
        return root / relative;
    }
};

// Runs run with folder (made when missing) as the working directory.
template <typename Run>
void inFolder(const std::filesystem::path& folder, Run run) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    run();
    std::filesystem::current_path(previous);
}

} // namespace gltest
