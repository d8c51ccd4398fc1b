// Counts the calls this test program makes that reach a window of another
// process: while a counter lives, the program's imports of the user32
// functions that take a window are routed through counting wrappers, so
// every such call the program's code makes is seen, through whatever path
// it comes.
#pragma once

#include <windows.h>

namespace testing_support {

class ForeignCallCounter {
public:
    ForeignCallCounter();
    ~ForeignCallCounter();
    ForeignCallCounter(const ForeignCallCounter&) = delete;
    ForeignCallCounter& operator=(const ForeignCallCounter&) = delete;

    // Whether the imports could be routed; counts nothing otherwise.
    bool Active() const { return routed_ > 0; }
    void Reset();
    // Calls with a window of another process since the counter was made or
    // last reset.
    long Count() const;
    // The same for one function by its name ("GetWindowTextA").
    long CountOf(const char* function) const;

private:
    int routed_ = 0;
};

}  // namespace testing_support
