#include "capture/PngEncoder.h"

#include <cstring>
#include <limits>
#include <string>

#include "win/Com.h"
#include "win/ErrorReport.h"
#include "win/Platform.h"

// After the platform header: the imaging headers need its types.
// clang-format off
#include <objbase.h>
#include <wincodec.h>
// clang-format on

namespace png {
namespace {
[[noreturn]] void Fail(const wchar_t* step, HRESULT hr) {
    wchar_t code[16];
    swprintf(code, 16, L"%08lX", static_cast<unsigned long>(hr));
    throw win::Error(std::wstring(L"Cannot encode PNG (") + step + L", error 0x" + code + L")");
}

void Check(HRESULT hr, const wchar_t* step) {
    if (FAILED(hr)) Fail(step, hr);
}

// Holds one reference to a COM object.
template <typename T>
class Com {
  public:
    Com() = default;
    ~Com() {
        if (p_) p_->Release();
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    T** Put() { return &p_; }

  private:
    T* p_ = nullptr;
};

}  // namespace

std::vector<std::uint8_t> EncodeBgr(int width, int height, int stride, const std::uint8_t* pixels) {
    if (width <= 0 || height <= 0) return {};
    std::uint64_t size = static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(height);
    if (stride < static_cast<std::int64_t>(width) * 3 || size > std::numeric_limits<UINT>::max())
        throw win::Error(L"Cannot encode PNG: the image is too large");

    // COM for the length of one encoding.
    win::ComScope com;
    if (!com.Ready()) Fail(L"COM", com.Result());
    Com<IWICImagingFactory> factory;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                           IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Put())),
          L"imaging component");
    Com<IStream> stream;
    Check(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), L"memory");
    Com<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put()), L"encoder");
    Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), L"encoder");
    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> options;
    Check(encoder->CreateNewFrame(frame.Put(), options.Put()), L"frame");
    Check(frame->Initialize(options.Get()), L"frame");
    Check(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)), L"size");
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    Check(frame->SetPixelFormat(&format), L"pixel format");
    // The encoder may answer with the nearest format it has; pixels of another layout would be
    // written as garbage.
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) Fail(L"pixel format", E_NOTIMPL);
    Check(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(stride),
                             static_cast<UINT>(size), const_cast<BYTE*>(pixels)),
          L"pixels");
    Check(frame->Commit(), L"frame");
    Check(encoder->Commit(), L"file");

    STATSTG stat{};
    Check(stream->Stat(&stat, STATFLAG_NONAME), L"memory");
    HGLOBAL memory = nullptr;
    Check(GetHGlobalFromStream(stream.Get(), &memory), L"memory");
    std::vector<std::uint8_t> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
    const void* data = GlobalLock(memory);
    if (!data) Fail(L"memory", E_OUTOFMEMORY);
    std::memcpy(bytes.data(), data, bytes.size());
    GlobalUnlock(memory);
    return bytes;
}

}  // namespace png
