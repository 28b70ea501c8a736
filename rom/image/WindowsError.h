#pragma once

namespace rom {

// The errno that POSIX systems give for the same reason as a Win32 error,
// so that one table of reasons and messages (RomError, FileError) serves
// both systems: a full disk is ENOSPC, access denied EACCES, a sharing mode
// or a lock that refuses what is asked EWOULDBLOCK, and so on.
[[nodiscard]] int errnoFor(unsigned long windowsError);

// Sets errno from the calling thread's last Win32 error, and returns -1.
int failWithLastError();

} // namespace rom
