#include "framework/CDialog.h"

#include "common/Prompt.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace {
// The platform's dialog base units: a quarter of the average character width across, an eighth
// of the character height down.
constexpr int kDialogUnitsAcross = 4;
constexpr int kDialogUnitsDown = 8;
} // namespace

CDialog::CDialog(QWidget* parent) : QDialog(parent) {}

int CDialog::DoModal() {
    m_bEnded = false;
    OnInitDialog();
    if (m_bEnded)
        return m_nEndResult;
    const int answer = exec();
    if (m_bEnded)
        return m_nEndResult;
    return answer == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CDialog::EndDialog(int nResult) {
    m_bEnded = true;
    m_nEndResult = nResult;
    done(nResult == IDOK ? QDialog::Accepted : QDialog::Rejected);
}

void CDialog::AddDlgItem(int nID, QWidget* control) {
    m_items[nID] = control;
}

QWidget* CDialog::GetDlgItem(int nID) const {
    const auto found = m_items.find(nID);
    return found != m_items.end() ? found->second : nullptr;
}

// The dialogs show their texts in labels and read-only edits.
void CDialog::SetDlgItemText(int nID, const QString& text) {
    QWidget* item = GetDlgItem(nID);
    if (auto* label = qobject_cast<QLabel*>(item))
        label->setText(text);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(item))
        edit->setPlainText(
            QString(text).replace("\r\n", "\n")); // the platform's edit breaks lines with CR LF
}

QString CDialog::GetDlgItemText(int nID) const {
    QWidget* item = GetDlgItem(nID);
    if (auto* label = qobject_cast<QLabel*>(item))
        return label->text();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(item))
        return edit->toPlainText();
    return {};
}

QRect CDialog::DialogUnitsToPixels(int x, int y, int cx, int cy) const {
    const QFontMetrics metrics(font());
    const int baseX = std::max(1, metrics.averageCharWidth());
    const int baseY = std::max(1, metrics.height());
    const auto across = [baseX](int units) { return units * baseX / kDialogUnitsAcross; };
    const auto down = [baseY](int units) { return units * baseY / kDialogUnitsDown; };
    return QRect(across(x), down(y), across(cx), down(cy));
}
