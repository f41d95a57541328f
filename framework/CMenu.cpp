#include "framework/CMenu.h"

#include "framework/CFrameWnd.h"
#include "framework/CWinApp.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QProxyStyle>

namespace {
// The frame whose command route the menu's commands travel: the owner itself, the frame the
// owner lives in, or the main window.
CFrameWnd* OwnerFrame(QWidget* owner) {
    auto* frame = owner != nullptr ? qobject_cast<CFrameWnd*>(owner->window()) : nullptr;
    return frame != nullptr ? frame : AfxGetMainWnd();
}

class PlatformMenuStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_Menu_AllowActiveAndDisabled)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
} // namespace

CMenu::CMenu() = default;
CMenu::~CMenu() = default;

BOOL CMenu::CreatePopupMenu() {
    if (m_pMenu != nullptr)
        return FALSE;
    m_pMenu = std::make_unique<QMenu>();
    AfxPrepareMenu(m_pMenu.get());
    return TRUE;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT nIDNewItem, const QString& text) {
    if (m_pMenu == nullptr)
        return FALSE;
    if ((nFlags & MF_SEPARATOR) != 0)
        m_pMenu->addSeparator();
    else
        m_pMenu->addAction(text)->setData(nIDNewItem);
    return TRUE;
}

BOOL CMenu::TrackPopupMenu(int x, int y, QWidget* owner) {
    if (m_pMenu == nullptr)
        return FALSE;
    m_pMenu->setParent(owner, m_pMenu->windowFlags());
    CFrameWnd* frame = OwnerFrame(owner);
    if (frame != nullptr) {
        for (QAction* action : m_pMenu->actions()) {
            if (action->isSeparator())
                continue;
            CCmdUI state(action->data().toUInt());
            UpdateCommandState(*frame, state);
            action->setEnabled(state.m_bEnabled);
            action->setCheckable(state.m_bCheckChanged && state.m_nCheck != 0);
            action->setChecked(action->isCheckable());
        }
        QObject::connect(m_pMenu.get(), &QMenu::hovered, frame, [frame](QAction* action) {
            frame->SetMessageText(frame->GetMessageString(action->data().toUInt()));
        });
        QObject::connect(m_pMenu.get(), &QMenu::aboutToHide, frame, &CFrameWnd::ShowIdleMessage);
    }
    const QAction* chosen = m_pMenu->exec(QPoint(x, y));
    if (chosen != nullptr && frame != nullptr)
        frame->SendCommand(chosen->data().toUInt());
    return TRUE;
}

void AfxPrepareMenu(QMenu* menu) {
    // One style for every menu, made when the first menu needs it and ended with the application.
    static QPointer<PlatformMenuStyle> style;
    if (style == nullptr) {
        style = new PlatformMenuStyle;
        style->setParent(qApp);
    }
    menu->setStyle(style);
}
