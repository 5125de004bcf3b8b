#include "settings/ProfileFileWin32.h"

#include "settings/IniText.h"

namespace settings {

namespace {
class Win32CodePage : public CodePage {
  public:
    std::wstring Decode(std::string_view bytes) const override {
        if (bytes.empty()) return {};
        const int size = static_cast<int>(bytes.size());
        const int need = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
        std::wstring text(static_cast<std::size_t>(need), L'\0');
        const int got =
            need > 0 ? MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), need) : 0;
        text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        return text;
    }

    std::optional<std::string> Encode(std::wstring_view text) const override {
        if (text.empty()) return std::string();
        // UTF-8 as the system's code page (a Windows 10 option) takes neither flag nor default;
        // WC_ERR_INVALID_CHARS refuses a lone surrogate there.
        const bool utf8 = GetACP() == CP_UTF8;
        const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
        BOOL usedDefault = FALSE;
        BOOL* defaulted = utf8 ? nullptr : &usedDefault;
        const int size = static_cast<int>(text.size());
        const int need =
            WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, defaulted);
        if (need <= 0 || usedDefault) return std::nullopt;
        std::string bytes(static_cast<std::size_t>(need), '\0');
        if (WideCharToMultiByte(CP_ACP, flags, text.data(), size, bytes.data(), need, nullptr,
                                defaulted) != need ||
            usedDefault)
            return std::nullopt;
        // Some code pages map two characters to one form; only a form that reads back as the
        // same text holds it.
        if (Decode(bytes) != text) return std::nullopt;
        return bytes;
    }
};
}  // namespace

const CodePage& AnsiCodePage() {
    static const Win32CodePage codePage;
    return codePage;
}

FileAccess Win32ProfileFile::Probe(const std::wstring& path) {
    std::string bytes;
    const DWORD error = ReadWholeFile(path, bytes);
    if (error == ERROR_FILE_NOT_FOUND) return FileAccess::Missing;
    return error == ERROR_SUCCESS ? FileAccess::Readable : FileAccess::Unreadable;
}

Win32ProfileFile::File& Win32ProfileFile::Loaded(const std::wstring& path) {
    File& file = files_[path];
    if (!file.text) {
        file.read = ReadWholeFile(path, file.bytes);
        if (file.read != ERROR_SUCCESS) file.bytes.clear();
        file.text = std::make_unique<IniText>(file.bytes, AnsiCodePage());
    }
    return file;
}

std::wstring Win32ProfileFile::ReadString(const std::wstring& path, const std::wstring& section,
                                          const std::wstring& key, const std::wstring& def) {
    return Loaded(path).text->Get(section, key).value_or(def);
}

bool Win32ProfileFile::WriteString(const std::wstring& path, const std::wstring& section,
                                   const std::wstring& key, const std::wstring& value) {
    File& file = Loaded(path);
    // A file that is there but could not be read is never written over.
    if (file.read != ERROR_SUCCESS && file.read != ERROR_FILE_NOT_FOUND) return false;
    file.text->Set(section, key, value);
    file.writes.push_back({section, key, value});
    return true;
}

bool Win32ProfileFile::Commit(const std::wstring& path) {
    auto it = files_.find(path);
    if (it == files_.end() || it->second.writes.empty()) return true;
    const std::vector<Write> writes = std::move(it->second.writes);
    files_.erase(it);
    // Applied to the file as it is now, a moment before it is replaced: what another program
    // wrote since it was read stays.
    std::string now;
    const DWORD read = ReadWholeFile(path, now);
    if (read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND) return false;
    IniText text(now, AnsiCodePage());
    for (const Write& w : writes) text.Set(w.section, w.key, w.value);
    const std::string bytes = text.Bytes();
    if (read == ERROR_SUCCESS && bytes == now) return true;
    const DWORD error = WriteWholeFile(path, bytes, OnBeforeReplace);
    SetLastError(error);
    return error == ERROR_SUCCESS;
}

void Win32ProfileFile::Flush(const std::wstring& path) { files_.erase(path); }

}  // namespace settings
