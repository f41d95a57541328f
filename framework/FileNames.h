#pragma once

#include <QByteArray>
#include <QString>

// File names are bytes on POSIX systems (UTF-8 on Windows, see platform/NativePath.h). Decoded
// as Qt decodes them (QFile::decodeName) wherever that can be undone; a byte that is no part of
// the local encoding (not UTF-8 in a UTF-8 locale) becomes U+DC00 + byte, which no decoded name
// contains, so that EncodeFileName gives the bytes back and the file can still be opened.
QString DecodeFileName(const QByteArray& localName);
QByteArray EncodeFileName(const QString& fileName);
