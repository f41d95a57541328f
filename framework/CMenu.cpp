#include "framework/CMenu.h"

#include "framework/CFrameWnd.h"
#include "framework/CWinApp.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPoint>
#include <QPointer>
#include <QProxyStyle>

namespace {
// The frame whose command route the menu's commands travel: the owner itself, the frame the
// owner lives in, or the main window.
CFrameWnd* OwnerFrame(QWidget* owner) {
    auto* frame = owner != nullptr ? qobject_cast<CFrameWnd*>(owner->window()) : nullptr;
    return frame != nullptr ? frame : AfxGetMainWnd();
}

// The flags of an item after its command's state handlers have had their say; a separator or an
// item the caller greyed stays as it is.
UINT UpdatedFlags(const CMenu::Item& item, CFrameWnd& frame) {
    if ((item.flags & MF_SEPARATOR) != 0 || (item.flags & MF_GRAYED) != 0)
        return item.flags;
    CCmdUI state(item.id);
    UpdateCommandState(frame, state);
    UINT flags = item.flags & ~MF_GRAYED;
    if (!state.m_bEnabled)
        flags |= MF_GRAYED;
    if (state.m_bCheckChanged)
        flags = state.m_nCheck != 0 ? (flags | MF_CHECKED) : (flags & ~MF_CHECKED);
    return flags;
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

UINT ShowMenu(const std::vector<CMenu::Item>& items, CPoint point, QWidget* owner, CFrameWnd* frame) {
    QMenu menu(owner);
    AfxPrepareMenu(&menu);
    for (const CMenu::Item& item : items) {
        if ((item.flags & MF_SEPARATOR) != 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(item.text);
        action->setData(item.id);
        action->setEnabled((item.flags & MF_GRAYED) == 0);
        if ((item.flags & MF_CHECKED) != 0) {
            action->setCheckable(true);
            action->setChecked(true);
        }
    }
    if (frame != nullptr) {
        QObject::connect(&menu, &QMenu::hovered, frame, [frame](QAction* action) {
            frame->SetMessageText(frame->GetMessageString(action->data().toUInt()));
        });
        QObject::connect(&menu, &QMenu::aboutToHide, frame, &CFrameWnd::ShowIdleMessage);
    }
    const QAction* chosen = menu.exec(QPoint(point.x, point.y));
    return chosen != nullptr ? chosen->data().toUInt() : 0;
}
} // namespace

BOOL CMenu::CreatePopupMenu() {
    if (m_bCreated)
        return FALSE;
    m_bCreated = true;
    m_items.clear();
    return TRUE;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT nIDNewItem, const QString& text) {
    if (!m_bCreated)
        return FALSE;
    m_items.push_back(Item{nFlags, (nFlags & MF_SEPARATOR) != 0 ? 0 : nIDNewItem, text});
    return TRUE;
}

BOOL CMenu::DestroyMenu() {
    if (!m_bCreated)
        return FALSE;
    m_bCreated = false;
    m_items.clear();
    return TRUE;
}

BOOL CMenu::TrackPopupMenu(UINT, int x, int y, QWidget* owner) {
    if (!m_bCreated)
        return FALSE;
    CFrameWnd* frame = OwnerFrame(owner);
    // The items show their commands' states as they are now, as the menu opens.
    std::vector<Item> shown = m_items;
    if (frame != nullptr) {
        for (Item& item : shown)
            item.flags = UpdatedFlags(item, *frame);
    }
    const UINT chosen = ShowMenu(shown, CPoint(x, y), owner, frame);
    if (chosen != 0 && frame != nullptr)
        frame->SendCommand(chosen);
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
