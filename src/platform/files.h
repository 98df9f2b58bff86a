#pragma once
// File-system tasks of the program, written once over std::filesystem (which takes wide
// paths on Windows). None of them throws: failures come back as false.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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
bool RemoveFile(const std::wstring& path);

// The name with a random part appended that nobody can guess ahead of the run, for a file
// that is written whole and then renamed: a name known in advance could be taken first by
// another local user, with a link or a pipe.
std::wstring UnguessableName(const std::wstring& name);

// --- Per system (linux/file_writes.cpp, windows/file_writes.cpp) ---

// Writes the contents to a new file of an unguessable name beside the file and moves it
// over the file in one step once complete, so that a reader (or a run killed half-way) sees
// the old file or the new one, never a part of either. On failure the old file is left as
// it was and the partial one removed. A link in the file's place is replaced, not followed.
bool WriteFileReplacing(const std::wstring& path, const std::string& contents);

// Creates the folder, with its missing parents, for this program's private files (the
// database, the template, the lock) and checks that no other user could change what is in
// it: on Linux it must be this user's, not a link, and writable by nobody else. Empty when it
// can be used; otherwise the reason, as the end of a sentence that names the folder ("belongs
// to another user").
std::wstring PrepareOwnFolder(const std::wstring& folder);

struct NamedBytes {
    std::wstring name;
    std::string_view bytes;
};
// Writes the files, each as WriteFileReplacing does, into the folder `name` directly inside
// `parent` (which ends with the separator), created for them when missing. A link (or
// reparse point) in that place, or a folder of another user's, is left as it is and nothing
// is written: whoever made it would choose where the files go. Empty on success; otherwise
// the reason, as PrepareOwnFolder gives it.
std::wstring WriteIntoOwnSubfolder(const std::wstring& parent, const std::wstring& name,
                                   const std::vector<NamedBytes>& files);

}  // namespace platform
