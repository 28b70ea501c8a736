#pragma once

#include <cerrno>
#include <cstddef>

namespace rom {

// Repeats a read or write until count bytes have moved, and returns how
// many did. call(done) moves some of the bytes after the first done and
// returns how many, or -1 with errno set; interrupted calls are retried. On
// a shortfall errno tells why (EIO for a call that moved nothing).
template <typename Call>
std::size_t transfer(std::size_t count, Call call)
{
    std::size_t done = 0;
    while (done < count) {
        const std::ptrdiff_t moved = call(done);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved <= 0) {
            if (moved == 0)
                errno = EIO;
            break;
        }
        done += std::size_t(moved);
    }
    return done;
}

} // namespace rom
