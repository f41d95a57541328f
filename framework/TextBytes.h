#pragma once

// The program's texts (driver and track names, column headings, labels) are bytes of the
// platform's single-byte code page; every place that shows or searches them decodes them here.

#include <QString>
#include <string_view>

inline QString TextFromBytes(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
