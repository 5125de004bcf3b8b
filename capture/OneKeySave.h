#pragma once
// The one-key save: the capture written into the chosen folder under a name made from the
// template, never over an existing file.
#include <functional>
#include <string>

#include "capture/SaveName.h"

// The folder the save uses while none is chosen: the user's Pictures folder.
std::wstring DefaultSaveFolder();

// Makes the folder (with the folders above it) when it is missing, reserves the first free name
// that the template gives there, and has write() put the file under that name (through the
// protective save, which then replaces only the empty reserved file). Returns the path written.
// Throws win::Error as the save does; nothing is left behind on failure.
std::wstring SaveIntoFolder(const std::wstring& folder, const std::wstring& pattern,
                            const savename::Fields& fields, const std::wstring& extension,
                            const std::function<void(const std::wstring& path)>& write);
