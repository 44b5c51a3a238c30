// lzcopy_all SHARE OUT
//
// (SHARE and OUT are folders whose names end in a backslash.)
// The platform's own expansion, as a program of its own so that it is timed
// start to exit as setup is: LZCopy of every file of the share into OUT.
// Exit code 0 when every file was copied, 1 otherwise.
#include <windows.h>

#include <string>

#include "payload_io.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const std::wstring share = argv[1];
    const std::wstring out = argv[2];
    CreateDirectoryW(out.c_str(), nullptr);
    bool whole = true;
    ULONGLONG bytes = 0;
    for (const std::wstring& name : ShareFiles(share))
        whole = LzCopyFile(share + name, out + name, &bytes) && whole;
    return whole ? 0 : 1;
}
