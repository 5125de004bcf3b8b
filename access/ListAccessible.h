#pragma once
// What a screen reader finds in a list we draw ourselves: a list whose items it can walk, each
// with its name, its place on the screen and whether it is selected, and the events it follows
// (the selection moving, the focus on the selected item, the items changing). The standard
// objects the platform makes for a window know nothing of what we draw, so the list answers
// WM_GETOBJECT with this one.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "win/Platform.h"

namespace a11y {

// The list's side: what it shows, asked when a reader asks (on the window's thread).
class ListItems {
  public:
    virtual std::size_t ItemCount() const = 0;
    virtual std::wstring ItemName(std::size_t index) const = 0;
    virtual std::optional<std::size_t> SelectedItem() const = 0;
    // In the list's client coordinates; outside its client area while scrolled out of view.
    virtual RECT ItemBounds(std::size_t index) const = 0;
    virtual void SelectItem(std::size_t index) = 0;
    // What a click on the item does.
    virtual void DoItemAction(std::size_t index) = 0;
    virtual std::wstring ItemActionName() const = 0;

  protected:
    ~ListItems() = default;
};

class ListObject;

class ListAccessible {
  public:
    // The list's name is its window text.
    ListAccessible(HWND list, ListItems& items);
    // A reader that still holds the object is told it is gone.
    ~ListAccessible();
    ListAccessible(const ListAccessible&) = delete;
    ListAccessible& operator=(const ListAccessible&) = delete;

    // WM_GETOBJECT: true with `result` set when it answered.
    bool Answer(WPARAM wp, LPARAM lp, LRESULT& result);
    // Tells readers what changed since they were last told: the items (their number or a
    // name), and the selection, with the focus on it while the list has the focus.
    void Refresh();
    // The list took the focus: readers go on to its selected item.
    void FocusTaken();

  private:
    HWND list_;
    ListItems& items_;
    ListObject* object_ = nullptr;  // made at the first question
    std::vector<std::wstring> toldNames_;
    std::optional<std::size_t> toldSelected_;
};

}  // namespace a11y
