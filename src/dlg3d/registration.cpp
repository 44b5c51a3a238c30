// Registration, the colour set (colours, brushes, glyph bitmap) and its
// rebuilding when the system's colours change.
#include <string.h>

#include <initializer_list>

#include "dlg3d/dlg3d.h"
#include "dlg3d/dlg3d_resources.h"
#include "dlg3d/library_state.h"
#include "dlg3d/screen_metrics.h"

namespace dlg3d {

Library Lib;

}  // namespace dlg3d

using namespace dlg3d;

namespace {

ScreenMetricsReader MetricsReader;

const int kSystemColours[kColourCount] = {
    COLOR_BTNHIGHLIGHT, COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNTEXT,
    COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_GRAYTEXT, COLOR_WINDOWFRAME,
};

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kMidGrey = RGB(128, 128, 128);
const COLORREF kLightGrey = RGB(192, 192, 192);

WORD ReadVersion()
{
    DWORD version = GetVersion();
    WORD major = LOBYTE(LOWORD(version));
    if (version & 0x80000000)
        major = 3;
    return static_cast<WORD>((major << 8) | HIBYTE(LOWORD(version)));
}

void ReadColours(COLORREF (&colours)[kColourCount])
{
    for (int i = 0; i < kColourCount; ++i)
        colours[i] = GetSysColor(kSystemColours[i]);
    if (Lib.version == 0x0300)
        colours[kHighlight] = kWhite;
    // Disabled text must stand out from the face it is drawn on.
    if (colours[kGrayText] == 0 || colours[kGrayText] == colours[kFace])
        colours[kGrayText] = colours[kFace] == kMidGrey ? kLightGrey : kMidGrey;
}

RGBQUAD Quad(COLORREF colour)
{
    RGBQUAD quad = {GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
    return quad;
}

// The glyph bitmap with its colour table entries replaced by `colours`, as a
// bitmap of the screen's format.
HBITMAP CreateGlyphBitmap(const COLORREF (&colours)[kColourCount])
{
    HRSRC found = FindResourceW(Lib.instance, MAKEINTRESOURCEW(IDB_DLG3D_GLYPHS), MAKEINTRESOURCEW(2));
    HGLOBAL loaded = found ? LoadResource(Lib.instance, found) : nullptr;
    const BYTE* packed = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!packed)
        return nullptr;
    const DWORD size = SizeofResource(Lib.instance, found);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD table[16];
    } info;
    if (size < sizeof info)
        return nullptr;
    memcpy(&info, packed, sizeof info);
    const LONG stride = ((info.header.biWidth * 4 + 31) / 32) * 4;
    if (info.header.biSize != sizeof info.header || info.header.biBitCount != 4 ||
        info.header.biCompression != BI_RGB || (info.header.biClrUsed != 0 && info.header.biClrUsed != 16) ||
        info.header.biWidth < 5 * kGlyphWidth || info.header.biHeight < 3 * kGlyphHeight ||
        size - sizeof info < static_cast<DWORD>(stride * info.header.biHeight))
        return nullptr;
    info.table[0] = Quad(colours[kWindowText]);
    info.table[7] = Quad(colours[kShadow]);
    info.table[8] = Quad(colours[kFace]);
    info.table[10] = Quad(colours[kWindowFrame]);
    info.table[11] = Quad(colours[kWindow]);
    info.table[15] = Quad(colours[kHighlight]);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &info.header, CBM_INIT, packed + sizeof info,
                                    reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

void DeleteObjects(HBRUSH highlight, HBRUSH face, HBRUSH shadow, HBITMAP glyphs)
{
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(highlight), static_cast<HGDIOBJ>(face),
                           static_cast<HGDIOBJ>(shadow), static_cast<HGDIOBJ>(glyphs)}) {
        if (object)
            DeleteObject(object);
    }
}

