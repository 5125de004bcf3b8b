#pragma once
// Writing the settings file whole: the new bytes go to a file of their own beside the old one,
// reach the disk, and then take the old file's place in one step of the file system, so a crash
// or a power loss leaves the old file or the new one, never a mix.
#include <functional>
#include <string>
#include <string_view>

#include "win/Platform.h"

namespace settings {

// Runs once the new file is written whole beside the old one, before it takes its place; false
// stops the save there as a failed replace would. A test stands in here to see what a crash at
// that moment would leave, or to make the replace fail.
using BeforeReplace = std::function<bool()>;

// Reads the whole file: ERROR_SUCCESS with its bytes, ERROR_FILE_NOT_FOUND for a missing file (or
// folder), or the reason it cannot be read; another program holding it is waited for, about a
// second. A file beyond MaxFileBytes counts as unreadable: no settings file grows so large, and
// reading one whole would cost the memory.
inline constexpr long long MaxFileBytes = 16ll << 20;
DWORD ReadWholeFile(const std::wstring& path, std::string& bytes);

// Puts bytes in the file's place as described above; ERROR_SUCCESS or the reason it failed, the
// file then as it was. A read-only file is refused, as the profile functions refuse it. Where
// the folder takes no new file (a file its owner let users write in a folder they may not) or
// another program holds the file so that it cannot be replaced, the file is written in place as
// the profile functions always wrote it: those saves work as before, without the single step.
// The file's folder is made again when it has gone (the user's settings folder, deleted while
// the program runs).
DWORD WriteWholeFile(const std::wstring& path, std::string_view bytes,
                     const BeforeReplace& beforeReplace = {});

}  // namespace settings
