#include "framework/CException.h"

#include "framework/Prompter.h"

int CException::ReportError(UINT nType) const {
    return AfxMessageBox(GetErrorMessage(), nType);
}

QString CMemoryException::GetErrorMessage() const {
    return QStringLiteral("Out of memory.");
}
