// The profile hex form of binary values in INI files: each data byte as two
// upper-case hex digits, then a checksum byte (the sum of the data bytes
// modulo 256) written the same way. This is the form of the platform's
// profile-struct functions; reading is done here because the platform accepts
// some values the form does not (an odd length one character too long).
#pragma once

#include <cstddef>
#include <string>

namespace profile_hex {

std::string Encode(const void* data, std::size_t size);

// Fills out only when text is exactly 2 * size + 2 hex digits (either case)
// with a matching checksum; otherwise leaves out untouched and returns false.
bool Decode(const char* text, void* out, std::size_t size);

// The value of key in section of iniPath, decoded as above.
bool ReadStruct(const char* iniPath, const char* section, const char* key,
                void* out, std::size_t size);
bool WriteStruct(const char* iniPath, const char* section, const char* key,
                 const void* data, std::size_t size);

}  // namespace profile_hex
