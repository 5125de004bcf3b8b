#include "settings/ProfileFile.h"

#include "settings/ValueCodec.h"
#include "win/ErrorReport.h"

namespace settings {

IniFile::IniFile(ProfileFile& files, std::wstring path, std::wstring section, Session session)
    : files_(files), path_(std::move(path)), section_(std::move(section)), session_(session) {
    // A file edited by hand since our last access must be read afresh, not from a cached copy.
    if (session_ == Session::Own) files_.Flush(path_);
}

IniFile::~IniFile() {
    if (session_ == Session::Own) files_.Flush(path_);
}

std::wstring IniFile::ReadWholeString(const std::wstring& key, const std::wstring& def) const {
    return files_.ReadString(path_, section_, key, def);
}

std::wstring IniFile::ReadString(const std::wstring& key, const std::wstring& def) const {
    std::wstring value = ReadWholeString(key, def);
    if (value.size() > MaxValueLength) value.resize(MaxValueLength);
    return value;
}

std::int32_t IniFile::ReadInteger(const std::wstring& key, std::int32_t def) const {
    std::wstring text = ReadString(key, L"");
    if (text.empty()) return def;
    return ParseInteger(text).value_or(def);
}

void IniFile::WriteString(const std::wstring& key, const std::wstring& value) {
    if (!files_.WriteString(path_, section_, key, value))
        throw win::Error(L"Unable to write to " + path_);
}

void IniFile::Commit() {
    if (!files_.Commit(path_)) throw win::Error(L"Unable to write to " + path_);
}

void IniFile::WriteInteger(const std::wstring& key, std::int32_t value) {
    WriteString(key, IntegerText(value));
}

}  // namespace settings
