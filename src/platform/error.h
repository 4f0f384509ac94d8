// The base of every error the program throws: the text the user sees (Spanish for the program's
// own messages), kept as a QString. what() returns the same text as UTF-8.
//
// Header-only, so that every library can derive from it without linking another one.
#pragma once

#include <QString>

#include <stdexcept>
#include <string>

namespace platform {

class Error : public std::runtime_error {
public:
    explicit Error(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    // A text already in UTF-8: what() returns these very bytes.
    explicit Error(const std::string& utf8)
        : std::runtime_error(utf8), text_(QString::fromStdString(utf8)) {}
    explicit Error(const char* utf8) : Error(std::string(utf8)) {}

    const QString& text() const { return text_; }

private:
    QString text_;
};

// A text that should hold a number and does not: the text quotes it.
class ConversionError : public Error {
public:
    using Error::Error;
};

} // namespace platform
