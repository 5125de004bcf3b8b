#pragma once
// Run at log-on: the value named after the application under a Run key holds the program's path
// while the user wants it started with Windows. The machine-wide key where this run may write it,
// else the current user's: with user account control an ordinary start, administrators' included,
// cannot open the machine-wide key for writing.
//
// Windows' own start-up list (Task Manager's Startup tab, the Settings app) turns an entry off
// without touching its Run value: it keeps the user's choice in a binary value of the same name
// under Explorer\StartupApproved\Run beside the Run key. That store is not a documented interface;
// what is relied on here is what reports of its layout agree on: 12 bytes, a state word whose
// lowest bit is set while the entry is off, then the time it was turned off. A value of another
// type, or shorter, counts as on, as a missing one does.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace settings {

struct RunValue {
    enum class Type { Missing, Text, Other };
    Type type = Type::Missing;
    std::wstring text;  // for Text
};

// The Run key, open.
class RunKey {
  public:
    virtual ~RunKey() = default;
    virtual RunValue Read(const std::wstring& name) = 0;
    [[nodiscard]] virtual bool Write(const std::wstring& name, const std::wstring& text) = 0;
    // False when the value cannot be deleted, also when it does not exist.
    [[nodiscard]] virtual bool Delete(const std::wstring& name) = 0;
};

enum class RunKeyAccess {
    Read,  // opens an existing key for reading only
    Full,  // opens for reading and writing, creating the key when it is missing
};

struct RunKeyOpen {
    std::unique_ptr<RunKey> key;  // null when the key could not be opened
    bool missing = false;         // Read access only: the key does not exist
};

// A value of the start-up list's own key: its bytes when it is binary, none otherwise.
using StartupApproval = std::optional<std::vector<std::uint8_t>>;

class RunKeyStore {
  public:
    virtual ~RunKeyStore() = default;
    virtual RunKeyOpen Open(RunKeyAccess access) = 0;
    // The start-up list's value for the Run value of that name; none also when unreadable.
    virtual StartupApproval Approval(const std::wstring& name) = 0;
    // Removes it, so the entry is on, as every new entry is; true also when there was none.
    [[nodiscard]] virtual bool RemoveApproval(const std::wstring& name) = 0;
};

// Whether the start-up list holds the entry off.
bool TurnedOffInStartupList(const StartupApproval& approval);

// The value we write for the program at exePath. A path with a blank is enclosed in double
// quotes: unquoted, the platform would try "C:\Program.exe" for "C:\Program Files\..." first.
std::wstring RunCommandFor(const std::wstring& exePath);

// Whether the value starts our program: its text is our path, plain or in double quotes, letter
// case ignored. A value that is not text is not ours.
bool IsOurRunValue(const RunValue& value, const std::wstring& exePath);

class StartupRegistration {
  public:
    using ShowMessage = std::function<void(const std::wstring&)>;
    StartupRegistration(RunKeyStore& machine, RunKeyStore& user, std::wstring valueName,
                        std::wstring exePath, ShowMessage message);

    // Whether Windows will start the program from either key: our value there, and not turned
    // off in the start-up list. Reading needs no write access, so a user who may not change a
    // key sees nothing here; a missing key means not registered.
    bool ReadState();
    // Ticking writes the value in the first key that can be written, and turns it on in the
    // start-up list there; unticking deletes it from every key that holds it. checked then
    // shows the real state. No key can be written, or the start-up list's choice cannot be
    // removed: "Error opening registry key.", once. Nothing to delete, or deleting fails:
    // "Failed to delete value from registry.". Writing fails: throws win::Error
    // "Failed to set data for '<value name>'", checked on.
    void Toggle(bool& checked);
    // Our value is there, but the start-up list holds it off: the user's own choice in Windows.
    bool TurnedOffByWindows();

  private:
    // Whether a key holds our value; refused is set when a key could not be read.
    bool Registered(bool& refused);
    void Register(bool& checked);
    void Unregister(bool& checked);

    RunKeyStore& machine_;
    RunKeyStore& user_;
    std::wstring valueName_;
    std::wstring exePath_;
    ShowMessage message_;
};

}  // namespace settings
