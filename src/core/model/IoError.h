#pragma once
// The one exception core code throws: an input/output failure or a damaged
// file. The message is complete and meant for the user; it names the file.

#include <QString>
#include <exception>

namespace ts {

class IoError : public std::exception {
public:
    explicit IoError(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

} // namespace ts
