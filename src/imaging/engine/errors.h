#pragma once

#include <QString>

#include <exception>

namespace imaging {

// Error codes of the imaging engine. Callers compare against these numbers and
// stored settings may carry them, so the values are fixed.
enum ErrorCode : int {
    kOk = 0,
    kErrFailure = 20000,          // unspecified failure
    kErrNoMemory = 20001,
    kErrBadHandle = 20002,        // empty bitmap where one is needed
    kErrNoMemory2 = 20003,
    kErrSeek = 20004,
    kErrWrite = 20005,
    kErrFileNotFound = 20006,
    kErrRead = 20007,
    kErrBadFileName = 20008,
    kErrBadFormat = 20009,
    kErrBadSize = 20011,          // width or height out of range
    kErrSubtype = 20012,          // format known, variant not supported
    kErrBadParam = 20013,
    kErrOpen = 20014,
    kErrUnknownCompression = 20015,
    kErrBadCompression = 20023,
    kErrBadBits = 20027,
    kErrInternalFirst = 20030,
    kErrInternalLast = 20062,
    kErrNoStamp = 20065,
    kErrLast = 20090,
};

// Raised by operations that fail; Load, Save and GetFileInfo return the code instead.
class ImagingError : public std::exception {
public:
    explicit ImagingError(int code) noexcept : code_(code) {}
    int code() const noexcept { return code_; }
    const char* what() const noexcept override;

private:
    int code_;
};

// The user-facing text for an engine error code; empty for a code without one.
QString DecodeError(int nError);

}  // namespace imaging
