#include "framework/CDialog.h"

#include "common/Prompt.h"

#include <QFontMetrics>

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

QRect CDialog::DialogUnitsToPixels(int x, int y, int cx, int cy) const {
    const QFontMetrics metrics(font());
    const int baseX = std::max(1, metrics.averageCharWidth());
    const int baseY = std::max(1, metrics.height());
    const auto across = [baseX](int units) { return units * baseX / kDialogUnitsAcross; };
    const auto down = [baseY](int units) { return units * baseY / kDialogUnitsDown; };
    return QRect(across(x), down(y), across(cx), down(cy));
}
