#pragma once
// Fakes for the settings seams: the profile file, the window's placement, the Run key and the
// process list. The profile fake keeps the platform reader's habits (names without regard to
// case, blanks and one enclosing quote pair stripped) so values round-trip as they do for real.
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "settings/FileText.h"
#include "settings/Placement.h"
#include "settings/ProfileFile.h"
#include "settings/SingleInstance.h"
#include "settings/Startup.h"
#include "settings/ValueCodec.h"

namespace fakes {

// A code page of one byte per character, U+0000 to U+00FF, as Windows-1252 holds most of them.
class Latin1CodePage : public settings::CodePage {
  public:
    std::wstring Decode(std::string_view bytes) const override {
        std::wstring text;
        for (char b : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(b));
        return text;
    }
    std::optional<std::string> Encode(std::wstring_view text) const override {
        std::string bytes;
        for (wchar_t c : text) {
            if (static_cast<std::uint32_t>(c) > 0xFF) return std::nullopt;
            bytes += static_cast<char>(c);
        }
        return bytes;
    }
};

class ProfileFile : public settings::ProfileFile {
  public:
    struct Section {
        std::wstring name;
        std::vector<std::pair<std::wstring, std::wstring>> lines;  // key, raw value
    };
    std::map<std::wstring, std::vector<Section>> files;
    std::vector<std::wstring> writes;  // "key=value" in write order
    int flushes = 0;
    int writesBeforeFailure = -1;  // -1: never fails
    bool locked = false;           // held open by another program: there, but unreadable
    int commits = 0;               // that wrote something
    bool failCommit = false;       // the new file cannot take the old one's place

    // Loads a file as a person would type it: "[section]" and "key=value" lines, other lines
    // (junk) ignored as the platform's reader ignores them.
    void Load(const std::wstring& path, const std::wstring& text) {
        auto& sections = files[path];
        sections.clear();
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find(L'\n', start);
            if (end == std::wstring::npos) end = text.size();
            std::wstring line = text.substr(start, end - start);
            if (!line.empty() && line.back() == L'\r') line.pop_back();
            std::wstring t = settings::TrimText(line);
            if (!t.empty() && t.front() == L'[' && t.back() == L']') {
                sections.push_back({t.substr(1, t.size() - 2), {}});
            } else if (size_t eq = line.find(L'='); eq != std::wstring::npos && !sections.empty()) {
                sections.back().lines.emplace_back(settings::TrimText(line.substr(0, eq)),
                                                   line.substr(eq + 1));
            }
            start = end + 1;
        }
    }

    std::vector<std::pair<std::wstring, std::wstring>> Lines(const std::wstring& path,
                                                             const std::wstring& section) {
        if (auto* s = Find(path, section)) return s->lines;
        return {};
    }

    settings::FileAccess Probe(const std::wstring& path) override {
        if (!files.count(path)) return settings::FileAccess::Missing;
        return locked ? settings::FileAccess::Unreadable : settings::FileAccess::Readable;
    }

    // A locked file reads as the platform's reader gives it: the defaults.
    std::wstring ReadString(const std::wstring& path, const std::wstring& section,
                            const std::wstring& key, const std::wstring& def) override {
        if (locked) return def;
        if (auto* s = Find(path, section))
            for (auto& [k, v] : s->lines)
                if (settings::SameTextNoCase(k, key)) return Unquote(settings::TrimText(v));
        return def;
    }

    bool WriteString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                     const std::wstring& value) override {
        if (writesBeforeFailure == 0 || locked) return false;
        if (writesBeforeFailure > 0) --writesBeforeFailure;
        // Seen by reads at once, on the disk only once committed.
        if (!before_.count(path))
            before_[path] = files.count(path) ? std::optional(files[path]) : std::nullopt;
        writes.push_back(key + L"=" + value);
        Section* s = Find(path, section);
        if (!s) {
            files[path].push_back({section, {}});
            s = &files[path].back();
        }
        for (auto& [k, v] : s->lines)
            if (settings::SameTextNoCase(k, key)) {
                v = value;
                return true;
            }
        s->lines.emplace_back(key, value);
        return true;
    }

    bool Commit(const std::wstring& path) override {
        if (!before_.count(path)) return true;
        if (failCommit) {
            Undo(path);
            return false;
        }
        before_.erase(path);
        ++commits;
        return true;
    }

    void Flush(const std::wstring& path) override {
        Undo(path);
        ++flushes;
    }

  private:
    void Undo(const std::wstring& path) {
        auto it = before_.find(path);
        if (it == before_.end()) return;
        if (it->second)
            files[path] = *it->second;
        else
            files.erase(path);
        before_.erase(it);
    }
    std::map<std::wstring, std::optional<std::vector<Section>>> before_;

    Section* Find(const std::wstring& path, const std::wstring& section) {
        auto it = files.find(path);
        if (it == files.end()) return nullptr;
        for (auto& s : it->second)
            if (settings::SameTextNoCase(s.name, section)) return &s;
        return nullptr;
    }
    static std::wstring Unquote(std::wstring v) {
        if (v.size() > 1 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front())
            return v.substr(1, v.size() - 2);
        return v;
    }
};

