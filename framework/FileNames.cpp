#include "framework/FileNames.h"

#include "platform/NativePath.h"

#include <QFile>
#include <algorithm>

namespace {

constexpr char16_t kEscapedByteBase = 0xDC00;
constexpr char16_t kFirstEscapedByte = 0xDC80;
constexpr char16_t kLastEscapedByte = 0xDCFF;

// Length of the well-formed UTF-8 sequence at the start of bytes, 0 when there is none.
qsizetype Utf8SequenceLength(QByteArrayView bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80)
        return 1;
    struct Form {
        unsigned char mask, pattern;
        qsizetype length;
        char32_t lowest;
    };
    constexpr Form kForms[] = {{0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};
    for (const Form& form : kForms) {
        if ((lead & form.mask) != form.pattern)
            continue;
        if (bytes.size() < form.length)
            return 0;
        char32_t code = lead & static_cast<unsigned char>(~form.mask);
        for (qsizetype at = 1; at < form.length; ++at) {
            const auto next = static_cast<unsigned char>(bytes[at]);
            if ((next & 0xC0) != 0x80)
                return 0;
            code = (code << 6) | (next & 0x3F);
        }
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        return code >= form.lowest && code <= 0x10FFFF && !surrogate ? form.length : 0;
    }
    return 0;
}

bool HasEscapedBytes(const QString& fileName) {
    // Where names are UTF-16 every name is text, and a lone surrogate is the system's, not ours.
    if (!kFileNamesAreBytes)
        return false;
    return std::any_of(fileName.begin(), fileName.end(), [](QChar c) {
        return c.unicode() >= kFirstEscapedByte && c.unicode() <= kLastEscapedByte;
    });
}

} // namespace

QString DecodeFileName(const QByteArray& localName) {
    const QString decoded = QFile::decodeName(localName);
    if (QFile::encodeName(decoded) == localName && !HasEscapedBytes(decoded))
        return decoded;
    // Only a UTF-8 locale loses bytes: every 8-bit encoding maps each byte to a character.
    QString name;
    for (qsizetype at = 0; at < localName.size();) {
        const qsizetype length = Utf8SequenceLength(QByteArrayView(localName).sliced(at));
        if (length == 0) {
            name += QChar(kEscapedByteBase + static_cast<unsigned char>(localName[at]));
            ++at;
        } else {
            name += QString::fromUtf8(localName.sliced(at, length));
            at += length;
        }
    }
    return name;
}

QByteArray EncodeFileName(const QString& fileName) {
    if (!HasEscapedBytes(fileName))
        return QFile::encodeName(fileName);
    QByteArray bytes;
    QString run;
    for (const QChar c : fileName) {
        if (c.unicode() < kFirstEscapedByte || c.unicode() > kLastEscapedByte) {
            run += c;
            continue;
        }
        bytes += QFile::encodeName(run);
        run.clear();
        bytes += static_cast<char>(c.unicode() - kEscapedByteBase);
    }
    return bytes + QFile::encodeName(run);
}
