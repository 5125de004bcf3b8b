#pragma once
// The capture view's image area: a scroll box (class "TScrollBox") whose child image (class
// "TImage") shows a picture at natural size from the top-left corner. The scroll ranges are set
// to the picture's size, so every pixel of a large picture can be scrolled into view; bars show
// only when the picture does not fit. Live tracking: the image follows the thumb while dragged.
#include "win/Window.h"

class TImageScrollBox : public win::Window {
  public:
    // Creates the scroll box and its image; the object lives as long as its window and is freed
    // with it.
    static TImageScrollBox& Create(HWND parent, int id, int imageId, int x, int y, int w, int h);
    // The object of a scroll box window, or nullptr.
    static TImageScrollBox* FromHandle(HWND hwnd);

    HWND Image() const { return image_.Handle(); }
    // Shows a picture (not owned: the caller keeps it alive while shown) and sets the scroll
    // ranges to its size. A null bitmap shows an empty image area.
    void SetPicture(HBITMAP bitmap, HPALETTE palette);
    SIZE Range() const { return range_; }
    POINT ScrollPosition() const;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDestroyed() override {
        if (ownedByWindow_) delete this;
    }

  private:
    class TImage : public win::Window {
      public:
        void Create(HWND parent, int id);
        HBITMAP bitmap = nullptr;
        HPALETTE palette = nullptr;
        SIZE size{0, 0};

      protected:
        LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

      private:
        void Paint(HDC dc, const RECT& area);
    };

    TImageScrollBox() = default;
    void UpdateBars();
    void Scroll(int bar, int code);
    void PlaceImage();

    TImage image_;
    SIZE range_{0, 0};
    bool updating_ = false;
    bool ownedByWindow_ = false;  // set once the window exists for good
};
