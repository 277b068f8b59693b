#include "core/Exception.h"

#include <system_error>

void Exception::setSystemReason(int error) {
    // The error category's words, unlike strerror's buffer, are safe on any thread.
    reason_ = error == 0 ? std::string() : std::generic_category().message(error);
}

std::string formatMessage(const std::string& pattern, const std::string& argument) {
    for (std::size_t i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern[i] == '%' && (pattern[i + 1] == 's' || pattern[i + 1] == 'd')) {
            return pattern.substr(0, i) + argument + pattern.substr(i + 2);
        }
    }
    return pattern;
}
