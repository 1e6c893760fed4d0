// The canvas's two pop-up menus: the part menu on the selected part and the group menu
// that deletes placed parts by group.

#include "editor/editor_formimpl.h"
#include "editor/editorcommands.h"

#include <QAction>
#include <QMenu>

#include <map>

namespace editor {

void EditForm::Impl::buildMenus()
{
    partMenu = new QMenu(q);
    partMenu->setObjectName(QStringLiteral("menuPopup"));
    menuPDelete = partMenu->addAction(QStringLiteral("削除"));
    menuPDelete->setObjectName(QStringLiteral("menuPDelete"));
    partMenu->addSeparator()->setObjectName(QStringLiteral("PSepa1"));
    menuPStan = partMenu->addAction(QStringLiteral("標準位置に戻す"));
    menuPStan->setObjectName(QStringLiteral("menuPStan"));
    menuPSStan = partMenu->addAction(QStringLiteral("標準ｻｲｽﾞに戻す"));
    menuPSStan->setObjectName(QStringLiteral("menuPSStan"));
    QObject::connect(menuPDelete, &QAction::triggered, q, [this] { partDelete(); });
    QObject::connect(menuPStan, &QAction::triggered, q, [this] { partStandardPosition(); });
    QObject::connect(menuPSStan, &QAction::triggered, q, [this] { partStandardSize(); });

    groupMenu = new QMenu(q);
    groupMenu->setObjectName(QStringLiteral("menuPopup2"));
    const auto items = groupMenuItems();
    groupActions.assign(items.size(), nullptr);
    std::map<int, QMenu*> submenus;
    for (int i = 0; i < int(items.size()); ++i) {
        const GroupMenuItem& item = items[std::size_t(i)];
        QMenu* parent = item.parent < 0 ? groupMenu : submenus.at(item.parent);
        const QString caption = QString::fromUtf16(item.caption);
        QAction* action = nullptr;
        if (item.rule == GroupMenuItem::Rule::Submenu) {
            QMenu* sub = parent->addMenu(caption);
            sub->setObjectName(QString::fromLatin1(item.name));
            submenus[i] = sub;
            action = sub->menuAction();
        } else {
            action = parent->addAction(caption);
            if (item.rule != GroupMenuItem::Rule::Heading)
                QObject::connect(action, &QAction::triggered, q, [this, i] { groupDelete(i); });
        }
        action->setObjectName(QString::fromLatin1(item.name));
        groupActions[std::size_t(i)] = action;
    }
}

void EditForm::Impl::updateGroupMenu()
{
    const std::vector<bool> enabled = groupMenuEnabled(session.state.PartTable);
    for (std::size_t i = 0; i < groupActions.size(); ++i)
        groupActions[i]->setEnabled(enabled[i]);
}

void EditForm::Impl::partDelete()
{
    const int k = interaction.selectedKind();
    Move_Pic.free();
    canvas->freeRegion();
    canvas->setRegionFrameVisible(false);
    if (core::isPartKind(k)) {
        deletePart(session.state, session.marks, k, &env);
        q->composePortrait();
        session.marks.InUseFileNo[std::size_t(k)] = 0;
    }
    interaction.clear();
}

void EditForm::Impl::partStandardPosition()
{
    const int k = interaction.selectedKind();
    Move_Pic.free();
    canvas->freeRegion();
    canvas->setRegionFrameVisible(false);
    if (core::isPartKind(k)) {
        restoreStandardPosition(session.state, session.images.PreviewTable, k);
        q->composePortrait();
    }
    interaction.clear();
}

void EditForm::Impl::partStandardSize()
{
    const int k = interaction.selectedKind();
    canvas->freeRegion();
    canvas->setRegionFrameVisible(false);
    if (core::isPartKind(k)) {
        restoreStandardSize(session.state, k);
        q->composePortrait();
    }
    interaction.clear();
}

void EditForm::Impl::groupDelete(int index)
{
    if (runGroupItem(session.state, session.marks, index, &env))
        q->composePortrait();
}

}  // namespace editor
