#pragma once

#include <stdexcept>
#include <string>

// An error the program reports to the user: a kind name (shown by the file error report) and its text.
class AppError : public std::runtime_error {
public:
    AppError(std::string kind, const std::string& text) : std::runtime_error(text), kind_(std::move(kind)) {}
    const std::string& kindName() const { return kind_; }

private:
    std::string kind_;
};
