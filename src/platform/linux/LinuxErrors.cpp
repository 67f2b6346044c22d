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
    {EBUSY, kErrorAccessDenied},  // usblp takes one opener at a time
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

bool FailToOpenDevice(int error, const std::string& path) {
    if (error == EBUSY) {
        SetThreadLastError(kErrorBusy, path +
                                           " is in use by another program (the CUPS usb "
                                           "backend while it prints, for one)");
    } else if (error == EACCES || error == EPERM) {
        const passwd* user = ::getpwuid(::geteuid());
        const std::string name = user && user->pw_name ? user->pw_name : "USER";
        SetThreadLastError(kErrorAccessDenied, "no right to open " + path +
                                                   "; add the user with \"adduser " + name +
                                                   " lp\" and log in again");
    } else {
        SetThreadLastError(SysErrorFromErrno(error),
                           "cannot open " + path + ": " + std::strerror(error));
    }
    return false;
}

}  // namespace ps
