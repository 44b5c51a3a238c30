#pragma once
// The Unix side of Wine: a symbolic link made there, where
// CreateSymbolicLinkW answers success and makes none, and the Unix commands
// that do such work.
#include <functional>
#include <initializer_list>
#include <string>

namespace support {

// The Unix path of the Windows path `path`; empty when it has none.
std::string UnixPath(const std::wstring& path);

// Runs the Unix command `command` with the Unix paths of the Windows paths
// `paths` after it, each quoted, and waits until `done` holds: Wine starts a
// Unix program as it would a Windows one, but its handle cannot be waited on.
bool RunUnix(const wchar_t* command, std::initializer_list<std::wstring> paths, const std::function<bool()>& done);

class UnixLink {
public:
    // Makes `link` lead to `target` (Windows paths; the target exists).
    UnixLink(const std::wstring& link, const std::wstring& target);
    // Removes the link alone.
    ~UnixLink();
    UnixLink(const UnixLink&) = delete;
    UnixLink& operator=(const UnixLink&) = delete;

    // False when the link could not be made.
    explicit operator bool() const { return made_; }

private:
    std::wstring link_;
    bool made_;
};

}  // namespace support
