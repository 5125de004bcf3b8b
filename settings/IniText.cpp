#include "settings/IniText.h"

#include "settings/ValueCodec.h"

namespace settings {

namespace {
// What the profile reader trims round names and values: white space and the old end-of-file
// character. All are ASCII, so never the second byte of a double-byte character.
bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == L'\x1A'; }

template <typename Text>
Text Trimmed(Text text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlank(static_cast<wchar_t>(static_cast<unsigned char>(text[first]))))
        ++first;
    while (last > first &&
           IsBlank(static_cast<wchar_t>(static_cast<unsigned char>(text[last - 1]))))
        --last;
    return text.substr(first, last - first);
}

std::wstring_view TrimmedWide(std::wstring_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::wstring Unquoted(std::wstring value) {
    if (value.size() > 1 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}
}  // namespace

IniText::IniText(std::string_view bytes, const CodePage& codePage)
    : codePage_(codePage), encoding_(EncodingOf(bytes)) {
    std::string_view body = Body(bytes, encoding_);
    // The lines of a UTF-16 file are kept as UTF-8, which holds the same text byte by byte.
    std::string converted;
    if (encoding_ == FileEncoding::Utf16) {
        converted = ToUtf8(FromUtf16(body));
        body = converted;
    }
    for (std::size_t at = 0; at < body.size();) {
        std::size_t stop = body.find_first_of("\r\n", at);
        Line line;
        if (stop == std::string_view::npos) {
            line.raw = std::string(body.substr(at));
            at = body.size();
        } else {
            line.raw = std::string(body.substr(at, stop - at));
            const std::size_t endSize = body.compare(stop, 2, "\r\n") == 0 ? 2 : 1;
            line.end = std::string(body.substr(stop, endSize));
            at = stop + endSize;
        }
        Parse(line);
        lines_.push_back(std::move(line));
    }
}

void IniText::Parse(Line& line) const {
    const std::wstring text =
        encoding_ == FileEncoding::Ansi ? codePage_.Decode(line.raw) : FromUtf8Lenient(line.raw);
    const std::wstring_view t = TrimmedWide(text);
    if (!t.empty() && t.front() == L'[') {
        const std::size_t close = t.rfind(L']');
        if (close != std::wstring_view::npos) {
            line.kind = Kind::Section;
            line.name = std::wstring(TrimmedWide(t.substr(1, close - 1)));
            return;
        }
    }
    const std::size_t eq = text.find(L'=');
    if (eq == std::wstring::npos) return;
    line.kind = Kind::Key;
    line.name = std::wstring(TrimmedWide(std::wstring_view(text).substr(0, eq)));
}

std::size_t IniText::FindSection(std::wstring_view section, std::size_t from) const {
    const std::wstring_view name = TrimmedWide(section);
    for (std::size_t i = from; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Section && SameTextNoCase(lines_[i].name, name)) return i;
    return lines_.size();
}

std::size_t IniText::SectionEnd(std::size_t section) const {
    std::size_t i = section + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
    return i;
}

std::size_t IniText::FindKey(std::size_t section, std::wstring_view key) const {
    const std::wstring_view name = TrimmedWide(key);
    const std::size_t end = SectionEnd(section);
    for (std::size_t i = section + 1; i < end; ++i)
        if (lines_[i].kind == Kind::Key && SameTextNoCase(lines_[i].name, name)) return i;
    return end;
}

std::optional<std::wstring> IniText::Get(std::wstring_view section, std::wstring_view key) const {
    const std::size_t s = FindSection(section);
    if (s == lines_.size()) return std::nullopt;
    const std::size_t k = FindKey(s, key);
    if (k == SectionEnd(s)) return std::nullopt;
    // "=" is never the second byte of a double-byte character, so its first byte splits the line
    // where the first "=" of its text does.
    const std::string& raw = lines_[k].raw;
    const std::string_view value = Trimmed(std::string_view(raw).substr(raw.find('=') + 1));
    return Unquoted(DecodeValue(value, encoding_, codePage_));
}

void IniText::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    const std::string bytes = EncodeValue(value, encoding_, codePage_);
    // New lines end as the file's first line does: a file kept with LF alone stays so.
    std::string newline = "\r\n";
    for (const Line& l : lines_)
        if (!l.end.empty()) {
            newline = l.end;
            break;
        }
    // Names as the file holds text (ours are ASCII, the same in every code page).
    const auto plain = [&](std::wstring_view name) {
        if (encoding_ == FileEncoding::Ansi)
            if (auto b = codePage_.Encode(name)) return *b;
        return ToUtf8(name);
    };
    const std::wstring keyName(TrimmedWide(key)), sectionName(TrimmedWide(section));
    const auto keyLine = [&] {
        return Line{plain(keyName) + "=" + bytes, newline, Kind::Key, keyName};
    };
    const auto endLast = [&](std::size_t i) {
        if (i < lines_.size() && lines_[i].end.empty()) lines_[i].end = newline;
    };

    std::size_t s = FindSection(section);
    if (s == lines_.size()) {
        if (!lines_.empty()) endLast(lines_.size() - 1);
        lines_.push_back(
            Line{plain(L"[" + sectionName + L"]"), newline, Kind::Section, sectionName});
        lines_.push_back(keyLine());
        return;
    }
    std::size_t k = FindKey(s, key);
    if (k == SectionEnd(s)) {
        // After the section's last line that is not blank, so a blank line between sections
        // stays between them.
        std::size_t last = s;
        for (std::size_t i = s + 1; i < k; ++i)
            if (!Trimmed(std::string_view(lines_[i].raw)).empty()) last = i;
        endLast(last);
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1), keyLine());
        k = last + 1;
    } else {
        Line& line = lines_[k];
        line.raw = line.raw.substr(0, line.raw.find('=') + 1) + bytes;
    }
    // The later lines of the key: in the rest of this section, then in the sections of the same
    // name that follow.
    for (std::size_t end = SectionEnd(s), i = k + 1;;) {
        for (; i < end; ++i)
            if (lines_[i].kind == Kind::Key && SameTextNoCase(lines_[i].name, lines_[k].name)) {
                lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i--));
                --end;
            }
        s = FindSection(section, end);
        if (s == lines_.size()) break;
        i = s + 1;
        end = SectionEnd(s);
    }
}

std::string IniText::Bytes() const {
    std::string out = Mark(encoding_);
    for (const Line& l : lines_)
        out += encoding_ == FileEncoding::Utf16 ? ToUtf16(FromUtf8Lenient(l.raw + l.end))
                                                : l.raw + l.end;
    return out;
}

}  // namespace settings
