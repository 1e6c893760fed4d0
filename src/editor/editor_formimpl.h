#pragma once

// EditForm's private half, shared by its files: editform.cpp (load, unload, composition,
// history), editor_mouse.cpp (canvas mouse and keys), editor_popup.cpp (the pop-up menus).

#include "catalog/partsdatabase.h"
#include "core/compose.h"
#include "core/history.h"
#include "core/session.h"
#include "editor/editform.h"
#include "editor/editorlogic.h"
#include "imaging/view/imageview.h"

#include <QPointer>
#include <QString>

#include <vector>

class QAction;
class QMenu;

namespace editor {

struct EditForm::Impl {
    // The composition's calls to the editor and the main window: the editor's side is
    // answered here, the rest goes to the environment.
    struct ComposeHost : core::EditorHost {
        Impl* d = nullptr;
        bool figurePosMenuEnabled() const override { return d->env.figurePosMenuEnabled(); }
        void setFigurePosMenuEnabled(bool on) override { d->env.setFigurePosMenuEnabled(on); }
        void closePositionDialog() override { d->env.closePositionDialog(); }
        void checkFigurePosItem(int mode) override { d->env.checkFigurePosItem(mode); }
        void dropPartSelection() override { d->dropSelection(); }
        void setCanvasVisible(bool visible) override;
        void setBusyPointer(bool busy) override { d->env.setBusyPointer(busy); }
        void setEditorClientSize(int w, int h) override { d->env.setEditorClientSize(w, h); }
        void PlaceEditorWindow() override { d->env.PlaceEditorWindow(); }
    };

    Impl(EditForm* q, core::PortraitSession& session, EditorEnvironment& env);

    EditForm* q;
    core::PortraitSession& session;
    EditorEnvironment& env;
    ComposeHost host;
    QString appPath;

    imaging::ImageView* canvas = nullptr;
    catalog::PartsDatabase parts;   // DPeople on the parts database
    catalog::PartsDatabase photos;  // the same view switched to the photo database
    imaging::Raster blank;          // Pic_DB(0): the parts database's blank tile
    imaging::Raster picture;        // the composed portrait before it goes to the canvas
    imaging::Raster Move_Pic;      // the drag picture of the selected part
    core::PortraitComposer composer;
    CanvasInteraction interaction;

    // The load ran but did not complete: the unload neither compares nor saves.
    bool loadFailed = false;

    QMenu* partMenu = nullptr;
    QAction* menuPDelete = nullptr;
    QAction* menuPStan = nullptr;
    QAction* menuPSStan = nullptr;
    QMenu* groupMenu = nullptr;
    // One action per row of groupMenuItems(); a submenu's is its menu action.
    std::vector<QAction*> groupActions;

    core::HistoryContext historyContext();

    // editform.cpp
    void dropSelection();
    void showCaptions();
    void refreshDisplayTexts();
    QString documentPath() const;

    // editor_mouse.cpp
    void connectCanvas();
    double grabZone() const;
    QPointF toCanvas(double x, double y) const;
    void showSelection();
    void onMouseDown(int button, int shift, double x, double y);
    void onMouseMove(int button, int shift, double x, double y);
    void onMouseUp(int button, int shift, double x, double y);
    void finishStretch();
    void finishMove();
    bool nudge(int dx, int dy);

    // editor_popup.cpp
    void buildMenus();
    void updateGroupMenu();
    void partDelete();
    void partStandardPosition();
    void partStandardSize();
    void groupDelete(int index);
};

}  // namespace editor
