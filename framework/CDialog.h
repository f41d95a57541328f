#pragma once

#include "framework/Afx.h"

#include <QDialog>

// A modal dialog: OnInitDialog runs before it shows, and may end it there, in which case it
// closes without being shown.
class CDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDialog(QWidget* parent = nullptr);

    // The dialog's result: IDOK, IDCANCEL, or what EndDialog was given.
    int DoModal();
    void EndDialog(int nResult);

protected:
    virtual BOOL OnInitDialog() { return TRUE; }

    // Dialog units of the dialog's font, as the platform lays out dialog resources.
    QRect DialogUnitsToPixels(int x, int y, int cx, int cy) const;

private:
    int m_nEndResult = 0;
    bool m_bEnded = false;
};
