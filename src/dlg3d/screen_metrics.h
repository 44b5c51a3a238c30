#pragma once
// What the library asks of the screen when it decides whether it can show
// the look, behind a seam so that other screens can be tried.
#include <windows.h>

struct ScreenMetrics {
    int width;
    int height;
    int colourBits;  // planes times bits per pixel
};

using ScreenMetricsReader = ScreenMetrics (*)();

// The reader used by the first registration from now on; null restores the
// reader of the real screen.
void SetScreenMetricsReader(ScreenMetricsReader reader);

ScreenMetrics ReadScreenMetrics();
