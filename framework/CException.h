#pragma once

#include "data/Prompt.h"
#include "framework/Afx.h"

#include <QString>

// The framework's exceptions: each knows the message the user should see. They are thrown and
// caught by value, so Delete has nothing to free; it stays for code written in the framework's
// "report, then delete" pattern.
class CException {
public:
    virtual ~CException() = default;

    virtual QString GetErrorMessage() const = 0;
    // Shows the message modally through the prompter (an OK box gets the exclamation mark);
    // returns the answer.
    virtual int ReportError(UINT nType = MB_OK) const;
    void Delete() {}
};

class CMemoryException : public CException {
public:
    QString GetErrorMessage() const override;
};
