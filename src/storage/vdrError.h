#pragma once

#include <QString>
#include <stdexcept>

// The one family of failures in the program. The message is UTF-8 and is
// exactly the text the user (or the log) is meant to see.
class EvdrError : public std::runtime_error {
public:
    explicit EvdrError(const QString &message) : std::runtime_error(message.toStdString()) {}
    explicit EvdrError(const char *message) : std::runtime_error(message) {}

    QString Message() const { return QString::fromUtf8(what()); }
};
