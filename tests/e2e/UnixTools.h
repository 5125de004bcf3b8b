#pragma once
// Tests under Wine reach a few Linux tools of the test machine: Wine starts a Linux program
// named by its path like any other, and translates our paths to the Linux ones.
#include <fstream>
#include <iterator>
#include <string>

#include "win/Platform.h"

namespace unixtools {

// The Linux path of a Windows path, or "" when not under Wine.
inline std::string UnixPath(const std::wstring& path) {
    using Translate = char*(CDECL*)(const wchar_t*);
    auto translate = reinterpret_cast<Translate>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    char* unix = translate ? translate(path.c_str()) : nullptr;
    if (!unix) return "";
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

// True when the Linux program exists.
inline bool Exists(const std::string& program) {
    std::wstring dos = L"Z:" + std::wstring(program.begin(), program.end());
    return GetFileAttributesW(dos.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs a shell command line of the Linux side and returns its exit status, or -1 when it could
// not be started or did not end within 20 s. Wine starts a Linux program without a process to
// wait for, so the script leaves its status in a file for us.
inline int RunShell(const std::string& commandLine) {
    static int serial = 0;
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring base = std::wstring(tmp) + L"ts-unix-" + std::to_wstring(GetCurrentProcessId()) +
                        L"-" + std::to_wstring(++serial);
    std::wstring script = base + L".sh", status = base + L".rc";
    DeleteFileW(status.c_str());
    std::string statusUnix = UnixPath(status);
    {
        std::ofstream out(script.c_str(), std::ios::binary | std::ios::trunc);
        out << commandLine << "\necho $? > '" << statusUnix << ".part' && mv '" << statusUnix
            << ".part' '" << statusUnix << "'\n";
    }
    std::string line = "/bin/sh \"" + UnixPath(script) + "\"";
    std::wstring cmd(line.begin(), line.end());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    int code = -1;
    if (!statusUnix.empty() && CreateProcessW(L"Z:\\bin\\sh", cmd.data(), nullptr, nullptr, FALSE,
                                              0, nullptr, nullptr, &si, &pi)) {
        if (pi.hThread) CloseHandle(pi.hThread);
        if (pi.hProcess) CloseHandle(pi.hProcess);
        for (int i = 0; i < 1000 && code < 0; ++i) {
            std::ifstream in(status.c_str());
            if (!(in >> code)) code = -1;
            if (code < 0) Sleep(20);
        }
    }
    DeleteFileW(status.c_str());
    DeleteFileW(script.c_str());
    return code;
}

// ImageMagick's command, by the path its Debian package gives it ("" when not installed).
inline std::string ImageMagick() {
    for (const char* p : {"/usr/bin/convert-im6.q16", "/usr/bin/magick"})
        if (Exists(p)) return p;
    return "";
}

// What an independent decoder (ImageMagick) reads in an image file: its format, width and
// height, then for each point "RRGGBB/alpha" (alpha 1 is opaque), separated by blanks; or a
// text beginning "no ImageMagick" or "failed".
template <typename Points>
std::string ImageMagickReads(const std::wstring& file, const Points& points) {
    std::string magick = ImageMagick();
    if (magick.empty()) return "no ImageMagick (scripts/deps.sh installs it)";
    // Beside the script files, away from the folder a save dialog may be showing.
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring outFile = std::wstring(tmp) + L"ts-imagemagick.txt";
    DeleteFileW(outFile.c_str());
    std::string format = "%m %w %h";
    for (const POINT& p : points) {
        std::string at = "p{" + std::to_string(p.x) + "," + std::to_string(p.y) + "}";
        format += " %[hex:" + at + "]/%[fx:" + at + ".a]";
    }
    int code = RunShell("'" + magick + "' '" + UnixPath(file) + "' -depth 8 -format '" + format +
                        "' 'info:" + UnixPath(outFile) + "'");
    std::ifstream in(outFile.c_str());
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    DeleteFileW(outFile.c_str());
    return code == 0 ? text : "failed (" + std::to_string(code) + ")";
}

}  // namespace unixtools
