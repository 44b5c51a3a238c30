#include "files/crc32.h"

namespace {

constexpr DWORD kPolynomial = 0xEDB88320;

// Table k gives the CRC of a byte followed by k zero bytes.
struct CrcTables {
    DWORD next[8][256];
};

CrcTables MakeTables()
{
    CrcTables tables = {};
    for (DWORD byte = 0; byte < 256; ++byte) {
        DWORD crc = byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ kPolynomial : crc >> 1;
        tables.next[0][byte] = crc;
    }
    for (int k = 1; k < 8; ++k)
        for (DWORD byte = 0; byte < 256; ++byte) {
            const DWORD shorter = tables.next[k - 1][byte];
            tables.next[k][byte] = (shorter >> 8) ^ tables.next[0][shorter & 0xFF];
        }
    return tables;
}

DWORD LittleEndian32(const BYTE* bytes)
{
    return bytes[0] | static_cast<DWORD>(bytes[1]) << 8 | static_cast<DWORD>(bytes[2]) << 16 |
           static_cast<DWORD>(bytes[3]) << 24;
}

}  // namespace

DWORD Crc32(DWORD crc, const void* data, size_t bytes)
{
    static const CrcTables tables = MakeTables();
    const auto& t = tables.next;
    const BYTE* at = static_cast<const BYTE*>(data);
    crc = ~crc;
    for (; bytes >= 8; at += 8, bytes -= 8) {
        const DWORD low = crc ^ LittleEndian32(at);
        const DWORD high = LittleEndian32(at + 4);
        crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
              t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
    }
    for (; bytes > 0; ++at, --bytes)
        crc = t[0][(crc ^ *at) & 0xFF] ^ (crc >> 8);
    return ~crc;
}
