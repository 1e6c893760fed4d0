// The canvas's mouse handling and the keys of the editor window: picking, the selection
// frame, dragging with the floating picture, stretching with the rubber band.

#include "editor/editor_formimpl.h"
#include "editor/editorcommands.h"
#include "imaging/engine/region.h"

#include <QKeyEvent>
#include <QMenu>

namespace editor {

namespace {

// The grab zone on each side of a frame edge, in twips.
constexpr double kGrabTwips = 30;

}  // namespace

void EditForm::Impl::connectCanvas()
{
    QObject::connect(canvas, &imaging::ImageView::mouseDown, q,
                     [this](int b, int s, double x, double y) { onMouseDown(b, s, x, y); });
    QObject::connect(canvas, &imaging::ImageView::mouseMove, q,
                     [this](int b, int s, double x, double y) { onMouseMove(b, s, x, y); });
    QObject::connect(canvas, &imaging::ImageView::mouseUp, q,
                     [this](int b, int s, double x, double y) { onMouseUp(b, s, x, y); });
}

double EditForm::Impl::grabZone() const
{
    const imaging::ClientUnits u = canvas->units();
    const imaging::ViewMapping m = canvas->mapping();
    const double zoom = m.source.width() > 0 ? m.display.width() / m.source.width() : 1.0;
    return kGrabTwips / u.twipsPerPixelX / (zoom > 0 ? zoom : 1.0);
}

QPointF EditForm::Impl::toCanvas(double x, double y) const
{
    return canvas->clientToBitmap(QPointF(x, y));
}

void EditForm::Impl::showSelection()
{
    const int k = interaction.selectedKind();
    Move_Pic = buildDragPicture(composer, session.state, blank, k);
    canvas->setRegion(imaging::Region::rectangle(interaction.frame()));
    canvas->setRegionFrameAnimated(true);
    canvas->setRegionFrameVisible(true);
}

void EditForm::Impl::onMouseDown(int button, int /*shift*/, double x, double y)
{
    interaction.setGrab(grabZone());
    using R = CanvasInteraction::PressResult;
    switch (interaction.press(session.state, button, toCanvas(x, y))) {
    case R::StretchStarted:
        canvas->setRegionFrameVisible(false);
        canvas->setRubberBand(interaction.rubberBand());
        canvas->setRubberBandVisible(true);
        break;
    case R::Deselected:
        canvas->freeRegion();
        canvas->setRegionFrameVisible(false);
        Move_Pic.free();
        canvas->clearFloater();
        showCaptions();
        break;
    case R::DragStarted: {
        canvas->setFloater(Move_Pic);
        Move_Pic.free();
        const imaging::ViewMapping m = canvas->mapping();
        canvas->setFloaterRect(canvas->units().fromPixels(m.toClient(interaction.floaterRect())));
        canvas->setAutoRepaint(true);
        break;
    }
    case R::Picked:
        showSelection();
        break;
    case R::Missed:
    case R::None:
        break;
    }
}

void EditForm::Impl::onMouseMove(int buttons, int /*shift*/, double x, double y)
{
    const QPointF at = toCanvas(x, y);
    const bool inside = x >= 0 && y >= 0 && x < canvas->clientWidth() && y < canvas->clientHeight();
    const bool stretching = interaction.resizeActive();
    const bool moved = interaction.move(buttons, at, inside);
    if (!stretching)
        canvas->setCursorShape(interaction.pointerShape());
    if (!moved)
        return;
    if (stretching) {
        canvas->setRubberBand(interaction.rubberBand());
    } else {
        const imaging::ViewMapping m = canvas->mapping();
        canvas->setFloaterRect(canvas->units().fromPixels(m.toClient(interaction.floaterRect())));
    }
}

void EditForm::Impl::finishStretch()
{
    const Commit c = interaction.commitStretch(session.state, session.images.PreviewTable);
    canvas->setAutoRepaint(true);
    canvas->setRubberBandVisible(false);
    canvas->freeRegion();
    canvas->setRegionFrameVisible(false);
    Move_Pic.free();
    if (c.changed)
        q->composePortrait();
    canvas->setCursorShape(interaction.pointerShape());
}

void EditForm::Impl::finishMove()
{
    const Commit c = interaction.commitMove(session.state, session.images.PreviewTable);
    canvas->clearFloater();
    canvas->freeRegion();
    canvas->setRegionFrameVisible(false);
    Move_Pic.free();
    // A press and release without moving changes nothing and records no history step.
    if (c.changed)
        q->composePortrait();
    canvas->setCursorShape(interaction.pointerShape());
}

void EditForm::Impl::onMouseUp(int button, int /*shift*/, double x, double y)
{
    using R = CanvasInteraction::ReleaseResult;
    const QPoint global = canvas->mapToGlobal(canvas->units().toPixels(QPointF(x, y)).toPoint());
    switch (interaction.release(button)) {
    case R::CommitStretch:
        finishStretch();
        break;
    case R::CommitMove:
        finishMove();
        break;
    case R::PartMenu:
        partMenu->popup(global);
        break;
    case R::GroupMenu:
        updateGroupMenu();
        groupMenu->popup(global);
        break;
    case R::None:
        break;
    }
}

bool EditForm::Impl::nudge(int dx, int dy)
{
    const int k = interaction.selectedKind();
    if (!interaction.partSelected() || k == 0)
        return false;
    const Commit c = interaction.nudge(session.state, session.images.PreviewTable, dx, dy);
    canvas->freeRegion();
    canvas->setRegionFrameVisible(false);
    Move_Pic.free();
    if (c.changed)
        q->composePortrait();
    // The part stays selected, so that the next key moves it on.
    if (interaction.select(session.state, k))
        showSelection();
    return true;
}

void EditForm::keyPressEvent(QKeyEvent* event)
{
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    bool handled = false;
    switch (event->key()) {
    case Qt::Key_Left: handled = d->nudge(-step, 0); break;
    case Qt::Key_Right: handled = d->nudge(step, 0); break;
    case Qt::Key_Up: handled = d->nudge(0, -step); break;
    case Qt::Key_Down: handled = d->nudge(0, step); break;
    case Qt::Key_Delete:
        if (d->interaction.partSelected() && d->interaction.selectedKind() != 0) {
            d->partDelete();
            handled = true;
        }
        break;
    default: break;
    }
    if (handled)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

}  // namespace editor
