#include "platform/files.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>

#include "util/utf.h"

namespace platform {
namespace fs = std::filesystem;

fs::path FileSystemPath(const std::wstring& path) {
    const std::string utf8 = WideToUtf8(path);
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

bool FileExists(const std::wstring& path) {
    std::error_code error;
    return fs::exists(FileSystemPath(path), error);
}

bool IsDirectory(const std::wstring& path) {
    std::error_code error;
    return fs::is_directory(FileSystemPath(path), error);
}

bool CreateFolders(const std::wstring& path) {
    std::error_code error;
    fs::create_directories(FileSystemPath(path), error);
    return IsDirectory(path);
}

bool ReadWholeFile(const std::wstring& path, std::string& contents) {
    std::ifstream in(FileSystemPath(path), std::ios::binary);
    if (!in)
        return false;
    // In blocks, not a character at a time: a described machine runs to tens of megabytes.
    // Not sized from the file beforehand, so a pipe or a file that grows is read to its end.
    contents.clear();
    std::array<char, 64 * 1024> block;
    while (in.read(block.data(), block.size()) || in.gcount() > 0)
        contents.append(block.data(), static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

namespace {

bool WriteWithMode(const std::wstring& path, const std::string& contents, std::ios::openmode mode) {
    std::ofstream out(FileSystemPath(path), std::ios::binary | mode);
    if (!out)
        return false;
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    out.close();
    return !out.fail();
}

}  // namespace

bool WriteWholeFile(const std::wstring& path, const std::string& contents) {
    return WriteWithMode(path, contents, std::ios::trunc);
}

bool AppendToFile(const std::wstring& path, const std::string& contents) {
    return WriteWithMode(path, contents, std::ios::app);
}

bool RenameFile(const std::wstring& from, const std::wstring& to) {
    std::error_code error;
    fs::rename(FileSystemPath(from), FileSystemPath(to), error);
    return !error;
}

// std::random_device draws from the system's own generator (getrandom, rand_s), which is
// what makes the name unguessable; 64 bits leave nothing to try in advance.
std::wstring UnguessableName(const std::wstring& name) {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::random_device random;
    std::wstring out = name + L'.';
    for (int word = 0; word < 2; ++word) {
        std::uint32_t bits = random();
        for (int digit = 0; digit < 8; ++digit, bits >>= 4)
            out += kDigits[bits & 0xF];
    }
    return out + L".tmp";
}

bool RemoveFile(const std::wstring& path) {
    std::error_code error;
    return fs::remove(FileSystemPath(path), error) && !error;
}

}  // namespace platform
