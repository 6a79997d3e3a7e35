#include "errors.h"

namespace platform {

EResNotFound::EResNotFound(const std::string &resourceName)
    : Exception("Resource " + resourceName + " not found")
{
}

EFCreateError::EFCreateError(const std::string &path) : EStreamError("Cannot create file " + path) {}

EFOpenError::EFOpenError(const std::string &path) : EStreamError("Cannot open file " + path) {}

EWriteError::EWriteError() : EStreamError("Stream write error") {}

EOutOfResources::EOutOfResources() : Exception("Failed to Load Stream") {}

} // namespace platform
