#pragma once

// Stands in for a full disk or a failing device: while an instance lives, the writers'
// write(2) accepts `allowed` bytes in all and then fails with `error`.

#include "imaging/engine/durablefile.h"

#include <cerrno>
#include <unistd.h>

class FailingWrites {
public:
    explicit FailingWrites(long long allowed, int error = ENOSPC)
    {
        left() = allowed;
        code() = error;
        imaging::durable::setWriteFunction(&write);
    }
    ~FailingWrites() { imaging::durable::setWriteFunction(nullptr); }
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;

private:
    static long long& left()
    {
        static long long n = 0;
        return n;
    }
    static int& code()
    {
        static int c = 0;
        return c;
    }
    static ssize_t write(int fd, const void* data, size_t size)
    {
        if (left() <= 0) {
            errno = code();
            return -1;
        }
        const size_t n = size < size_t(left()) ? size : size_t(left());
        const ssize_t done = ::write(fd, data, n);
        if (done > 0)
            left() -= done;
        return done;
    }
};
