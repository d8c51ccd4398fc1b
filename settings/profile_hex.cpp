// Profile hex form: encoding, strict decoding, and the INI read and write.
#include "settings/profile_hex.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace profile_hex {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string Encode(const void* data, std::size_t size) {
    static const char kDigits[] = "0123456789ABCDEF";
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::string text;
    text.reserve(2 * size + 2);
    unsigned sum = 0;
    auto put = [&](unsigned char b) {
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0x0F]);
    };
    for (std::size_t i = 0; i < size; ++i) {
        put(bytes[i]);
        sum += bytes[i];
    }
    put(static_cast<unsigned char>(sum & 0xFF));
    return text;
}

bool Decode(const char* text, void* out, std::size_t size) {
    if (!text || std::strlen(text) != 2 * size + 2) return false;
    std::vector<unsigned char> bytes(size + 1);
    for (std::size_t i = 0; i <= size; ++i) {
        const int hi = HexValue(text[2 * i]);
        const int lo = HexValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes[i] = static_cast<unsigned char>(hi << 4 | lo);
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < size; ++i) sum += bytes[i];
    if ((sum & 0xFF) != bytes[size]) return false;
    std::memcpy(out, bytes.data(), size);
    return true;
}

bool ReadStruct(const char* iniPath, const char* section, const char* key,
                void* out, std::size_t size) {
    // Room for a value longer than the expected one, so that it is seen as
    // too long rather than silently cut to the right length.
    std::vector<char> text(2 * size + 16);
    GetPrivateProfileStringA(section, key, "", text.data(),
                             static_cast<DWORD>(text.size()), iniPath);
    return Decode(text.data(), out, size);
}

bool WriteStruct(const char* iniPath, const char* section, const char* key,
                 const void* data, std::size_t size) {
    return WritePrivateProfileStringA(section, key, Encode(data, size).c_str(),
                                      iniPath) != FALSE;
}

}  // namespace profile_hex
