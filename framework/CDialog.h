#pragma once

#include "framework/Afx.h"

#include <QDialog>
#include <unordered_map>

// A modal dialog: OnInitDialog runs before it shows, and may end it there, in which case it
// closes without being shown. Controls are found by their resource ids.
class CDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDialog(QWidget* parent = nullptr);

    // The dialog's result: IDOK, IDCANCEL, or what EndDialog was given.
    int DoModal();
    void EndDialog(int nResult);

    void AddDlgItem(int nID, QWidget* control);
    QWidget* GetDlgItem(int nID) const;
    void SetDlgItemText(int nID, const QString& text);
    QString GetDlgItemText(int nID) const;

protected:
    virtual BOOL OnInitDialog() { return TRUE; }

    // Dialog units of the dialog's font, as the platform lays out dialog resources.
    QRect DialogUnitsToPixels(int x, int y, int cx, int cy) const;

private:
    std::unordered_map<int, QWidget*> m_items;
    int m_nEndResult = 0;
    bool m_bEnded = false;
};
