#pragma once
// The one place where text crosses between the core and Qt. The core keeps text as UTF-8 bytes
// in std::string; Qt keeps UTF-16 in QString.
#include <QString>

#include <string>
#include <string_view>

namespace plimb {

// UTF-8 bytes as a QString; an invalid sequence becomes U+FFFD, as Qt decodes it.
inline QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A QString as UTF-8 bytes.
inline std::string toStdString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

} // namespace plimb
