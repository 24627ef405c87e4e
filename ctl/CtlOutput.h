#pragma once

#include <QJsonObject>
#include <QString>

#include <string>

// What orvanectl tells: results on standard output, messages on standard
// error after the program's name, in the terminal's encoding. A thread that
// runs one reader of a list sends its output to a sink of its own instead.
class CCtlOutput {
public:
    class Sink {
    public:
        virtual ~Sink() = default;
        virtual void Line(bool error, const QString& text) = 0;
        virtual void Json(const QJsonObject& object) = 0;
    };
    // The calling thread's sink (not owned); null: the standard streams.
    static void SetThreadSink(Sink* sink);

    static void Out(const QString& text);  // a line feed is added
    static void Json(const QJsonObject& object);
    static void Error(const QString& text);  // "orvanectl: text"
    // The bytes as they are; false (with errno) when they could not all be written.
    static bool Bytes(const std::string& bytes);
    // The system's text for an errno value.
    static QString ErrnoText(int error);
};
