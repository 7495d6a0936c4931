// Temporary folder trees for tests that read files by relative path, such as
// the shaders in "../Shader/": a fresh folder removed afterwards, and a
// working-directory change undone at scope exit.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace gltest {

// A new, empty folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TempTree {
public:
    TempTree() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tidemoor-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            root_ = pattern;
        }
    }
    ~TempTree() {
        std::error_code ignored;
        if (!root_.empty()) {
            std::filesystem::remove_all(root_, ignored);
        }
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // Empty when the folder could not be made.
    const std::filesystem::path& root() const { return root_; }

    // Writes bytes to root/relative, making the folders on the way; returns
    // the full path.
    std::string write(const std::string& relative, std::string_view bytes) const {
        std::filesystem::path path = root_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    // Makes root/relative (and its parents); returns the full path.
    std::string makeDirectory(const std::string& relative) const {
        std::filesystem::path path = root_ / relative;
        std::filesystem::create_directories(path);
        return path.string();
    }

private:
    std::filesystem::path root_;
};

// Changes the working directory for the lifetime of the object.
class ScopedWorkingDirectory {
public:
    explicit ScopedWorkingDirectory(const std::filesystem::path& to)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(to);
    }
    ~ScopedWorkingDirectory() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

} // namespace gltest
