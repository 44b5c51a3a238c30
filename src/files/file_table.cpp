#include "files/file_table.h"

#include "res/resource_ids.h"

const FileEntry kFileTable[] = {
#define FILE_ROW(disk, installed, destination, title, order, flags, args, types) \
    {disk, installed, destination, title, order, flags, args, types},
#include "files/file_table.inc"
#undef FILE_ROW
};

const int kFileCount = sizeof kFileTable / sizeof kFileTable[0];
