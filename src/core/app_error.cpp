#include "app_error.h"

#include <new>

std::string standardDescription(int32_t number) {
    switch (number) {
    case err::InvalidCall: return "Invalid procedure call or argument";
    case err::Overflow: return "Overflow";
    case err::OutOfMemory: return "Out of memory";
    case err::SubscriptOutOfRange: return "Subscript out of range";
    case err::DivisionByZero: return "Division by zero";
    case err::TypeMismatch: return "Type mismatch";
    case err::BadFileName: return "Bad file name or number";
    case err::FileNotFound: return "File not found";
    case err::DiskFull: return "Disk full";
    case err::InputPastEnd: return "Input past end of file";
    case err::PermissionDenied: return "Permission denied";
    case err::PathFileAccess: return "Path/File access error";
    case err::PathNotFound: return "Path not found";
    case err::ComponentNotLoaded: return "Component not correctly registered";
    case err::CannotCreateObject: return "ActiveX component can't create object";
    case err::Unexpected: return "Unexpected error";
    default: return "Application-defined or object-defined error";
    }
}

AppError AppError::of(int32_t number) { return AppError{number, standardDescription(number)}; }

void raiseError(int32_t number) { throw AppError::of(number); }

AppError caughtError(std::exception_ptr caught) {
    try {
        std::rethrow_exception(caught);
    } catch (const AppError &error) {
        return error;
    } catch (const std::bad_alloc &) {
        return AppError::of(err::OutOfMemory);
    } catch (...) {
        return AppError::of(err::Unexpected);
    }
}
