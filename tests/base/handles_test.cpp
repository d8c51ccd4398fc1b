// The owners whose "none" is not zero, and the COM owner: a real file, a
// real search and a real shell link object, each released exactly when its
// owner goes, and "none" never handed to the function that releases.
#include "base/handles.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <utility>

namespace {

using testing_support::TempDir;

// An open for reading that shares nothing with whoever else holds the file.
HANDLE OpenAlone(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(Handles, AFileOwnerClosesItsFileWhenItGoes) {
    const TempDir folder;
    const std::string path = folder.File("owned.txt");
    testing_support::WriteFileText(path, "held");
    {
        const UniqueFile held(OpenAlone(path));
        ASSERT_TRUE(held);
        const UniqueFile second(OpenAlone(path));
        EXPECT_FALSE(second) << "the file is open, unshared, in the first owner";
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    const UniqueFile again(OpenAlone(path));
    EXPECT_TRUE(again) << "the first owner closed the file as it went";
}

TEST(Handles, AnOwnerOfInvalidHandleValueReleasesNothing) {
    const TempDir folder;
    // What releasing "none" would leave behind, so that its absence below
    // means something.
    SetLastError(ERROR_SUCCESS);
    ASSERT_FALSE(FindClose(INVALID_HANDLE_VALUE));
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    UniqueFile missingFile(OpenAlone(folder.File("missing.txt")));
    WIN32_FIND_DATAA found{};
    UniqueFind noMatch(FindFirstFileA(folder.File("missing*").c_str(), &found));
    EXPECT_FALSE(missingFile);
    EXPECT_FALSE(noMatch);
    EXPECT_EQ(missingFile.get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(noMatch.get(), INVALID_HANDLE_VALUE);

    SetLastError(ERROR_SUCCESS);
    noMatch.reset();
    missingFile.reset();
    {
        const UniqueFind none;
        EXPECT_EQ(none.get(), INVALID_HANDLE_VALUE);
    }
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS))
        << "no release was called on INVALID_HANDLE_VALUE";
}

// Release's result is the object's count of references, as the shell link
// object of the system counts them.
TEST(Handles, AComOwnerGivesBackItsOneReference) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    IShellLinkA* kept = nullptr;
    {
        UniqueCom<IShellLinkA> link;
        ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_IShellLinkA, link.put_void())));
        IShellLinkA* first = link.get();
        first->AddRef();
        // Receiving another object gives back the one held first.
        ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_IShellLinkA, link.put_void())));
        EXPECT_NE(link.get(), first);
        EXPECT_EQ(first->Release(), 0u) << "the owner kept a reference to the first object";

        kept = link.get();
        kept->AddRef();
        UniqueCom<IShellLinkA> moved(std::move(link));
        EXPECT_FALSE(link);
        EXPECT_EQ(moved.get(), kept);
    }
    EXPECT_EQ(kept->Release(), 0u) << "the owner did not give back its reference";
    CoUninitialize();
}

}  // namespace
