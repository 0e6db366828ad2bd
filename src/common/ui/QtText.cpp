#include "QtText.h"

#include "common/TextCodec.h"

namespace korvan {

QString fromGbk(const std::string& bytes) {
    return QString::fromStdString(TextCodec::toUtf8Lossy(bytes));
}

std::string toGbk(const QString& text) {
    if (auto bytes = TextCodec::toGbk(text.toStdString()))
        return *bytes;
    std::string out;
    for (const QChar& c : text) {
        auto one = TextCodec::toGbk(QString(c).toStdString());
        out += one ? *one : std::string("?");
    }
    return out;
}

QString lineFeedsOnly(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace korvan
