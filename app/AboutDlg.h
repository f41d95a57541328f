#pragma once

#include "framework/CDialog.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

// Help, About: the product name and version and the legal line read from the program's version
// resource, and a short description.
class CAboutDlg : public CDialog {
    Q_OBJECT
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;

private:
    void CreateControls();
    void FitDescription();

    QPushButton* m_pOk = nullptr;
    QLabel* m_pVersion = nullptr;
    QLabel* m_pCopyright = nullptr;
    QPlainTextEdit* m_pDescription = nullptr;
};
