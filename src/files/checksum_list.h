#pragma once
// The checksum list on the first source disk: for every file of the media,
// its name on the disk, its expanded size and the CRC-32 of its expanded
// bytes. The compressed format carries no checksum and a changed byte keeps
// the length, so without the list such damage would install unnoticed.
// Media made without a list install as before, unchecked.
#include <windows.h>

// The list's first line; a list of another version is not read.
constexpr char kChecksumListHeader[] = "Tapewright checksum list, version 1";

// Reads the list from `sourceDir` (the first disk, with its backslash), in
// place of the one read before. True when there is none, or when it is
// sound and names every file of the chosen install type. A list that cannot
// be read, has another header, a line that does not parse, a name twice or
// lacks a file is a read error of the list: reported (unattended: not
// shown), CopyErrorFlag set, false.
bool LoadChecksumList(const wchar_t* sourceDir);

// True when the list read names `diskName` (case ignored).
bool HasChecksum(const wchar_t* diskName);

// False when the list read names `diskName` with another size or CRC-32;
// true when they match or the list has no line for it.
bool MatchesChecksum(const wchar_t* diskName, ULONGLONG size, DWORD crc);
