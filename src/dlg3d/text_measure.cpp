#include "dlg3d/text_measure.h"

#include "dlg3d/library_state.h"

using namespace dlg3d;

size_t StripMnemonics(const wchar_t* text, wchar_t* out, size_t outChars, bool doubleByte, wchar_t prefix)
{
    if (outChars == 0)
        return 0;
    const wchar_t other = prefix == 30 ? 31 : 30;
    size_t n = 0;
    for (size_t i = 0; text[i] && n + 1 < outChars; ++i) {
        wchar_t c = text[i];
        const bool marker = c == L'&' || (doubleByte && c == prefix);
        if (marker || (doubleByte && c == other)) {
            if (!text[i + 1])
                break;
            ++i;
            if (!marker)
                continue;
            c = text[i];
        }
        out[n++] = c;
    }
    out[n] = 0;
    return n;
}

SIZE MeasureControlText(HDC dc, const wchar_t* text)
{
    wchar_t shown[512];
    const size_t length = StripMnemonics(text, shown, ARRAYSIZE(shown), Lib.doubleByte, Lib.menuPrefix);
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, shown, static_cast<int>(length), &size);
    return size;
}
