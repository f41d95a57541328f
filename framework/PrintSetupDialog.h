#pragma once

// The printer set-up dialog: which printer, which paper and which orientation later jobs use.
// It prints nothing; OK stores the choice in the printer it was given.

#include <QDialog>

class QComboBox;
class QPrinter;
class QRadioButton;

class CPrintSetupDialog : public QDialog {
    Q_OBJECT
public:
    CPrintSetupDialog(QPrinter& printer, QWidget* parent = nullptr);

    void accept() override;

private:
    void FillPapers();

    QPrinter& m_printer;
    QComboBox* m_pPrinter = nullptr;
    QComboBox* m_pPaper = nullptr;
    QRadioButton* m_pLandscape = nullptr;
};
