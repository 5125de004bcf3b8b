#include "capture/BmpFile.h"

#include <cstring>

#include "capture/BmpLayout.h"
#include "win/ErrorReport.h"
#include "win/Gdi.h"
#include "win/Handle.h"

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

[[noreturn]] void FileError(const std::wstring& path, DWORD code) {
    throw win::Error(L"Cannot create file \"" + path + L"\". " + SystemMessage(code));
}

}  // namespace

std::vector<std::uint8_t> EncodeBitmapFile(HBITMAP bitmap, HPALETTE palette) {
    BITMAP bm{};
    if (!bitmap) return {};
    if (GetObjectW(bitmap, sizeof bm, &bm) != sizeof bm) throw win::Error(L"Invalid bitmap");
    if (bm.bmWidth <= 0 || bm.bmHeight <= 0) return {};

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
    // The rows are read straight into the file, after room for the headers before them. That
    // room is known but for the masks, which only the read tells: in the rare layout that needs
    // them the rows move up by their few bytes afterwards.
    const std::uint64_t rowBytes =
        static_cast<std::uint64_t>(bmp::RowStride(image.Width, image.BitCount)) *
        static_cast<std::uint64_t>(image.Height);
    const std::size_t room = static_cast<std::size_t>(bmp::FileHeaderSize + bmp::InfoHeaderSize) +
                             (image.BitCount <= 8 ? std::size_t{4} << image.BitCount : 0);
    if (rowBytes + room > 0xFFFFFFFFu)
        throw win::Error(L"Cannot save the bitmap: Bitmap too large");
    const auto size = static_cast<std::size_t>(rowBytes);
    std::vector<std::uint8_t> file(room + size);

    gdi::WindowDC screen(nullptr);
    gdi::MemoryDC dc(screen.Get());
    if (!dc) throw win::Error(L"Cannot create the bitmap: out of system resources");
    {
        // The colour table of a palette image comes from its own palette.
        gdi::PaletteSelection pal(dc.Get(), palette);
        int lines =
            GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(image.Height), file.data() + room,
                      reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
        if (lines != image.Height) throw win::Error(L"Cannot read the bitmap");
    }
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
    try {
        const std::vector<std::uint8_t> headers = bmp::EncodeHeaders(image);
        if (headers.size() > room) {
            file.resize(headers.size() + size);
            std::memmove(file.data() + headers.size(), file.data() + room, size);
        } else if (headers.size() < room) {
            std::memmove(file.data() + headers.size(), file.data() + room, size);
            file.resize(headers.size() + size);
        }
        std::memcpy(file.data(), headers.data(), headers.size());
        bmp::SetUnusedBits(image, file.data() + headers.size(), size);
        return file;
    } catch (const std::exception& e) {
        throw win::Error(L"Cannot save the bitmap: " +
                         std::wstring(e.what(), e.what() + std::strlen(e.what())));
    }
}

void WriteFileReplacing(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    DWORD need = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (need == 0) FileError(path, GetLastError());
    std::wstring full(need, L'\0');
    DWORD got = GetFullPathNameW(path.c_str(), need, full.data(), nullptr);
    if (got == 0 || got >= need) FileError(path, GetLastError());
    full.resize(got);
    size_t slash = full.find_last_of(L"\\/");
    if (slash == std::wstring::npos || slash + 1 == full.size())
        FileError(path, ERROR_INVALID_NAME);
    std::wstring folder = full.substr(0, slash + 1);
    // A read-only file or a folder of that name is refused before anything is written: some
    // file systems would let the rename below replace it.
    DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        FileError(path, ERROR_ACCESS_DENIED);

    wchar_t temp[MAX_PATH + 16] = {};
    if (!GetTempFileNameW(folder.c_str(), L"tsn", 0, temp)) FileError(path, GetLastError());
    DWORD error = ERROR_SUCCESS;
    {
        win::FileHandle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) error = GetLastError();
        size_t done = 0;
        while (error == ERROR_SUCCESS && done < bytes.size()) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
            DWORD written = 0;
            // Only a failed call sets the last error: after a short write it still holds a stale
            // code (the temporary file "already exists"). A short write to a file means no room.
            if (!WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr))
                error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
            else if (written != chunk)
                error = ERROR_DISK_FULL;
            done += written;
        }
        if (error == ERROR_SUCCESS && !FlushFileBuffers(file.Get())) error = GetLastError();
        if (!file.Close() && error == ERROR_SUCCESS) error = GetLastError();
    }
    if (error == ERROR_SUCCESS &&
        !MoveFileExW(temp, full.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != ERROR_SUCCESS) {
        DeleteFileW(temp);
        FileError(path, error);
    }
}
