#include <gtest/gtest.h>

#include <cerrno>

#include "platform/Error.h"

TEST(FileErrorNumber, EachCauseHasTheNumberOfItsKind) {
    struct Row {
        int err;
        int number;
    };
    const Row rows[] = {
        {ENOENT, platform::kErrPathNotFound},
        {EACCES, platform::kErrPermissionDenied},
        {EPERM, platform::kErrPermissionDenied},
        {EROFS, platform::kErrPermissionDenied},
        {EISDIR, platform::kErrPermissionDenied},
        {ENOSPC, platform::kErrDiskFull},
        {EDQUOT, platform::kErrDiskFull},
        {EFBIG, platform::kErrDiskFull},
        {EIO, platform::kErrFileIO},
        {EBADF, platform::kErrFileIO},
        {0, platform::kErrFileIO},
    };
    for (const Row& row : rows) EXPECT_EQ(platform::FileErrorNumber(row.err), row.number) << "errno " << row.err;
}
