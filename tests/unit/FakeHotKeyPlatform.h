#pragma once
// A fake of the hotkey platform: a global atom table with reference counts, and a registry that
// refuses a key combination anyone holds already, as the real one does.
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "hotkeys/HotKeyList.h"

namespace hotkeys {

class FakeHotKeyPlatform : public IHotKeyPlatform {
  public:
    struct Held {
        WindowRef Window;
        std::uint16_t Id, Modifiers, Key;
        bool operator==(const Held&) const = default;
    };

    std::uint16_t AddGlobalAtom(const std::string& text) override {
        log.push_back("add " + text);
        if (refuseAtoms) return 0;
        auto& atom = atoms_[text];
        if (atom.Refs++ == 0) atom.Id = nextAtom_++;  // a fresh atom after the last one went
        return atom.Id;
    }
    void DeleteGlobalAtom(std::uint16_t id) override {
        log.push_back("delete " + std::to_string(id));
        for (auto it = atoms_.begin(); it != atoms_.end(); ++it) {
            if (it->second.Id != id) continue;
            if (--it->second.Refs == 0) atoms_.erase(it);
            return;
        }
        ++deletesOfUnknownAtoms;
    }
    bool RegisterHotKey(WindowRef window, std::uint16_t id, std::uint16_t modifiers,
                        std::uint16_t key) override {
        log.push_back("register " + std::to_string(id));
        if (unacceptable.count({modifiers, key})) return false;
        for (const auto& h : held)
            if (h.Modifiers == modifiers && h.Key == key) return false;
        held.push_back({window, id, modifiers, key});
        return true;
    }
    bool UnregisterHotKey(WindowRef window, std::uint16_t id) override {
        log.push_back("unregister " + std::to_string(id));
        for (auto it = held.begin(); it != held.end(); ++it) {
            if (it->Window == window && it->Id == id) {
                held.erase(it);
                return true;
            }
        }
        return false;
    }

    // Another program's registration, with its own reference on the atom of the same text.
    void HeldElsewhere(std::uint32_t value) {
        SplitKey k = SplitShortcut(value);
        held.push_back({&otherWindow, AddGlobalAtom(AtomText(value)), k.Modifiers, k.Key});
        log.clear();
    }
    // The platform dropped a registration on its own (its window went, say).
    void Forget(std::uint16_t id) {
        std::erase_if(held, [&](const Held& h) { return h.Id == id; });
    }
    int References(const std::string& text) const {
        auto it = atoms_.find(text);
        return it == atoms_.end() ? 0 : it->second.Refs;
    }
    int AllReferences() const {
        int n = 0;
        for (const auto& [text, atom] : atoms_) n += atom.Refs;
        return n;
    }
    std::vector<std::string> Log(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& line : log)
            if (line.rfind(prefix, 0) == 0) out.push_back(line);
        return out;
    }

    std::vector<Held> held;
    std::set<std::pair<std::uint16_t, std::uint16_t>> unacceptable;
    std::vector<std::string> log;
    bool refuseAtoms = false;
    int deletesOfUnknownAtoms = 0;
    int otherWindow = 0;

  private:
    struct Atom {
        std::uint16_t Id = 0;
        int Refs = 0;
    };
    std::map<std::string, Atom> atoms_;
    std::uint16_t nextAtom_ = 0xC000;
};

}  // namespace hotkeys
