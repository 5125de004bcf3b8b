#pragma once
// Run at log-on: the value named after the application under a Run key holds the program's path
// while the user wants it started with Windows. The machine-wide key where this run may write it,
// else the current user's: with user account control an ordinary start, administrators' included,
// cannot open the machine-wide key for writing.
#include <functional>
#include <memory>
#include <string>

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

class RunKeyStore {
  public:
    virtual ~RunKeyStore() = default;
    virtual RunKeyOpen Open(RunKeyAccess access) = 0;
};

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

    // Whether the program is registered in either key. Reading needs no write access, so a user
    // who may not change a key sees nothing here; a missing key means not registered.
    bool ReadState();
    // Ticking writes the value in the first key that can be written; unticking deletes it from
    // every key that holds it. checked then shows the real state. No key can be written:
    // "Error opening registry key.", once. Nothing to delete, or deleting fails: "Failed to
    // delete value from registry.". Writing fails: throws win::Error
    // "Failed to set data for '<value name>'", checked on.
    void Toggle(bool& checked);

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
