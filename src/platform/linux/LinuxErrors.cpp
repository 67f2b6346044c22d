// SPDX-License-Identifier: MIT
// Conversion tables of errno values and IPP status codes.
#include "platform/linux/LinuxErrors.h"

#include <cups/ipp.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ps {
namespace {

constexpr TErrorMapping kErrnoTable[] = {
    {0, kErrorSuccess},
    {ENOENT, kErrorFileNotFound},  // no such file or device node
    {ENODEV, kErrorFileNotFound},  // the device went away (unplugged)
    {ENXIO, kErrorFileNotFound},   // no device behind the node
    {ENOTDIR, kErrorFileNotFound},
    {EACCES, kErrorAccessDenied},  // e.g. /dev/usb/lp0 without the lp group
    {EPERM, kErrorAccessDenied},
    {EROFS, kErrorAccessDenied},
    {EBUSY, kErrorBusy},  // usblp and lp take one opener at a time
    {EBADF, kErrorInvalidHandle},
    {EINVAL, kErrorInvalidParameter},
    {ENAMETOOLONG, kErrorInvalidParameter},
    {EFAULT, kErrorInvalidParameter},
    {ETIMEDOUT, kErrorTimeout},
    {EAGAIN, kErrorTimeout},  // nothing ready when the deadline passed
    {ENOSPC, kErrorDiskFull},
    {EDQUOT, kErrorDiskFull},
    {ENOTTY, kErrorInvalidFunction},  // an ioctl the device does not know
    {EOPNOTSUPP, kErrorInvalidFunction},
    {ENOSYS, kErrorNotSupported},
    {EIO, kErrorGenFailure},
    {EPIPE, kErrorWriteFault},  // the peer closed while we wrote
    {ECONNRESET, kErrorWriteFault},
    {ECONNREFUSED, kErrorFileNotFound},  // nothing listens on the printer's port
    {EHOSTUNREACH, kErrorFileNotFound},
    {ENETUNREACH, kErrorFileNotFound},
    {ENOMEM, kErrorInsufficientBuffer},
};

constexpr TErrorMapping kIppTable[] = {
    {IPP_STATUS_OK, kErrorSuccess},
    {IPP_STATUS_OK_IGNORED_OR_SUBSTITUTED, kErrorSuccess},
    {IPP_STATUS_OK_CONFLICTING, kErrorSuccess},
    {IPP_STATUS_ERROR_NOT_FOUND, kErrorInvalidPrinterName},  // no such queue
    {IPP_STATUS_ERROR_FORBIDDEN, kErrorAccessDenied},
    {IPP_STATUS_ERROR_NOT_AUTHENTICATED, kErrorAccessDenied},
    {IPP_STATUS_ERROR_NOT_AUTHORIZED, kErrorAccessDenied},
    {IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED, kErrorAccessDenied},
    {IPP_STATUS_ERROR_BAD_REQUEST, kErrorInvalidParameter},
    {IPP_STATUS_ERROR_ATTRIBUTES_OR_VALUES, kErrorInvalidParameter},
    {IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED, kErrorInvalidParameter},
    {IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS, kErrorSplNoStartDoc},  // the queue rejects jobs
    {IPP_STATUS_ERROR_OPERATION_NOT_SUPPORTED, kErrorNotSupported},
    {IPP_STATUS_ERROR_SERVICE_UNAVAILABLE, kErrorFileNotFound},  // no server to ask
    {IPP_STATUS_ERROR_TIMEOUT, kErrorTimeout},
    {IPP_STATUS_ERROR_DEVICE, kErrorGenFailure},
    {IPP_STATUS_ERROR_INTERNAL, kErrorGenFailure},
};

// The name of the user who runs the program, for the commands a message suggests.
std::string UserName() {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[1024];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found &&
        found->pw_name && *found->pw_name)
        return found->pw_name;
    return "USER";
}

TSysError Lookup(std::span<const TErrorMapping> table, int value) {
    for (const TErrorMapping& row : table) {
        if (row.from == value) return row.to;
    }
    return kErrorGenFailure;
}

}  // namespace

std::span<const TErrorMapping> ErrnoMappings() {
    return kErrnoTable;
}
std::span<const TErrorMapping> IppStatusMappings() {
    return kIppTable;
}

TSysError SysErrorFromErrno(int error) {
    return Lookup(kErrnoTable, error);
}

TSysError SysErrorFromIppStatus(int status) {
    return Lookup(kIppTable, status);
}

bool FailWithErrno(int error) {
    SetThreadLastError(SysErrorFromErrno(error));
    return false;
}

bool FailDeviceOpen(int error, std::string_view device, std::string_view accessRemedy) {
    const std::string name(device);
    switch (error) {
        case EBUSY:
            SetThreadLastError(kErrorBusy, name +
                                               " is in use by another program; try again when "
                                               "it is done");
            return false;
        case EACCES:
        case EPERM:
            SetThreadLastError(kErrorAccessDenied,
                               "no right to open " + name + ": " + std::string(accessRemedy));
            return false;
        case ENOENT:
        case ENODEV:
        case ENXIO:
            SetThreadLastError(kErrorFileNotFound,
                               name + " is not attached: plug the printer in and switch it on");
            return false;
        default:
            SetThreadLastError(SysErrorFromErrno(error),
                               name + " cannot be opened: " + std::strerror(error));
            return false;
    }
}

std::string GroupRemedy(std::string_view group) {
    const std::string name(group);
    return "add the user to the " + name + " group (adduser " + UserName() + " " + name +
           ") and log in again";
}

}  // namespace ps
