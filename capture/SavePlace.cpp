#include "capture/SavePlace.h"

#include <cwctype>

namespace saveplace {
namespace {

bool IsSlash(wchar_t c) { return c == L'\\' || c == L'/'; }

bool HasDrive(const std::wstring& p) {
    return p.size() >= 2 && p[1] == L':' && std::iswalpha(p[0]);
}

// "C:\" of "C:\Tools\app", "\\server\share\" of "\\server\share\app".
std::wstring RootOf(const std::wstring& folder) {
    if (HasDrive(folder)) return folder.substr(0, 2) + L"\\";
    if (folder.size() > 2 && IsSlash(folder[0]) && IsSlash(folder[1])) {
        size_t end = folder.find_first_of(L"\\/", 2);
        if (end != std::wstring::npos) end = folder.find_first_of(L"\\/", end + 1);
        return end == std::wstring::npos ? folder + L"\\" : folder.substr(0, end + 1);
    }
    return L"\\";
}

std::wstring Folded(const std::wstring& s) {
    std::wstring out = s;
    for (wchar_t& c : out) c = IsSlash(c) ? L'\\' : static_cast<wchar_t>(std::towlower(c));
    while (out.size() > 3 && out.back() == L'\\') out.pop_back();
    return out;
}

constexpr unsigned long AccessDenied = 5;  // ERROR_ACCESS_DENIED

}  // namespace

std::wstring ResolveFolder(const std::wstring& typed, const std::wstring& programFolder) {
    if (typed.empty()) return typed;
    if (typed.size() >= 2 && IsSlash(typed[0]) && IsSlash(typed[1])) return typed;  // UNC, \\?\ .
    if (HasDrive(typed)) {
        if (typed.size() > 2 && IsSlash(typed[2])) return typed;
        // The working folder of another drive is a leftover of the console: its root is meant.
        return typed.substr(0, 2) + L"\\" + typed.substr(2);
    }
    if (IsSlash(typed[0])) return RootOf(programFolder) + typed.substr(1);
    std::wstring base = programFolder;
    if (!base.empty() && !IsSlash(base.back())) base += L'\\';
    return base + typed;
}

bool InsideAny(const std::wstring& path, const std::vector<std::wstring>& folders) {
    const std::wstring p = Folded(path);
    for (const std::wstring& f : folders) {
        const std::wstring folder = Folded(f);
        if (folder.empty() || !p.starts_with(folder)) continue;
        if (p.size() == folder.size() || p[folder.size()] == L'\\' || folder.back() == L'\\')
            return true;
    }
    return false;
}

std::wstring FailureText(const Failure& f) {
    std::wstring text =
        std::wstring(f.folder ? L"Cannot create folder \"" : L"Cannot create file \"") + f.path +
        L"\". ";
    if (f.driveMissing && HasDrive(f.path))
        return text + L"There is no drive " + f.path.substr(0, 2) + L" on this computer";
    if (!f.fileInTheWay.empty())
        return text + L"A file has the name of a folder it needs: \"" + f.fileInTheWay + L"\"";
    if (f.code == AccessDenied && f.protectedPlace)
        return text +
               L"Windows refused access: Controlled folder access may guard this folder. Allow "
               L"Tintsnatch 4 in Windows Security (Virus & threat protection, Manage ransomware "
               L"protection, Allow an app through Controlled folder access), or choose another "
               L"folder on the Save page";
    return text + f.systemText;
}

}  // namespace saveplace
