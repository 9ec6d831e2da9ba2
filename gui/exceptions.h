#pragma once
// The framework's exceptions. Every failure the program reports to the user is
// one of these; the application's default handler shows Message() in a box.
// The header is platform-free (the core's definition parser throws
// EDefinitionError); what needs Win32 is defined in exceptions.cpp.
#include <stdexcept>
#include <string>

// The conversion error and StrToInt are the platform-free core's; the
// framework raises the same type.
#include "gui/text_convert.h"

namespace korvel {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A file operation failed; ErrorCode() is the platform's error number.
class EInOutError : public Exception {
public:
    explicit EInOutError(int errorCode);
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};

// The runtime's text for an input/output error number.
std::string InOutErrorText(int errorCode);

// Throws EInOutError for the calling thread's last Win32 error.
[[noreturn]] void RaiseLastInOutError();

// Opening a file for a stream failed: "Cannot open file "<path>". <description>".
class EFOpenError : public Exception {
public:
    EFOpenError(const std::string& path, unsigned long osError);
};

class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// A stored window definition that cannot be read; Line() is 1-based.
class EDefinitionError : public Exception {
public:
    EDefinitionError(int line, const std::string& problem)
        : Exception("Window definition, line " + std::to_string(line) + ": " + problem), line_(line) {}
    int Line() const { return line_; }

private:
    int line_;
};

// The platform's own description of a Win32 error number, without a trailing line break.
std::string SystemErrorMessage(unsigned long osError);

}  // namespace korvel
