// The payload's files as the bench programs read and write them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The share's files, sorted; names starting with a dot are the media's own
// markers and checksum.lst the media's checksum list, not product files.
std::vector<std::wstring> ShareFiles(const std::wstring& share);

// Expands `from` (SZDD or plain) into `to` with LZRead in blocks of the
// buffer's size, calling `afterBlock(edge)` after each block is written,
// where `edge` is true for the file's first and last block. Adds the bytes
// written to `*bytes`; false on any failure.
bool ExpandFile(const std::wstring& from, const std::wstring& to, std::vector<char>& buffer,
                const std::function<void(bool edge)>& afterBlock, ULONGLONG* bytes);

// The same with LZCopy.
bool LzCopyFile(const std::wstring& from, const std::wstring& to, ULONGLONG* bytes);

// Removes `folder` (ending in a backslash) and everything in it; true when it
// is gone.
bool RemoveTree(const std::wstring& folder);

// The bytes of every file under `folder` (ending in a backslash).
ULONGLONG TreeBytes(const std::wstring& folder);
