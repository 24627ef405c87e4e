#include "ctl/CtlOutput.h"

#include <QJsonDocument>

#include <cstdio>

void CCtlOutput::Out(const QString& text) {
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

void CCtlOutput::Json(const QJsonObject& object) {
    std::fputs(QJsonDocument(object).toJson(QJsonDocument::Indented).constData(), stdout);
    std::fflush(stdout);
}

void CCtlOutput::Error(const QString& text) {
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
