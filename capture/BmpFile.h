#pragma once
// Saving a bitmap as a BMP file in its own bit depth.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "win/Platform.h"

// Where a file's bytes go, in order, as they are made.
using ByteSink = std::function<void(const std::uint8_t* data, std::size_t size)>;

// What every save of ours reports for a file it cannot make: "Cannot create file "<path>".",
// then why, in the user's terms where the system's text would mislead (saveplace::FailureText).
[[noreturn]] void SaveError(const std::wstring& path, DWORD code);
// The same for a folder that a save would make; fileInTheWay names a file that has the name of
// one of the folders needed.
[[noreturn]] void FolderError(const std::wstring& path, DWORD code,
                              const std::wstring& fileInTheWay = {});
// The full path of path (a failure throws as SaveError).
std::wstring FullPath(const std::wstring& path);
// The form of a full path that the file functions take beyond MAX_PATH, whatever the system's
// own long-path setting.
std::wstring LongPath(const std::wstring& full);

// The file's bytes for a bitmap (with its palette, when it carries one), handed to the sink in
// pieces as they are read: the headers, then strips of rows. An empty bitmap gives no bytes.
// Throws win::Error when the bitmap cannot be read.
void StreamBitmapFile(HBITMAP bitmap, HPALETTE palette, const ByteSink& sink);
// The same bytes, written to the file as WriteFileReplacing does.
void SaveBitmapFile(const std::wstring& path, HBITMAP bitmap, HPALETTE palette);

// How a finished file takes an existing target's place: ReplaceFileW's arguments, the backup
// name always given. A test stands in for the platform with the outcomes it documents.
using ReplaceFileCall = BOOL (*)(const wchar_t* replaced, const wchar_t* replacement,
                                 const wchar_t* backup);
BOOL PlatformReplaceFile(const wchar_t* replaced, const wchar_t* replacement,
                         const wchar_t* backup);

// Writes the bytes to a temporary file in the target's folder and then puts it in place of the
// target, so a failed write (full disk, lost rights) never destroys an existing file; a target
// that another program holds open for a moment is waited for, about a second. Throws win::Error
// with the reason; the temporary file is removed again on failure.
void WriteFileReplacing(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
// The same, with the bytes handed to the sink by produce as they are made; what produce throws
// is passed on, with the target untouched.
void WriteFileReplacingFrom(const std::wstring& path,
                            const std::function<void(const ByteSink&)>& produce,
                            ReplaceFileCall replace = PlatformReplaceFile);
