#include "services/account_password.h"

#include "shell/late_bound.h"

namespace {

constexpr wchar_t kAlphabet[] = L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr unsigned kAlphabetSize = sizeof kAlphabet / sizeof kAlphabet[0] - 1;

// The runtime's classic generator, kept here so the "$DEFAULT$" password is
// the same whatever runtime setup is built with: state * 214013 + 2531011,
// drawing bits 16 to 30.
class SiteGenerator {
public:
    explicit SiteGenerator(DWORD seed) : state_(seed) {}
    unsigned Next()
    {
        state_ = state_ * 214013u + 2531011u;
        return (state_ >> 16) & 0x7FFF;
    }

private:
    DWORD state_;
};

using GenRandomCall = BOOLEAN(WINAPI*)(PVOID buffer, ULONG bytes);

}  // namespace

DWORD NameHash(const wchar_t* text)
{
    DWORD hash = 0;
    for (; *text; ++text) {
        hash = (hash << 4) + static_cast<WORD>(*text);
        DWORD high = hash & 0xF0000000;
        if (high) {
            hash ^= high >> 24;
            hash ^= high;
        }
    }
    return hash;
}

void MakeDefaultPassword(const wchar_t* domain, const wchar_t* user, wchar_t* password)
{
    SiteGenerator generator(NameHash(user) ^ NameHash(domain));
    password[kGeneratedPasswordChars] = 0;
    for (int i = kGeneratedPasswordChars - 1; i >= 0; --i)
        password[i] = kAlphabet[generator.Next() % kAlphabetSize];
}

bool MakeRandomPassword(wchar_t* password)
{
    // The system's generator, exported by advapi32 as SystemFunction036 on
    // every Windows NT from XP on.
    static const auto generate = reinterpret_cast<GenRandomCall>(
        reinterpret_cast<void*>(LateBoundFunction(L"advapi32.dll", "SystemFunction036")));
    if (!generate)
        return false;
    // Bytes at or above the largest multiple of the alphabet's size are drawn
    // again, so every character is equally likely.
    constexpr unsigned kUnbiasedLimit = 256 / kAlphabetSize * kAlphabetSize;
    int filled = 0;
    while (filled < kGeneratedPasswordChars) {
        BYTE bytes[32];
        if (!generate(bytes, sizeof bytes))
            return false;
        for (BYTE byte : bytes) {
            if (byte < kUnbiasedLimit && filled < kGeneratedPasswordChars)
                password[filled++] = kAlphabet[byte % kAlphabetSize];
        }
        SecureZeroMemory(bytes, sizeof bytes);
    }
    password[kGeneratedPasswordChars] = 0;
    return true;
}
