#pragma once
// Saving a bitmap as a BMP file in its own bit depth.
#include <cstdint>
#include <string>
#include <vector>

#include "win/Platform.h"

// The file's bytes for a bitmap (with its palette, when it carries one); an empty bitmap gives no
// bytes. Throws win::Error when the bitmap cannot be read.
std::vector<std::uint8_t> EncodeBitmapFile(HBITMAP bitmap, HPALETTE palette);

// Writes the bytes to a temporary file in the target's folder and then puts it in place of the
// target, so a failed write (full disk, lost rights) never destroys an existing file. Throws
// win::Error with the reason; the temporary file is removed again on failure.
void WriteFileReplacing(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
