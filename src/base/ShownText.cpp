#include "base/ShownText.h"

#include <QStringDecoder>

namespace zelsim {

QString ShownText(std::string_view bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(view);
    if (!utf8.hasError()) return text;
    return Latin1Text(bytes);
}

QString Latin1Text(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string TypedText(const QString& text) {
    return text.toLatin1().toStdString();
}

}  // namespace zelsim
