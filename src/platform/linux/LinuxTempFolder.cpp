// SPDX-License-Identifier: MIT
// The private temporary folder of a Linux user: made with mode 0700 and checked before use.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/linux/LinuxKernel.h"

namespace ps {
namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string OctalMode(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

}  // namespace

std::string PrivateTempFolderPath(const char* xdgRuntimeDir, const char* tmpDir,
                                  unsigned long uid) {
    auto strip = [](std::string dir) {
        while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
        return dir;
    };
    if (xdgRuntimeDir && xdgRuntimeDir[0] == '/') {
        return strip(xdgRuntimeDir) + "/printer-settings";
    }
    std::string base = tmpDir && *tmpDir ? tmpDir : "/tmp";
    base = strip(base);
    if (base == "/") base.clear();
    return base + "/printer-settings-" + std::to_string(uid);
}

bool MakePrivateFolder(const std::string& path, std::string& problem) {
    const std::string subject = "the temporary folder " + Quoted(path);
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        problem = "cannot create " + subject + ": " + std::strerror(errno);
        return false;
    }
    // lstat: a link planted at the name is judged itself, not the folder it points to.
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        problem = "cannot check " + subject + ": " + std::strerror(errno);
        return false;
    }
    if (S_ISLNK(info.st_mode)) {
        problem = subject +
                  " is a symbolic link, which another user may have planted; it is "
                  "not used. Remove it and start again.";
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        problem = subject + " is not a folder; it is not used. Remove it and start again.";
        return false;
    }
    if (info.st_uid != ::geteuid()) {
        problem = subject + " belongs to user id " + std::to_string(info.st_uid) +
                  ", not to this user (" + std::to_string(::geteuid()) + "); it is not used.";
        return false;
    }
    if ((info.st_mode & 077) != 0) {
        problem = subject + " has mode " + OctalMode(info.st_mode) +
                  ", which lets other users in; it is not used until its mode is 0700.";
        return false;
    }
    return true;
}

}  // namespace ps
