// Texts kept in INI files and written back (a folder name, menu titles,
// class names): read so that what is written reads back the same.
#pragma once

#include <cstddef>

// The value of key in section of iniPath (fallback when there is none),
// into out of size bytes. A value longer than out holds is cut at a whole
// character of the code page, and the cut text is left as the next read
// would see it: no white space at either end, no quotes around it. So
// writing the text and reading it again gives the same text.
void ReadProfileText(const char* iniPath, const char* section, const char* key,
                     const char* fallback, char* out, std::size_t size);
