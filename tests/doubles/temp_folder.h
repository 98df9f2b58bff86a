#pragma once
// A fresh folder under the system's temp path, removed with everything in it at the end.
#include <filesystem>
#include <random>
#include <string>

class TempFolder {
  public:
    TempFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("fennock-test-" + std::to_string(random()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as the program writes folders: with a final separator.
    std::wstring Slashed() const {
        return path_.wstring() + static_cast<wchar_t>(std::filesystem::path::preferred_separator);
    }

  private:
    std::filesystem::path path_;
};
