#pragma once
// File-system tasks of the program, written once over std::filesystem (which takes wide
// paths on Windows). None of them throws: failures come back as false.
#include <filesystem>
#include <string>

namespace platform {

// A wide path as the standard library's path. Through UTF-8: converted by the "C" locale a
// wide path loses every non-ASCII character on Linux, while the char8_t form is exact on
// both systems.
std::filesystem::path FileSystemPath(const std::wstring& path);

bool FileExists(const std::wstring& path);
bool IsDirectory(const std::wstring& path);
// Creates the folder and every missing parent; true when it exists afterwards.
bool CreateFolders(const std::wstring& path);
bool ReadWholeFile(const std::wstring& path, std::string& contents);
// Replaces the file's contents; false (and the file possibly missing) on failure.
bool WriteWholeFile(const std::wstring& path, const std::string& contents);
// Adds to the end of the file, creating it when missing.
bool AppendToFile(const std::wstring& path, const std::string& contents);
bool RenameFile(const std::wstring& from, const std::wstring& to);
// Moves the file over an existing one in a single step, so that a reader (or a run killed
// half-way) sees either the old file or the new one, never a part of either. Both paths are
// in the same folder.
bool MoveFileOver(const std::wstring& from, const std::wstring& to);
// Writes the contents beside the file (its name + ".tmp") and moves them over it once they
// are complete; on failure the old file is left as it was and the partial one removed.
bool WriteFileReplacing(const std::wstring& path, const std::string& contents);
bool RemoveFile(const std::wstring& path);

}  // namespace platform
