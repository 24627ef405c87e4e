#pragma once

#include <QJsonObject>
#include <QString>

#include <string>

// What orvanectl tells: results on standard output, messages on standard
// error after the program's name, in the terminal's encoding.
class CCtlOutput {
public:
    static void Out(const QString& text);  // a line feed is added
    static void Json(const QJsonObject& object);
    static void Error(const QString& text);  // "orvanectl: text"
    // The bytes as they are; false (with errno) when they could not all be written.
    static bool Bytes(const std::string& bytes);
    // The system's text for an errno value.
    static QString ErrnoText(int error);
};
