#include "screen_backdrop.h"

#include <algorithm>

#include "res/resource_ids.h"

namespace {

// Rows read per look: spread over the screen's height, each a single
// BitBlt, so a look costs a few round trips rather than a full-screen copy.
constexpr int kSampleRows = 24;

constexpr DWORD Rgb(BYTE red, BYTE green, BYTE blue)
{
    return static_cast<DWORD>(red) << 16 | static_cast<DWORD>(green) << 8 | blue;
}

// setup's frame and client classes are registered with this brush.
constexpr DWORD kSolidBackdrop = Rgb(0, 0, 64);

bool ReadPatternColours(const std::wstring& program, std::vector<DWORD>& colours)
{
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return false;
    bool found = false;
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDB_PATTERN_16), MAKEINTRESOURCEW(2));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const auto* header = loaded ? static_cast<const BITMAPINFOHEADER*>(LockResource(loaded)) : nullptr;
    if (header && header->biBitCount <= 8) {
        DWORD count = header->biClrUsed ? header->biClrUsed : 1u << header->biBitCount;
        const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);
        for (DWORD i = 0; i < count; ++i)
            colours.push_back(Rgb(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue));
        found = count > 0;
    }
    FreeLibrary(module);
    return found;
}

}  // namespace

ScreenBackdrop::~ScreenBackdrop()
{
    if (memory_) {
        SelectObject(memory_, previous_);
        DeleteDC(memory_);
    }
    if (rows_)
        DeleteObject(rows_);
    if (screen_)
        ReleaseDC(nullptr, screen_);
}

bool ScreenBackdrop::Open(const std::wstring& setupProgram, std::wstring* error)
{
    colours_.assign(1, kSolidBackdrop);
    if (!ReadPatternColours(setupProgram, colours_)) {
        *error = L"no 16-colour pattern bitmap in " + setupProgram;
        return false;
    }
    width_ = GetSystemMetrics(SM_CXSCREEN);
    height_ = GetSystemMetrics(SM_CYSCREEN);
    screen_ = GetDC(nullptr);
    memory_ = screen_ ? CreateCompatibleDC(screen_) : nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -kSampleRows;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    rows_ = memory_ ? CreateDIBSection(memory_, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!rows_ || width_ <= 0 || height_ <= 0) {
        *error = L"the screen cannot be read";
        return false;
    }
    previous_ = SelectObject(memory_, rows_);
    pixels_ = static_cast<const DWORD*>(bits);
    return true;
}

double ScreenBackdrop::CoveredShare()
{
    for (int row = 0; row < kSampleRows; ++row) {
        int y = (2 * row + 1) * height_ / (2 * kSampleRows);
        BitBlt(memory_, 0, row, width_, 1, screen_, 0, y, SRCCOPY);
    }
    GdiFlush();
    size_t covered = 0;
    size_t total = static_cast<size_t>(width_) * kSampleRows;
    for (size_t i = 0; i < total; ++i) {
        DWORD colour = pixels_[i] & 0x00FFFFFF;
        if (std::find(colours_.begin(), colours_.end(), colour) != colours_.end())
            ++covered;
    }
    return static_cast<double>(covered) / static_cast<double>(total);
}
