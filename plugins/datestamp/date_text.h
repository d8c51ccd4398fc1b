// The date stamp's text: "yyyy/mm/dd" and its terminator, 11 bytes.
#pragma once

#include "plugins/datestamp/datestamp_texts.h"

#include <windows.h>

#include <cstdio>

inline constexpr int kDateTextSize = 11;

inline void FormatDateText(const SYSTEMTIME& time, char (&text)[kDateTextSize]) {
    std::snprintf(text, sizeof text, datestamp_texts::kDateFormat, time.wYear % 10000,
                  time.wMonth % 100, time.wDay % 100);
}
