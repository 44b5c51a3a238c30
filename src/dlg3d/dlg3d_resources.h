#pragma once
// The library's own resource: a program that uses it includes dlg3d.rc.

// 70 x 39 pixels, 4 bits: 5 columns x 3 rows of 14 x 13 glyphs (drawn by
// tools/artgen/make_glyphs.py).
#define IDB_DLG3D_GLYPHS 26567
