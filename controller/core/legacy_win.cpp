#include "core/legacy_win.h"

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>

namespace {

// Deletes by name alone, so each name is completed by the current directory: the legacy
// folder. ".", ".." and subfolders cannot be deleted and stay.
void DeleteFilesOfCurrentFolder(const char* folder) {
    char pattern[MAX_PATH];
    std::strcpy(pattern, folder);
    PathAppendA(pattern, "*.*");
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        DeleteFileA(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

} // namespace

void CleanLegacyFolder(const char* savedDirectory) {
    char folder[MAX_PATH] = {};
    // Without the Program Files folder the path would be relative: then nothing is touched.
    if (SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, folder) !=
            S_OK ||
        !PathAppendA(folder, "Tarvik\\Wintrel"))
        return;
    // Files are deleted only while the legacy folder really is the current directory.
    if (SetCurrentDirectoryA(folder))
        DeleteFilesOfCurrentFolder(folder);
    SetCurrentDirectoryA(savedDirectory);
    RemoveDirectoryA(folder);
    PathRemoveFileSpecA(folder);
    RemoveDirectoryA(folder);
}
