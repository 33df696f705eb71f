#include "platform/ErrorCodes.h"

#include <cerrno>

namespace platform {

int errorNumberFromErrno(int error)
{
    switch (error) {
    case 0:
        return kErrorNone;
    case ENOENT:
        return kErrorFileNotFound;
    case ENOTDIR:
    case ELOOP:
        return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return kErrorAccessDenied;
    case ENOSPC:
    case EDQUOT:
        return kErrorDiskFull;
    case EEXIST:
        return kErrorAlreadyExists;
    case ENAMETOOLONG:
        return kErrorNameTooLong;
    default:
        return kErrorGeneric;
    }
}

} // namespace platform