// Makes a new colour set current; a failure keeps the one there is.
bool BuildColourSet(bool firstBuild)
{
    COLORREF colours[kColourCount];
    ReadColours(colours);
    if (!firstBuild && memcmp(colours, Lib.colours, sizeof colours) == 0)
        return true;
    HBITMAP glyphs = CreateGlyphBitmap(colours);
    HBRUSH highlight = CreateSolidBrush(colours[kHighlight]);
    HBRUSH face = CreateSolidBrush(colours[kFace]);
    HBRUSH shadow = CreateSolidBrush(colours[kShadow]);
    if (!glyphs || !highlight || !face || !shadow) {
        DeleteObjects(highlight, face, shadow, glyphs);
        return false;
    }
    DeleteObjects(Lib.highlightBrush, Lib.faceBrush, Lib.shadowBrush, Lib.glyphs);
    memcpy(Lib.colours, colours, sizeof colours);
    Lib.highlightBrush = highlight;
    Lib.faceBrush = face;
    Lib.shadowBrush = shadow;
    Lib.glyphs = glyphs;
    return true;
}

void ReleaseColourSet()
{
    DeleteObjects(Lib.highlightBrush, Lib.faceBrush, Lib.shadowBrush, Lib.glyphs);
    Lib.highlightBrush = Lib.faceBrush = Lib.shadowBrush = nullptr;
    Lib.glyphs = nullptr;
}

bool ProfileSays(const wchar_t* key, const wchar_t* fallback, const wchar_t* expected)
{
    wchar_t value[16];
    GetProfileStringW(L"windows", key, fallback, value, ARRAYSIZE(value));
    return lstrcmpiW(value, expected) == 0;
}

void ReadMenuPrefix()
{
    Lib.doubleByte = GetSystemMetrics(SM_DBCSENABLED) != 0;
    Lib.menuPrefix = 30;
    if (Lib.doubleByte && (ProfileSays(L"kanjimenu", L"roman", L"kanji") ||
                           ProfileSays(L"hangeulmenu", L"english", L"hangeul")))
        Lib.menuPrefix = 31;
}

void RecordClassProcedures()
{
    const wchar_t* const names[kClassProcedures] = {L"Button", L"ListBox", L"Edit", L"ComboBox",
                                                    L"Static", L"ComboLBox", L"#32770"};
    for (int row = 0; row < kClassProcedures; ++row) {
        WNDCLASSW info = {};
        Lib.classProcedures[row] = GetClassInfoW(nullptr, names[row], &info) ? info.lpfnWndProc : DefWindowProcW;
    }
}

bool ScreenCanShowTheLook()
{
    ScreenMetrics screen = (MetricsReader ? MetricsReader : ReadScreenMetrics)();
    return screen.colourBits >= 4 && !(screen.width == 640 && screen.height == 350);
}

bool Initialise(HINSTANCE instance)
{
    Lib.instance = instance;
    Lib.version = ReadVersion();
    Lib.frameX = GetSystemMetrics(SM_CXDLGFRAME) - 1;
    Lib.frameY = GetSystemMetrics(SM_CYDLGFRAME) - 1;
    Lib.captionHeight = GetSystemMetrics(SM_CYCAPTION);
    Lib.sizeWidth = GetSystemMetrics(SM_CXSIZE);
    if (Lib.version >= kVersion400 || !ScreenCanShowTheLook())
        return false;
    // The atom outlives the registrations: windows still subclassed when
    // the library goes off keep finding their previous procedures by it.
    if (!Lib.property)
        Lib.property = GlobalAddAtomW(L"Dlg3d");
    if (!Lib.property)
        return false;
    ReadMenuPrefix();
    if (!BuildColourSet(true))
        return false;
    RecordClassProcedures();
    return true;
}

}  // namespace

ScreenMetrics ReadScreenMetrics()
{
    HDC screen = GetDC(nullptr);
    ScreenMetrics metrics = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                             GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL)};
    ReleaseDC(nullptr, screen);
    return metrics;
}

void SetScreenMetricsReader(ScreenMetricsReader reader)
{
    MetricsReader = reader;
}

BOOL Register3dControls(HINSTANCE instance)
{
    if (Lib.registrations++ == 0)
        Lib.active = Initialise(instance);
    return Lib.active;
}

BOOL Unregister3dControls(HINSTANCE instance)
{
    RemoveHook(instance);
    if (Lib.registrations > 0 && --Lib.registrations == 0) {
        Lib.active = false;
        ReleaseColourSet();
    }
    return TRUE;
}

BOOL ColorChange3d()
{
    return Lib.active && BuildColourSet(false);
}
