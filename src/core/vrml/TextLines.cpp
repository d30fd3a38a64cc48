#include "vrml/TextLines.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstring>

namespace modulino {

QList<QByteArrayView> splitLines(QByteArrayView bytes) {
    QList<QByteArrayView> lines;
    if (bytes.isEmpty())
        return lines;
    const char* const data = bytes.data();
    const qsizetype size = bytes.size();
    // The next CR and the next LF at or after `start`, each found once with memchr.
    auto next = [&](char c, qsizetype from) {
        const void* at = std::memchr(data + from, c, std::size_t(size - from));
        return at ? static_cast<const char*>(at) - data : size;
    };
    qsizetype start = 0;
    qsizetype cr = next('\r', 0);
    qsizetype lf = next('\n', 0);
    while (start < size) {
        const qsizetype end = std::min(cr, lf);
        lines.append(QByteArrayView(data + start, end - start));
        start = end + (end == cr && end + 1 == lf ? 2 : 1); // CR LF is one line end
        if (cr < start)
            cr = start < size ? next('\r', start) : size;
        if (lf < start)
            lf = start < size ? next('\n', start) : size;
    }
    return lines;
}

QByteArrayList splitLinesCopy(QByteArrayView bytes) {
    QByteArrayList copies;
    const auto lines = splitLines(bytes);
    copies.reserve(lines.size());
    for (QByteArrayView line : lines)
        copies.append(line.toByteArray());
    return copies;
}

namespace {

// The code page as a table of 256 characters, taken once from Qt's converter.
const std::array<char16_t, 256>& windows1250() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        QStringDecoder decoder("windows-1250");
        const QString text = decoder.isValid() ? decoder.decode(all) : QString();
        for (int i = 0; i < 256; ++i)
            t[std::size_t(i)] = text.size() == 256 ? text[i].unicode() : char16_t(i);
        return t;
    }();
    return table;
}

// The byte of every character of the code page; every other character is written as '?'.
const std::array<char, 0x10000>& windows1250Bytes() {
    static const std::array<char, 0x10000> table = [] {
        std::array<char, 0x10000> t;
        t.fill('?');
        const auto& characters = windows1250();
        for (int i = 255; i >= 0; --i)
            if (characters[std::size_t(i)] != QChar::ReplacementCharacter)
                t[characters[std::size_t(i)]] = char(i);
        return t;
    }();
    return table;
}

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool isAscii(QStringView text) {
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

} // namespace

QString decode1250(QByteArrayView bytes) {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    const auto& table = windows1250();
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : bytes)
        *out++ = QChar(table[static_cast<unsigned char>(c)]);
    return text;
}

QByteArray encode1250(QStringView text) {
    if (isAscii(text))
        return text.toLatin1();
    const auto& bytes = windows1250Bytes();
    QByteArray encoded(text.size(), Qt::Uninitialized);
    char* out = encoded.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        *out++ = bytes[c.unicode()];
        // A character beyond the first plane is one '?', not two.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    encoded.truncate(out - encoded.data());
    return encoded;
}

} // namespace modulino
