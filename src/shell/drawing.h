#pragma once
// Drawing helpers shared by the setup window's panels and backdrop.
#include <windows.h>

void DrawEdgeLines(HDC dc, const RECT& r, HPEN penA, HPEN penB);
void DrawSunkenLine(HDC dc, const RECT& rect);
void DrawRaisedLine(HDC dc, const RECT& rect);
void DrawEtchedFrame(HDC dc, const RECT& rect);
void DrawRaisedBorder(HDC dc, const RECT& rect);
void DrawEmbossedText(HDC dc, const wchar_t* text, const RECT& rect, UINT format);

// Copies bitmap resource `id` to (x, y); a width or height of 0 means the
// bitmap's own. Bitmaps are loaded once and kept for the process.
void DrawBitmap(UINT id, int x, int y, int width, int height, HDC dc);
SIZE GetBitmapSize(UINT id);

// A packed DIB: an info or core header, its colour table, then the bits.
struct PackedDib {
    const BITMAPINFO* info = nullptr;
    const void* bits = nullptr;
    LONG width = 0;
    LONG height = 0;
    int colours = 0;
};

// Reads the bitmap resource `id` of the program as a packed DIB; an empty
// PackedDib when it is missing.
PackedDib LoadPackedDib(UINT id);

// Draws `src` of the DIB onto `dest`: pixel for pixel when both have the same
// size, stretched otherwise, through `palette` when there is one.
void DrawDib(HDC dc, const RECT& dest, const PackedDib& dib, const RECT& src, HPALETTE palette);

// A palette of the DIB's colour table; null without one.
HPALETTE CreateDibPalette(const PackedDib& dib);
