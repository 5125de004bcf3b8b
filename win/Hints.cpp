#include "win/Hints.h"

#include <unordered_map>

namespace win {
namespace {
std::unordered_map<HWND, std::wstring>& Table() {
    static std::unordered_map<HWND, std::wstring> table;  // UI thread only
    return table;
}
}  // namespace

void SetHint(HWND control, const std::wstring& hint) { Table()[control] = hint; }

std::wstring GetHint(HWND control) {
    auto it = Table().find(control);
    return it == Table().end() ? std::wstring() : it->second;
}

void ForgetHints(HWND root) {
    std::erase_if(Table(), [root](const auto& e) { return e.first == root || IsChild(root, e.first); });
}
}  // namespace win
