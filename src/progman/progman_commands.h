#pragma once
// Program Manager's command strings for the product's group, and the
// operations that send them over the open conversation.
#include <windows.h>

#include <string>

// A field as a command carries it: between double quotes when it holds a
// character that would otherwise end the field or the command (space, comma,
// parentheses, brackets). False for a field that no command can carry (it
// holds a double quote).
bool FormatField(const std::wstring& field, std::wstring* out);

// The command line of an item: the program's path, quoted as a field when
// it needs it, then one space and `args` when there are any. False when the
// line cannot be carried: a double quote in the path, or a character of the
// arguments outside double quotes that would end the field.
bool FormatCommandLine(const std::wstring& exePath, const std::wstring& args, std::wstring* out);

// The group field's values, and the item fields setup always gives: the
// program's first icon, shown normally.
constexpr int kPersonalGroup = 0;
constexpr int kCommonGroup = 1;
constexpr int kItemIcon = 0;
constexpr int kItemNotMinimized = 0;

// Each builds one command string; false when a field cannot be carried.
bool FormatDeleteGroup(const std::wstring& group, int common, std::wstring* command);
bool FormatDeleteItem(const std::wstring& group, int common, const std::wstring& title, std::wstring* command);
bool FormatReplaceItem(const std::wstring& group, int common, const std::wstring& title, std::wstring* command);
bool FormatAddItem(const std::wstring& group, int common, const std::wstring& exePath, const std::wstring& workDir,
                   const std::wstring& args, const std::wstring& title, int iconIndex, int minimize,
                   std::wstring* command);

// The operations: each returns what DdeExecute returns, false for a command
// that cannot be built.
bool PmDeleteGroup(const std::wstring& group, int common);
bool PmDeleteItem(const std::wstring& group, int common, const std::wstring& title);
// Removes the item of `title`, keeping its place, and adds the new item
// there; the result is that of the second command.
bool PmReplaceAndAddItem(const std::wstring& group, int common, const std::wstring& exePath,
                         const std::wstring& workDir, const std::wstring& args, const std::wstring& title,
                         int iconIndex, int minimize);
