#pragma once

#include <functional>
#include <string>

// The message of the `Error` that `work` raises, or "no error".
template <typename Error> std::string errorText(const std::function<void()>& work) {
    try {
        work();
    } catch (const Error& error) {
        return error.message();
    }
    return "no error";
}
