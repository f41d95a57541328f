#include "framework/StringTable.h"

namespace {
std::span<const StringResource> g_stringTable;
}

void AfxSetStringTable(std::span<const StringResource> table) {
    g_stringTable = table;
}

QString AfxLoadString(UINT nID) {
    for (const StringResource& entry : g_stringTable) {
        if (entry.id == nID)
            return QString::fromUtf8(entry.text);
    }
    return {};
}
