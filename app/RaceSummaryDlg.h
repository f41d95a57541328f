#pragma once

#include <QDialog>
#include <memory>

class CTarmioDoc;
class QPlainTextEdit;
class SummaryWatcher;

// Race Summary: the finishing order, laps led, leader runs, fastest lap and event laps as text.
// Not modal; it follows every change of the race, as the views do.
class CRaceSummaryDlg : public QDialog {
    Q_OBJECT
public:
    CRaceSummaryDlg(CTarmioDoc& document, QWidget* parent);
    ~CRaceSummaryDlg() override;

    // Writes the summary of the race as it is now.
    void Refresh();
    QString GetText() const;
    void CopyToClipboard() const;

private:
    CTarmioDoc& m_document;
    QPlainTextEdit* m_pText = nullptr;
    std::unique_ptr<SummaryWatcher> m_pWatcher;
};

constexpr const char* kRaceSummaryTitle = "Race Summary";
