#pragma once
// A symbolic link made on the Unix side of Wine, where CreateSymbolicLinkW
// answers success and makes none.
#include <string>

namespace support {

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
