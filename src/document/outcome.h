#pragma once
// The one result type of every step that can fail: a status with the system's error code
// behind it, and, where the step makes something, the value it made.
#include <utility>

#include "../platform/win32.h"

namespace vx {

// Cancelled: the user turned back (nothing to tell). CannotStart: the program to hand a
// file to could not be started; CannotPrint and CannotSetWallpaper: the system refused.
enum class Status {
    Ok, NoImage, CannotRead, CannotDecode, TooLarge, NoMemory, CannotWrite,
    Cancelled, CannotStart, CannotPrint, CannotSetWallpaper
};

struct Outcome {
    Status status = Status::Ok;
    DWORD error = 0;  // the Win32 error behind it, when known
    bool ok() const { return status == Status::Ok; }
};

// A failure with the calling thread's last error behind it.
inline Outcome LastError(Status status) { return Outcome{status, ::GetLastError()}; }

// A value or the failure that kept it from being made.
template <typename T>
struct Result {
    T value{};
    Outcome outcome;

    static Result Success(T v) { return Result{std::move(v), Outcome{}}; }
    static Result Failure(Outcome o) { return Result{T{}, o}; }
    static Result Failure(Status s, DWORD error = 0) { return Result{T{}, Outcome{s, error}}; }
    bool ok() const { return outcome.ok(); }
};

}  // namespace vx
