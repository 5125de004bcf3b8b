#pragma once
// The main window's settings storage: restores the window placement and the stored-properties
// list every time the window is shown, and saves them when the window closes (or is destroyed
// without an earlier save), in one section of an INI file beside the program. Because every show
// restores the file, the file is also brought up to date whenever the user stops looking at the
// settings (the window hides, the options view closes).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/Placement.h"
#include "settings/ProfileFile.h"
#include "settings/StoredProps.h"

namespace settings {
// What a restore found: the file read, no file yet (nothing stored, nothing lost), or a file that
// exists but could not be read (its values are not the ones in effect).
enum class LoadResult { Read, Missing, Unreadable };
}  // namespace settings

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
    // For a copy that only passes through (a second instance that reports and ends): its saves
    // write "Visible" and nothing else, so the file stays as the running copy left it.
    bool KeepStoredValues = false;
    // Sets, through the files given, the values of other sections of the file (the colour
    // history) that each save brings up to date with this one: a value that failed to be written
    // earlier is written then, and so is one of a file deleted meanwhile.
    std::function<void(settings::ProfileFile&, const std::wstring& path)> SaveOtherSections;
    // Shows the error being handled; called from inside a catch block.
    std::function<void()> ReportError;

    // An unreadable file is not restored. If it is so at the first restore of the run, the
    // window runs on its defaults and no save writes the file until a later restore reads it.
    settings::LoadResult LoadSettings();
    void SaveSettings();

    // The window's notifications. Each runs the window's own handler at its place; an error of
    // the storage is reported and the show, close or destruction goes on.
    void ShowHook(const std::function<void()>& formShow);
    // Returns whether the window may close (the window's own close query decides).
    bool CloseQueryHook(const std::function<bool()>& formCloseQuery = {});
    void DestroyHook(const std::function<void()>& formDestroy);
    // The window is about to hide: saves, then runs the window's own handler.
    void HideHook(const std::function<void()>& formHide);
    // Saves while the window stays (the options view closed). A failing save is reported only
    // the first time in a run: the user learns of it without a box at every hide.
    void KeepFileCurrent();
    // The session ends: saves as a close does, but a failure shows nothing. A box then would
    // hold up the log-off, and the platform would name this program as the one preventing it.
    void EndSessionHook();

    bool Restored() const { return restored_; }
    bool Saved() const { return saved_; }
    bool Destroying() const { return destroying_; }
    settings::PlacementWindow& Window() { return *window_; }
    const std::vector<settings::ResolvedProp>& StoredProps() const { return props_; }

  private:
    std::wstring Section() const;
    void RestoreProps(const settings::IniFile& ini);
    void WriteAll(settings::IniFile& ini);
    void SaveProps(settings::IniFile& ini);
    // The keys and values a save would write now, in the order it writes them.
    std::vector<std::pair<std::wstring, std::wstring>> PlannedWrites();
    void Report() noexcept;

    std::unique_ptr<settings::ProfileFile> files_;
    std::unique_ptr<settings::PlacementWindow> window_;
    std::vector<settings::ResolvedProp> props_;
    std::wstring formName_;
    bool restored_ = false;
    bool saved_ = false;
    bool destroying_ = false;
    bool fileKept_ = false;  // the file holds values this run has not read: never write it
    bool unreadableReported_ = false;
    bool keepCurrentFailureReported_ = false;
    bool closeReported_ = false;  // the close's save failed and said so
};
