#include "capture/BmpFile.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <utility>
#include <vector>

#include "capture/BmpLayout.h"
#include "capture/SavePlace.h"
#include "win/ErrorReport.h"
#include "win/Gdi.h"
#include "win/Handle.h"
// After the platform header: the known folders' identifiers.
#include <knownfolders.h>
#include <shlobj.h>

namespace {
std::wstring SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const win::LocalMemory owned(buffer);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : L"Error " + std::to_wstring(code);
    while (!text.empty() && (iswspace(text.back()) || text.back() == L'.')) text.pop_back();
    return text;
}

// The folders that Controlled folder access guards on every system where it is on.
std::vector<std::wstring> GuardedFolders() {
    std::vector<std::wstring> folders;
    for (REFKNOWNFOLDERID id :
         {FOLDERID_Documents, FOLDERID_Pictures, FOLDERID_Videos, FOLDERID_Music,
          FOLDERID_Favorites, FOLDERID_PublicDocuments, FOLDERID_PublicPictures,
          FOLDERID_PublicVideos, FOLDERID_PublicMusic}) {
        PWSTR path = nullptr;
        if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path)
            folders.emplace_back(path);
        CoTaskMemFree(path);
    }
    return folders;
}

[[noreturn]] void Fail(saveplace::Failure failure) {
    const auto code = static_cast<DWORD>(failure.code);
    failure.systemText = SystemMessage(code);
    // A drive letter that names nothing: the platform's words would speak of a path or a file.
    if (failure.path.size() >= 2 && failure.path[1] == L':') {
        const std::wstring root = failure.path.substr(0, 2) + L"\\";
        failure.driveMissing = GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR;
    }
    if (code == ERROR_ACCESS_DENIED)
        failure.protectedPlace = saveplace::InsideAny(failure.path, GuardedFolders());
    throw win::Error(saveplace::FailureText(failure));
}

}  // namespace

[[noreturn]] void SaveError(const std::wstring& path, DWORD code) {
    saveplace::Failure failure;
    failure.path = path;
    failure.code = code;
    Fail(std::move(failure));
}

[[noreturn]] void FolderError(const std::wstring& path, DWORD code,
                              const std::wstring& fileInTheWay) {
    saveplace::Failure failure;
    failure.folder = true;
    failure.path = path;
    failure.code = code;
    failure.fileInTheWay = fileInTheWay;
    Fail(std::move(failure));
}

