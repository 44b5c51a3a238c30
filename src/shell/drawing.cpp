#include "shell/drawing.h"

#include <map>

#include "shell/setup_state.h"

namespace {

// Owns a GDI object for the length of one drawing call.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    ~GdiObject() { if (object_) DeleteObject(object_); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    template <typename T> T get() const { return static_cast<T>(object_); }

private:
    HGDIOBJ object_;
};

HPEN StockPen(int which) { return static_cast<HPEN>(GetStockObject(which)); }

// The shadow colour can change while setup runs, so its pen is made anew for
// each drawing.
HPEN CreateShadowPen()
{
    return CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
}

RECT LessRightBottom(const RECT& rect)
{
    RECT r = rect;
    --r.right;
    --r.bottom;
    return r;
}

std::map<UINT, HBITMAP>& BitmapCache()
{
    static std::map<UINT, HBITMAP> cache;
    return cache;
}

HBITMAP CachedBitmap(UINT id)
{
    auto& cache = BitmapCache();
    auto found = cache.find(id);
    if (found != cache.end())
        return found->second;
    HBITMAP bitmap = LoadBitmapW(Instance, MAKEINTRESOURCEW(id));
    if (bitmap)
        cache[id] = bitmap;
    return bitmap;
}

}  // namespace

void DrawEdgeLines(HDC dc, const RECT& r, HPEN penA, HPEN penB)
{
    HGDIOBJ previous = SelectObject(dc, penA);
    MoveToEx(dc, r.left, r.bottom - 1, nullptr);
    LineTo(dc, r.left, r.top);
    LineTo(dc, r.right, r.top);
    SelectObject(dc, penB);
    LineTo(dc, r.right, r.bottom);
    LineTo(dc, r.left - 1, r.bottom);
    SelectObject(dc, previous);
}

void DrawSunkenLine(HDC dc, const RECT& rect)
{
    GdiObject shadow(CreateShadowPen());
    DrawEdgeLines(dc, LessRightBottom(rect), shadow.get<HPEN>(), StockPen(WHITE_PEN));
}

void DrawRaisedLine(HDC dc, const RECT& rect)
{
    GdiObject shadow(CreateShadowPen());
    DrawEdgeLines(dc, LessRightBottom(rect), StockPen(WHITE_PEN), shadow.get<HPEN>());
}

void DrawEtchedFrame(HDC dc, const RECT& rect)
{
    GdiObject shadow(CreateShadowPen());
    RECT r = LessRightBottom(rect);
    DrawEdgeLines(dc, r, shadow.get<HPEN>(), StockPen(WHITE_PEN));
    InflateRect(&r, -1, -1);
    DrawEdgeLines(dc, r, StockPen(WHITE_PEN), shadow.get<HPEN>());
}

void DrawRaisedBorder(HDC dc, const RECT& rect)
{
    GdiObject shadow(CreateShadowPen());
    RECT r = LessRightBottom(rect);
    DrawEdgeLines(dc, r, shadow.get<HPEN>(), StockPen(BLACK_PEN));
    InflateRect(&r, -1, -1);
    DrawEdgeLines(dc, r, StockPen(WHITE_PEN), shadow.get<HPEN>());
}

void DrawEmbossedText(HDC dc, const wchar_t* text, const RECT& rect, UINT format)
{
    COLORREF previous = SetTextColor(dc, RGB(255, 255, 255));
    RECT r = rect;
    OffsetRect(&r, 0, 1);
    DrawTextW(dc, text, -1, &r, format);
    OffsetRect(&r, 1, 0);
    DrawTextW(dc, text, -1, &r, format);
    SetTextColor(dc, RGB(0, 0, 0));
    r = rect;
    DrawTextW(dc, text, -1, &r, format);
    SetTextColor(dc, previous);
}

void DrawBitmap(UINT id, int x, int y, int width, int height, HDC dc)
{
    HBITMAP bitmap = CachedBitmap(id);
    if (!bitmap)
        return;
    SIZE size = GetBitmapSize(id);
    if (width == 0)
        width = size.cx;
    if (height == 0)
        height = size.cy;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory)
        return;
    SetMapMode(memory, GetMapMode(dc));
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(dc, x, y, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

SIZE GetBitmapSize(UINT id)
{
    SIZE size = {0, 0};
    BITMAP info;
    HBITMAP bitmap = CachedBitmap(id);
    if (bitmap && GetObjectW(bitmap, sizeof info, &info)) {
        size.cx = info.bmWidth;
        size.cy = info.bmHeight;
    }
    return size;
}

PackedDib LoadPackedDib(UINT id)
{
    PackedDib dib;
    HRSRC resource = FindResourceW(Instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    HGLOBAL loaded = resource ? LoadResource(Instance, resource) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!data)
        return dib;
    DWORD headerSize = *reinterpret_cast<const DWORD*>(data);
    int bitCount;
    int entryBytes;
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
        auto core = reinterpret_cast<const BITMAPCOREHEADER*>(data);
        dib.width = core->bcWidth;
        dib.height = core->bcHeight;
        bitCount = core->bcBitCount;
        dib.colours = 0;
        entryBytes = 3;
    } else {
        auto header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
        dib.width = header->biWidth;
        dib.height = header->biHeight;
        bitCount = header->biBitCount;
        dib.colours = static_cast<int>(header->biClrUsed);
        entryBytes = 4;
    }
    if (dib.colours == 0)
        dib.colours = bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
    dib.info = reinterpret_cast<const BITMAPINFO*>(data);
    dib.bits = data + headerSize + dib.colours * entryBytes;
    return dib;
}

void DrawDib(HDC dc, const RECT& dest, const PackedDib& dib, const RECT& src, HPALETTE palette)
{
    if (!dib.info)
        return;
    HPALETTE previous = palette ? SelectPalette(dc, palette, TRUE) : nullptr;
    SetStretchBltMode(dc, COLORONCOLOR);
    int destWidth = dest.right - dest.left;
    int destHeight = dest.bottom - dest.top;
    int srcWidth = src.right - src.left;
    int srcHeight = src.bottom - src.top;
    if (destWidth == srcWidth && destHeight == srcHeight) {
        SetDIBitsToDevice(dc, dest.left, dest.top, destWidth, destHeight, src.left,
                          dib.height - src.bottom, 0, dib.height, dib.bits, dib.info,
                          DIB_RGB_COLORS);
    } else {
        StretchDIBits(dc, dest.left, dest.top, destWidth, destHeight, src.left,
                      dib.height - src.bottom, srcWidth, srcHeight, dib.bits, dib.info,
                      DIB_RGB_COLORS, SRCCOPY);
    }
    if (previous)
        SelectPalette(dc, previous, TRUE);
}

HPALETTE CreateDibPalette(const PackedDib& dib)
{
    if (!dib.info || dib.colours == 0)
        return nullptr;
    bool core = dib.info->bmiHeader.biSize == sizeof(BITMAPCOREHEADER);
    auto table = reinterpret_cast<const BYTE*>(dib.info) + dib.info->bmiHeader.biSize;
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[256];
    } logical;
    logical.version = 0x300;
    logical.count = static_cast<WORD>(dib.colours > 256 ? 256 : dib.colours);
    for (int i = 0; i < logical.count; ++i) {
        const BYTE* entry = table + i * (core ? 3 : 4);
        // Colour table entries are stored blue, green, red.
        logical.entries[i].peRed = entry[2];
        logical.entries[i].peGreen = entry[1];
        logical.entries[i].peBlue = entry[0];
        logical.entries[i].peFlags = 0;
    }
    return CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
}
