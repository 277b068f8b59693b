#pragma once

#include <exception>
#include <string>

// Base of every error the program raises on purpose. The message is the text the
// user reads in the error box, so it is kept exactly as built.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}

    const std::string& message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }
    // What the system or a library said of the failure, in its own English words (such as
    // "No space left on device"), for the command line; empty when nothing more is known.
    const std::string& reason() const noexcept { return reason_; }

protected:
    void setReason(std::string reason) { reason_ = std::move(reason); }
    // The system's words for an errno value; nothing for 0.
    void setSystemReason(int error);

private:
    std::string message_;
    std::string reason_;
};

// Puts `argument` in place of the first "%s" or "%d" of `pattern`.
std::string formatMessage(const std::string& pattern, const std::string& argument);
