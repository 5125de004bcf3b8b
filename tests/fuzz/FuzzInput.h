#pragma once
// What the fuzz targets share: numbers and text taken from the fuzzer's bytes, and the check that
// turns a broken property into a crash, so that libFuzzer keeps the input that broke it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(cond) ((cond) ? static_cast<void>(0) : fuzz::Broken(#cond, __FILE__, __LINE__))

namespace fuzz {

[[noreturn]] inline void Broken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: does not hold: %s\n", file, line, what);
    std::abort();
}

// Reads from the front: each number from the next four bytes, little-endian (zero past the end),
// so a seed's numbers sit at offsets 0, 4, 8, ...; text from what follows.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : at_(data), end_(data + size) {}

    std::int32_t Int() { return static_cast<std::int32_t>(Bytes(4)); }
    // lo to hi, both included.
    std::int32_t Int(std::int32_t lo, std::int32_t hi) {
        const auto span = static_cast<std::uint64_t>(std::int64_t{hi} - lo) + 1;
        return static_cast<std::int32_t>(lo + static_cast<std::int64_t>(Bytes(4) % span));
    }
    // Text in the platform's 16-bit units, up to the byte `stop` (left out) or the end. An ASCII
    // byte stands for itself; any other byte brings the next two as one unit, so seeds stay
    // readable while every unit can be reached.
    std::wstring Text(int stop = -1) {
        std::wstring text;
        while (at_ < end_ && *at_ != stop) {
            const std::uint32_t unit = *at_++;
            text += static_cast<wchar_t>(unit < 0x80 ? unit : Bytes(2));
        }
        if (at_ < end_) ++at_;
        return text;
    }

  private:
    std::uint32_t Bytes(int count) {
        std::uint32_t v = 0;
        for (int i = 0; i < count && at_ < end_; ++i) v |= std::uint32_t{*at_++} << (8 * i);
        return v;
    }

    const std::uint8_t* at_;
    const std::uint8_t* end_;
};

}  // namespace fuzz
