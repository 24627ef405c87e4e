#include "ctl/CtlOutput.h"

#include <QJsonDocument>

#include <cstdio>

namespace {
thread_local CCtlOutput::Sink* t_sink = nullptr;
}

void CCtlOutput::SetThreadSink(Sink* sink) {
    t_sink = sink;
}

void CCtlOutput::Out(const QString& text) {
    if (t_sink != nullptr) {
        t_sink->Line(false, text);
        return;
    }
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

void CCtlOutput::Json(const QJsonObject& object) {
    if (t_sink != nullptr) {
        t_sink->Json(object);
        return;
    }
    std::fputs(QJsonDocument(object).toJson(QJsonDocument::Indented).constData(), stdout);
    std::fflush(stdout);
}

void CCtlOutput::Error(const QString& text) {
    if (t_sink != nullptr) {
        t_sink->Line(true, text);
        return;
    }
    std::fputs(QStringLiteral("orvanectl: %1\n").arg(text).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

bool CCtlOutput::Bytes(const std::string& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

QString CCtlOutput::ErrnoText(int error) {
    return qt_error_string(error);
}
