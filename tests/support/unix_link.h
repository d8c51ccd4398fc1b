// Folder links as a program under Wine meets them. Wine makes none itself
// (CreateSymbolicLink does nothing there, and junctions cannot be set), but
// a symbolic link made on the Unix side shows as a folder that is a reparse
// point, and Wine follows it: the way to give a test a link that loops.
#pragma once

#include <string>

namespace testing_support {

// Makes link (a Windows path) a Unix symbolic link to target, a path as ln
// takes it (relative to the link's folder, or absolute); whether the link
// is there.
bool MakeUnixLink(const std::string& link, const std::string& target);

// Removes folder with everything in it, links as links (none is followed);
// whether it is gone.
bool RemoveUnixTree(const std::string& folder);

// A folder link for the length of a test.
class UnixFolderLink {
public:
    // link (a Windows path) pointing at target, as MakeUnixLink takes them.
    UnixFolderLink(const std::string& link, const std::string& target);
    ~UnixFolderLink() { RemoveUnixTree(link_); }
    UnixFolderLink(const UnixFolderLink&) = delete;
    UnixFolderLink& operator=(const UnixFolderLink&) = delete;

    // Whether the link shows as a reparse point.
    bool Made() const;

private:
    std::string link_;
};

}  // namespace testing_support