class PlacementWindow : public settings::PlacementWindow {
  public:
    settings::PlacementRecord record;
    bool visible = false;
    settings::WindowBounds bounds{426, 335, 172, 98};
    settings::BorderStyle border = settings::BorderStyle::ToolWindow;
    settings::WindowKind kind = settings::WindowKind::Ordinary;
    settings::WindowState state = settings::WindowState::Normal;
    settings::StartPosition start = settings::StartPosition::ScreenCenter;
    bool mainWindow = true;
    bool appMinimized = false;
    settings::ScreenInfo screen{1024, 768, 96};
    std::vector<settings::PlacementRecord> applied;  // SetPlacement calls
    std::vector<settings::WindowState> statesSet;
    int appMinimizeRequests = 0;
    int repaints = 0;
    bool failGetPlacement = false;
    // CxBorder, CyBorder, CxFrame, CyFrame, CxDlgFrame, CyDlgFrame
    std::array<int, 6> metrics{1, 2, 4, 5, 3, 6};

    PlacementWindow() {
        record.minX = record.minY = record.maxX = record.maxY = -1;
        record.left = 426, record.top = 335, record.right = 598, record.bottom = 433;
    }

    bool HasHandle() const override { return true; }
    std::wstring ClassName() const override { return L"TTintsnatch4"; }
    settings::PlacementRecord GetPlacement() const override {
        if (failGetPlacement) throw std::runtime_error("no placement");
        settings::PlacementRecord r = record;
        // The platform reports the state, not the visibility.
        r.showCmd = state == settings::WindowState::Minimized   ? 2
                    : state == settings::WindowState::Maximized ? 3
                                                                : 1;
        return r;
    }
    void SetPlacement(const settings::PlacementRecord& r) override {
        applied.push_back(r);
        record = r;
        bounds = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    bool Visible() const override { return visible; }
    settings::WindowBounds Bounds() const override { return bounds; }
    settings::BorderStyle Border() const override { return border; }
    settings::WindowKind Kind() const override { return kind; }
    settings::WindowState State() const override { return state; }
    void SetState(settings::WindowState s) override {
        statesSet.push_back(s);
        state = s;
    }
    settings::StartPosition Start() const override { return start; }
    void SetStart(settings::StartPosition s) override { start = s; }
    bool IsMainWindow() const override { return mainWindow; }
    bool ApplicationMinimized() const override { return appMinimized; }
    void MinimizeApplication() override { ++appMinimizeRequests; }
    void Repaint() override { ++repaints; }
    settings::ScreenInfo Screen() const override { return screen; }
    int Metric(settings::SystemMetric m) const override { return metrics[static_cast<size_t>(m)]; }
};

class RunKeyStore : public settings::RunKeyStore {
  public:
    std::map<std::wstring, settings::RunValue> values;
    bool keyExists = true;
    bool refuseRead = false;
    bool refuseFull = false;
    bool failWrite = false;
    bool failDelete = false;
    std::vector<settings::RunKeyAccess> opens;
    std::map<std::wstring, settings::StartupApproval> approvals;  // Windows' start-up list
    settings::StartupApproval Approval(const std::wstring& key) override { return approvals[key]; }
    bool RemoveApproval(const std::wstring& name) override { return approvals.erase(name), true; }

    settings::RunKeyOpen Open(settings::RunKeyAccess access) override {
        opens.push_back(access);
        settings::RunKeyOpen result;
        if (access == settings::RunKeyAccess::Read) {
            if (!keyExists) {
                result.missing = true;
                return result;
            }
            if (refuseRead) return result;
        } else {
            if (refuseFull) return result;
            keyExists = true;
        }
        result.key = std::make_unique<Key>(*this);
        return result;
    }

  private:
    struct Key : settings::RunKey {
        explicit Key(RunKeyStore& s) : store(s) {}
        RunKeyStore& store;
        settings::RunValue Read(const std::wstring& name) override {
            auto it = store.values.find(name);
            return it == store.values.end() ? settings::RunValue{} : it->second;
        }
        bool Write(const std::wstring& name, const std::wstring& text) override {
            if (store.failWrite) return false;
            store.values[name] = {settings::RunValue::Type::Text, text};
            return true;
        }
        bool Delete(const std::wstring& name) override {
            if (store.failDelete) return false;
            return store.values.erase(name) > 0;
        }
    };
};

class ProcessList : public settings::ProcessList {
  public:
    std::optional<std::vector<settings::ProcessEntry>> list;
    std::map<std::uint32_t, std::uint32_t> sessions;  // pid -> session; others unknown
    std::optional<std::vector<settings::ProcessEntry>> Snapshot() override { return list; }
    std::optional<std::uint32_t> SessionOf(std::uint32_t pid) override {
        auto it = sessions.find(pid);
        return it == sessions.end() ? std::nullopt : std::optional<std::uint32_t>(it->second);
    }
};

}  // namespace fakes