// The form of a full path that the file functions take beyond MAX_PATH, whatever the system's
// own long-path setting.
std::wstring LongPath(const std::wstring& full) {
    if (full.rfind(L"\\\\?\\", 0) == 0 || full.rfind(L"\\\\.\\", 0) == 0) return full;
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::wstring FullPath(const std::wstring& path) {
    DWORD need = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (need == 0) SaveError(path, GetLastError());
    std::wstring full(need, L'\0');
    DWORD got = GetFullPathNameW(path.c_str(), need, full.data(), nullptr);
    if (got == 0 || got >= need) SaveError(path, GetLastError());
    full.resize(got);
    return full;
}

namespace {

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A new file in the folder, named here rather than by GetTempFileName, which wants the folder 14
// characters shorter than MAX_PATH. stem is its name without the ".tmp".
win::FileHandle CreateTemporary(const std::wstring& folder, std::wstring& stem, DWORD& error) {
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[32];
        swprintf(name, 32, L"~tsn%lx-%x", GetCurrentProcessId(), serial++);
        stem = folder + name;
        win::FileHandle file(CreateFileW((stem + L".tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        error = file ? ERROR_SUCCESS : GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return file;
    }
    return {};
}

// What a scanner, a sync client or the search indexer holding the target for a moment causes.
bool Busy(DWORD error) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_ACCESS_DENIED:
        case ERROR_USER_MAPPED_FILE:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
            return true;
        default:
            return false;
    }
}

// Puts the finished temporary file in the target's place, trying for about a second while the
// target is busy. An existing target is replaced (so it keeps its permissions and attributes),
// with a backup name: a replace that moved the old file aside without moving the new one in
// (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) is finished by the next try, which finds no target, or
// undone at the end. The target holds the old file or the new one, never nothing.
DWORD PutInPlace(const std::wstring& target, const std::wstring& temp, const std::wstring& backup,
                 ReplaceFileCall replace) {
    const ULONGLONG giveUp = GetTickCount64() + 1000;
    DWORD error = ERROR_SUCCESS;
    const auto rename = [&] {
        return MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    };
    bool replacing = false;
    for (DWORD pause = 10;; pause = std::min<DWORD>(pause * 2, 200)) {
        replacing = Exists(target);
        bool placed =
            replacing ? replace(target.c_str(), temp.c_str(), backup.c_str()) != FALSE : rename();
        error = placed ? ERROR_SUCCESS : GetLastError();
        // A file system that cannot replace (FAT, some network shares) fails with other errors,
        // both files left as they were: a plain rename still can.
        if (!placed && replacing && !Busy(error)) {
            placed = rename();
            if (!placed) error = GetLastError();
        }
        if (placed) {
            DeleteFileW(backup.c_str());
            return ERROR_SUCCESS;
        }
        const ULONGLONG now = GetTickCount64();
        if (!Busy(error) || now >= giveUp) break;
        Sleep(static_cast<DWORD>(std::min<ULONGLONG>(pause, giveUp - now)));
    }
    // Some network shares refuse the replace call itself as access denied, for as long as one
    // tries, where a plain rename over the old file works: once, before the failure is reported.
    if (replacing && error == ERROR_ACCESS_DENIED && Exists(target)) {
        if (rename()) {
            DeleteFileW(backup.c_str());
            return ERROR_SUCCESS;
        }
        error = GetLastError();
    }
    if (!Exists(target)) MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    return error;
}

}  // namespace

void StreamBitmapFile(HBITMAP bitmap, HPALETTE palette, const ByteSink& sink) {
    BITMAP bm{};
    if (!bitmap) return;
    if (GetObjectW(bitmap, sizeof bm, &bm) != sizeof bm) throw win::Error(L"Invalid bitmap");
    if (bm.bmWidth <= 0 || bm.bmHeight <= 0) return;

    bmp::DibImage image;
    image.Width = bm.bmWidth;
    image.Height = bm.bmHeight;
    int bits = bm.bmBitsPixel * bm.bmPlanes;
    image.BitCount = bits <= 1    ? 1
                     : bits <= 4  ? 4
                     : bits <= 8  ? 8
                     : bits <= 16 ? 16
                     : bits <= 24 ? 24
                                  : 32;

    // Room for the header and a full colour table (or the three masks).
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = image.Width;
    info.header.biHeight = image.Height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(image.BitCount);
    // Asking for bit fields makes the platform report the masks of the bitmap's own layout.
    info.header.biCompression =
        image.BitCount == 16 || image.BitCount == 32 ? BI_BITFIELDS : BI_RGB;
    const BITMAPINFOHEADER asked = info.header;
    std::uint32_t stride = 0;
    try {
        stride = bmp::RowStride(image.Width, image.BitCount);
    } catch (const std::exception&) {
        throw win::Error(L"Cannot save the bitmap: Bitmap too large");
    }
    const std::size_t room = static_cast<std::size_t>(bmp::FileHeaderSize + bmp::InfoHeaderSize) +
                             (image.BitCount <= 8 ? std::size_t{4} << image.BitCount : 0);
    if (std::uint64_t{stride} * static_cast<std::uint64_t>(image.Height) + room > 0xFFFFFFFFu)
        throw win::Error(L"Cannot save the bitmap: Bitmap too large");

    // The rows go out in strips of about a megabyte, bottom row first as the file holds them: a
    // large capture is never copied whole, and each strip is still in the cache when it is
    // marked opaque and written.
    const int stripRows = static_cast<int>(
        std::clamp<std::uint32_t>((1u << 20) / stride, 1u, static_cast<UINT>(image.Height)));
    std::vector<std::uint8_t> strip(static_cast<std::size_t>(stride) * stripRows);
    gdi::WindowDC screen(nullptr);
    gdi::MemoryDC dc(screen.Get());
    if (!dc) throw win::Error(L"Cannot create the bitmap: out of system resources");
    // The colour table of a palette image comes from its own palette.
    gdi::PaletteSelection pal(dc.Get(), palette);
    for (int first = 0; first < image.Height; first += stripRows) {
        const int rows = std::min(stripRows, image.Height - first);
        info.header = asked;
        if (GetDIBits(dc.Get(), bitmap, static_cast<UINT>(first), static_cast<UINT>(rows),
                      strip.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != rows)
            throw win::Error(L"Cannot read the bitmap");
        if (first == 0) {
            // Only the first read tells the colour table or the masks the headers hold.
            if (image.BitCount <= 8) {
                for (int i = 0; i < (1 << image.BitCount); ++i) {
                    const RGBQUAD& q = info.colors[i];
                    image.Colors.push_back(static_cast<std::uint32_t>(q.rgbRed) << 16 |
                                           static_cast<std::uint32_t>(q.rgbGreen) << 8 | q.rgbBlue);
                }
            } else if (info.header.biCompression == BI_BITFIELDS) {
                std::uint32_t masks[3];
                std::memcpy(masks, info.colors, sizeof masks);
                image.RedMask = masks[0];
                image.GreenMask = masks[1];
                image.BlueMask = masks[2];
            }
            std::vector<std::uint8_t> headers;
            try {
                headers = bmp::EncodeHeaders(image);
            } catch (const std::exception& e) {
                throw win::Error(L"Cannot save the bitmap: " +
                                 std::wstring(e.what(), e.what() + std::strlen(e.what())));
            }
            sink(headers.data(), headers.size());
        }
        const std::size_t size = static_cast<std::size_t>(stride) * rows;
        bmp::SetUnusedBits(image, strip.data(), size);
        sink(strip.data(), size);
    }
}

void SaveBitmapFile(const std::wstring& path, HBITMAP bitmap, HPALETTE palette) {
    WriteFileReplacingFrom(path,
                           [&](const ByteSink& sink) { StreamBitmapFile(bitmap, palette, sink); });
}

void WriteFileReplacing(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    WriteFileReplacingFrom(path, [&bytes](const ByteSink& sink) {
        if (!bytes.empty()) sink(bytes.data(), bytes.size());
    });
}

void WriteFileReplacingFrom(const std::wstring& path,
                            const std::function<void(const ByteSink&)>& produce,
                            ReplaceFileCall replace) {
    const std::wstring full = FullPath(path);
    size_t slash = full.find_last_of(L"\\/");
    if (slash == std::wstring::npos || slash + 1 == full.size())
        SaveError(path, ERROR_INVALID_NAME);
    const std::wstring target = LongPath(full);
    // A read-only file or a folder of that name is refused before anything is written: some
    // file systems would let the rename below replace it.
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        SaveError(path, ERROR_ALREADY_EXISTS);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SaveError(path, ERROR_FILE_READ_ONLY);
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;

    DWORD error = ERROR_SUCCESS;
    std::wstring stem;
    win::FileHandle file = CreateTemporary(LongPath(full.substr(0, slash + 1)), stem, error);
    const bool made = static_cast<bool>(file);
    const std::wstring temp = stem + L".tmp";
    {
        // A failed write ends the making of the bytes; the producer's own failure (a bitmap that
        // cannot be read) is passed on once the temporary file is gone.
        struct WriteFailed {};
        const ByteSink write = [&](const std::uint8_t* data, std::size_t size) {
            for (std::size_t done = 0; done < size;) {
                DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 20));
                DWORD written = 0;
                // Only a failed call sets the last error: after a short write it still holds a
                // stale code. A short write to a file means no room.
                if (!WriteFile(file.Get(), data + done, chunk, &written, nullptr))
                    error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
                else if (written != chunk)
                    error = ERROR_DISK_FULL;
                if (error != ERROR_SUCCESS) throw WriteFailed{};
                done += written;
            }
        };
        if (error == ERROR_SUCCESS) {
            try {
                produce(write);
            } catch (const WriteFailed&) {
            } catch (...) {
                file.Close();
                DeleteFileW(temp.c_str());
                throw;
            }
        }
        if (error == ERROR_SUCCESS && !FlushFileBuffers(file.Get())) error = GetLastError();
        if (!file.Close() && error == ERROR_SUCCESS) error = GetLastError();
    }
    if (error == ERROR_SUCCESS) error = PutInPlace(target, temp, stem + L".bak", replace);
    if (error != ERROR_SUCCESS) {
        // Kept only when the target is missing, which a failed replace may leave: then it is the
        // one copy of the new picture.
        if (made && (!existed || Exists(target))) DeleteFileW(temp.c_str());
        SaveError(path, error);
    }
}

BOOL PlatformReplaceFile(const wchar_t* replaced, const wchar_t* replacement,
                         const wchar_t* backup) {
    return ReplaceFileW(replaced, replacement, backup, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                        nullptr);
}
