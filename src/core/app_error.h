// The program's one error value: what a failing step throws and what a handler shows.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

struct AppError {
    int32_t number = 0;
    std::string description;

    // An error with the standard description of its number ("File not found" for 53 ...).
    static AppError of(int32_t number);
};

// The standard description the program uses for an error number; "Application-defined or
// object-defined error" for numbers it does not know.
std::string standardDescription(int32_t number);

[[noreturn]] void raiseError(int32_t number);

// What reached a handler, as the error value (memory and unknown failures get their numbers).
AppError caughtError(std::exception_ptr caught);

// Error numbers the program uses by name.
namespace err {
inline constexpr int32_t InvalidCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t DivisionByZero = 11;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t BadFileName = 52;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t DiskFull = 61;
inline constexpr int32_t InputPastEnd = 62;
inline constexpr int32_t PermissionDenied = 70;
inline constexpr int32_t PathFileAccess = 75;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t ComponentNotLoaded = 339;
inline constexpr int32_t CannotCreateObject = 429;
inline constexpr int32_t Unexpected = 50003;
} // namespace err
