#include "devsim/log.h"

#include <QTime>
#include <cstdio>

namespace morla::devsim {

bool Log::open(const QString& path, QString* error) {
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        *error = QStringLiteral("cannot open log %1: %2").arg(path, file_.errorString());
        return false;
    }
    return true;
}

void Log::line(const QString& text) {
    if (!file_.isOpen() && !verbose_) return;
    const QByteArray out =
        (QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz ")) + text + '\n').toUtf8();
    if (file_.isOpen()) {
        file_.write(out);
        file_.flush();
    }
    if (verbose_) {
        fputs(out.constData(), stderr);
        fflush(stderr);
    }
}

QString Log::Show(const QByteArray& characters) {
    QString out;
    for (char c : characters) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && u != '\\')
            out += QChar(u);
        else
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QChar('0'));
    }
    return out;
}

}  // namespace morla::devsim
