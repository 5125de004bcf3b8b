#pragma once
// Saving a bitmap as PNG: a name ending in ".png" asks for it.
#include <cstdint>
#include <string>
#include <vector>

#include "win/Platform.h"

// True when the name ends in ".png", in any case.
bool IsPngFileName(const std::wstring& name);

// The PNG file's bytes for a bitmap (read through its palette, when it carries one); an empty
// bitmap gives no bytes. Throws win::Error when the bitmap cannot be read or encoded.
std::vector<std::uint8_t> EncodePngFile(HBITMAP bitmap, HPALETTE palette);

// Writes the bitmap to the file as PNG when its name asks for it, else as BMP, through the
// protective save (a temporary file put in the target's place). Throws win::Error.
void WritePicture(const std::wstring& fileName, HBITMAP bitmap, HPALETTE palette);
