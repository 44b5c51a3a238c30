#pragma once
// CRC-32 as zip and PNG compute it (polynomial 0xEDB88320, reflected,
// starting from all ones and inverted at the end), taken eight bytes at a
// step so that checking a file costs far less than writing it.
#include <stddef.h>
#include <windows.h>

// The CRC-32 of `crc`'s bytes followed by `bytes` bytes at `data`; a CRC
// starts at 0.
DWORD Crc32(DWORD crc, const void* data, size_t bytes);
