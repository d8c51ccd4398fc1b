// A symbolic link to a folder, made the way that works under Wine: Wine's
// CreateSymbolicLinkW says yes and makes nothing, but a Unix symbolic link
// to a folder on the prefix's drive shows to Windows programs as a folder
// that is a reparse point, as a junction does on Windows. It is made with ln
// and removed with rm (Windows' own calls follow it instead); Wine starts
// Unix programs without a handle to wait on, so each waits for its effect.
#pragma once

#include <string>

namespace testing_support {

class UnixFolderLink {
public:
    // link (a Windows path) pointing at target, as ln -s takes it (relative
    // to link's folder, "." for that folder itself).
    UnixFolderLink(const std::string& link, const std::string& target);
    ~UnixFolderLink();
    UnixFolderLink(const UnixFolderLink&) = delete;
    UnixFolderLink& operator=(const UnixFolderLink&) = delete;

    // Whether the link shows as a reparse point.
    bool Made() const;

private:
    std::string link_;
    std::string unixPath_;
};

}  // namespace testing_support
