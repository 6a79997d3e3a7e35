#pragma once

// The class library's error classes. Their messages are fixed texts the user sees in the
// standard error box, so they are built here and nowhere else.

#include <stdexcept>
#include <string>

namespace platform {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : m_message(std::move(message)) {}

    // UTF-8.
    const std::string &Message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};

class EResNotFound final : public Exception {
public:
    // "Resource %s not found"
    explicit EResNotFound(const std::string &resourceName);
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class EFCreateError final : public EStreamError {
public:
    // "Cannot create file %s"
    explicit EFCreateError(const std::string &path);
};

class EFOpenError final : public EStreamError {
public:
    // "Cannot open file %s"
    explicit EFOpenError(const std::string &path);
};

class EWriteError final : public EStreamError {
public:
    // "Stream write error"
    EWriteError();
};

class EOutOfResources final : public Exception {
public:
    // "Failed to Load Stream"
    EOutOfResources();
};

} // namespace platform
