#pragma once
// The main window's settings storage: restores the window placement and the stored-properties
// list every time the window is shown, and saves them when the window closes (or is destroyed
// without an earlier save), in one section of an INI file beside the program.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/Placement.h"
#include "settings/ProfileFile.h"
#include "settings/StoredProps.h"

class TJvFormStorage {
  public:
    // formName: the name by which a stored component reference may name the main window.
    TJvFormStorage(std::unique_ptr<settings::ProfileFile> files,
                   std::unique_ptr<settings::PlacementWindow> window,
                   std::vector<settings::StoredProp> storedProps, std::wstring formName);

    std::wstring IniFileName;  // full path of the settings file
    std::wstring IniSection;   // empty: the window's class name
    bool Active = true;
    std::int32_t Version = 0;  // a file whose FormVersion is below it is not restored
    bool StorePosition = true;
    bool StoreState = true;
    // Shows the error being handled; called from inside a catch block.
    std::function<void()> ReportError;

    void LoadSettings();
    void SaveSettings();

    // The window's notifications. Each runs the window's own handler at its place; an error of
    // the storage is reported and the show, close or destruction goes on.
    void ShowHook(const std::function<void()>& formShow);
    // Returns whether the window may close (the window's own close query decides).
    bool CloseQueryHook(const std::function<bool()>& formCloseQuery = {});
    void DestroyHook(const std::function<void()>& formDestroy);

    bool Restored() const { return restored_; }
    bool Saved() const { return saved_; }
    bool Destroying() const { return destroying_; }
    settings::PlacementWindow& Window() { return *window_; }
    const std::vector<settings::ResolvedProp>& StoredProps() const { return props_; }

  private:
    std::wstring Section() const;
    void RestoreProps(const settings::IniFile& ini);
    void SaveProps(settings::IniFile& ini);
    void Report() noexcept;

    std::unique_ptr<settings::ProfileFile> files_;
    std::unique_ptr<settings::PlacementWindow> window_;
    std::vector<settings::ResolvedProp> props_;
    std::wstring formName_;
    bool restored_ = false;
    bool saved_ = false;
    bool destroying_ = false;
};
