// A fresh temporary folder for tests that read real files, removed with its
// contents afterwards. Made with the standard library alone, so the same
// tests run on Windows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

struct TempFolder {
    std::string path = [] {
        std::random_device entropy;
        std::mt19937_64 names((uint64_t{entropy()} << 32) | entropy());
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path folder =
                base / ("tidemoor-test-" + std::to_string(names()));
            std::error_code error;
            if (std::filesystem::create_directory(folder, error))
                return folder.string();
        }
        return std::string();
    }();

    TempFolder() = default;
    TempFolder(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }

    // Writes bytes to path/name as they are; returns the file's path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path + "/" + name, std::ios::binary) << bytes;
        return path + "/" + name;
    }
};
