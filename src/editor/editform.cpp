#include "editor/editform.h"

#include "catalog/partops.h"
#include "catalog/recordsource.h"
#include "catalog/schema.h"
#include "core/captions.h"
#include "core/document.h"
#include "core/inifile.h"
#include "editor/editor_formimpl.h"
#include "imaging/engine/errors.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QResizeEvent>

namespace editor {

namespace {

// The canvas of a new editor window: 300 x 300 pixels; the window's frame is the platform's.
constexpr int kStartCanvas = 300;

// Slot fields the unload compares with the stored document: FileNo to Angle. Extra, ShiftX
// and ShiftY follow the portrait's settings and do not count as changes.
bool sameStoredFields(const core::PartSlot& a, const core::PartSlot& b)
{
    return a.FileNo == b.FileNo && a.PosX == b.PosX && a.PosY == b.PosY && a.BaseX == b.BaseX
           && a.BaseY == b.BaseY && a.Width == b.Width && a.Height == b.Height
           && a.GrowW == b.GrowW && a.GrowH == b.GrowH && a.Angle == b.Angle;
}

std::optional<QByteArray> readWhole(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

}  // namespace

EditForm::Impl::Impl(EditForm* q, core::PortraitSession& session, EditorEnvironment& env)
    : q(q), session(session), env(env), composer(session.state, session.images)
{
    host.d = this;
}

void EditForm::Impl::ComposeHost::setCanvasVisible(bool visible)
{
    // Nothing repaints while the composition runs on this thread; holding the repaint back
    // keeps the canvas from showing a half-built picture without hiding the widget (which
    // would end a press the canvas is handling).
    d->canvas->setAutoRepaint(visible);
}

core::HistoryContext EditForm::Impl::historyContext()
{
    core::PartDatabases dbs{parts.isOpen() ? &parts : nullptr, photos.isOpen() ? &photos : nullptr};
    return session.historyContext(dbs, &env);
}

void EditForm::Impl::dropSelection()
{
    if (interaction.partSelected()) {
        Move_Pic.free();
        canvas->freeRegion();
        canvas->setRegionFrameVisible(false);
    }
    interaction.dropSelection();
    canvas->setCursorShape(interaction.pointerShape());
}

void EditForm::Impl::refreshDisplayTexts()
{
    canvas->clearDisplayTexts();
    for (const core::CaptionEntry& c : session.captions.entries) {
        if (c.Shown && !c.Text.isEmpty())
            canvas->addDisplayText(c.Text, QRect(c.BoxLeft, c.BoxTop, c.BoxWidth, c.BoxHeight),
                                   core::captionTextStyle(c));
    }
}

void EditForm::Impl::showCaptions()
{
    const bool burn = session.captionDraw.BurnCaptions;
    core::Disp_Character(session.captions, session.captionDraw, canvas->raster());
    if (burn)
        canvas->clearDisplayTexts();  // they are in the picture now
    else
        refreshDisplayTexts();
    canvas->notifyChanged();
}

QString EditForm::Impl::documentPath() const
{
    const QString name = env.DocumentName();
    return name.isEmpty() ? core::workSnapshotPath(appPath) : name;
}

// --- EditForm ----------------------------------------------------------------------------

EditForm::EditForm(core::PortraitSession& session, EditorEnvironment& environment, QWidget* parent)
    : QWidget(parent), d(std::make_unique<Impl>(this, session, environment))
{
    setWindowTitle(QString::fromUtf16(kCaption));
    setObjectName(QStringLiteral("EditForm"));
    // Clicks on the canvas give the window the focus, for the arrow and Delete keys.
    setFocusPolicy(Qt::StrongFocus);
    d->canvas = new imaging::ImageView(this);
    d->canvas->setObjectName(QStringLiteral("Pic_view"));
    d->canvas->setScaleMode(imaging::kScalePixels);
    d->canvas->setFocusPolicy(Qt::NoFocus);
    d->canvas->setGeometry(rect());
    d->connectCanvas();
    d->buildMenus();
}

EditForm::~EditForm() = default;

bool EditForm::loadEditor()
{
    core::PortraitSession& s = d->session;
    EditorEnvironment& env = d->env;
    d->loadFailed = true;
    loaded_ = false;
    d->appPath = core::appPath();

    const QString partsPath = core::findFileNoCase(d->appPath, QString::fromLatin1(catalog::kPartsDatabaseName));
    const QString source = QString::fromLatin1(catalog::kListOrderSource);
    d->parts.close();
    d->photos.close();
    if (const catalog::DbResult r = d->parts.open(partsPath, source); !r) {
        env.showError(this, r.error());
        return false;
    }
    // Without the photo database only the user image is unavailable.
    const QString photoPath = core::findFileNoCase(d->appPath, QString::fromLatin1(catalog::kPhotoDatabaseName));
    if (QFileInfo(photoPath).isFile())
        (void)d->photos.open(photoPath, source);
    if (const int code = catalog::readBlankTile(d->parts, d->blank); code != 0) {
        env.showError(this, imaging::DecodeError(code));
        return false;
    }

    env.setEditorClientSize(kStartCanvas, kStartCanvas);
    env.PlaceEditorWindow();

    if (s.history.FreshPortrait)
        core::applyFreshSlots(s.state, s.settings.ShowDefaultFace);

    d->interaction.clear();
    d->Move_Pic.free();
    d->canvas->freeRegion();
    d->canvas->clearFloater();
    d->canvas->setRubberBandVisible(false);
    s.marks.InUseFileNo.fill(0);

    env.setEditorOpen(true);
    env.showEditorLoaded();
    const QString document = env.DocumentName();
    setWindowTitle(document.isEmpty() ? QString::fromUtf16(kCaption) : document);
    core::resetHistory(s.history);
    env.setUndoEnabled(false);
    env.setRedoEnabled(false);

    env.setReopenAfterExport(false);
    d->loadFailed = false;
    loaded_ = true;
    return true;
}

void EditForm::composePortrait()
{
    core::PortraitSession& s = d->session;
    core::ComposeHooks hooks;
    hooks.drawCaptions = [&s](imaging::Raster& canvas) {
        core::Disp_Character(s.captions, s.captionDraw, canvas);
    };
    hooks.recordSnapshot = [this] {
        core::HistoryContext ctx = d->historyContext();
        core::RecordSnapshot(ctx);
    };
    const bool burnt = s.captionDraw.BurnCaptions;
    try {
        d->composer.ComposePortrait(d->picture, d->blank, s.marks, &d->host, hooks);
    } catch (const imaging::ImagingError& e) {
        d->env.showError(this, imaging::DecodeError(e.code()));
    }
    d->canvas->setRaster(d->picture);
    if (burnt)
        d->canvas->clearDisplayTexts();
    else
        d->refreshDisplayTexts();
    // The composition ends with the default pointer.
    d->interaction.dropSelection();
    d->canvas->setCursorShape(d->interaction.pointerShape());
    emit portraitComposed();
}

void EditForm::showCaptions()
{
    d->showCaptions();
}

core::RebuildReport EditForm::rebuildPartImages()
{
    core::HistoryContext ctx = d->historyContext();
    return core::RebuildPartImages(ctx);
}

bool EditForm::undo()
{
    core::HistoryContext ctx = d->historyContext();
    return core::Undo(ctx, [this] { composePortrait(); });
}

bool EditForm::redo()
{
    core::HistoryContext ctx = d->historyContext();
    return core::Redo(ctx, [this] { composePortrait(); });
}

imaging::ImageView& EditForm::canvas() { return *d->canvas; }
catalog::PartsDatabase& EditForm::partsView() { return d->parts; }
catalog::PartsDatabase& EditForm::photosView() { return d->photos; }
const imaging::Raster& EditForm::blankTile() const { return d->blank; }

bool EditForm::isModified() const
{
    const QString path = d->documentPath();
    const auto document = readWhole(path);
    core::PartTable stored;
    if (!document || !core::decodeDocument(*document, stored))
        return true;
    const core::PartTable& parts = d->session.state.PartTable;
    for (int k = core::kind::First; k <= core::kind::Last; ++k) {
        if (!sameStoredFields(stored[k], parts[k]))
            return true;
    }
    const auto companion = readWhole(core::companionPath(path));
    if (!companion)
        return true;
    bool damaged = false;
    const core::CaptionTable captions = core::decodeCompanion(*companion, &damaged);
    return damaged || !(captions == d->session.captions);
}

bool EditForm::unloadEditor()
{
    if (!loaded_ && !d->loadFailed)
        return true;
    core::PortraitSession& s = d->session;
    EditorEnvironment& env = d->env;

    if (!env.reopenAfterExport() && !d->loadFailed) {
        const QString document = env.DocumentName();
        if (!document.isEmpty()) {
            if (isModified()) {
                switch (env.askSaveChanges(this, windowTitle())) {
                case EditorEnvironment::SaveAnswer::Cancel:
                    return false;
                case EditorEnvironment::SaveAnswer::No:
                    break;
                case EditorEnvironment::SaveAnswer::Yes:
                    // A save that fails keeps the editor open: closing would lose the changes.
                    if (const auto error = core::SaveDocument(document, s.state, s.captions)) {
                        env.showError(this, *error);
                        return false;
                    }
                    break;
                }
            }
        } else {
            const QString snapshot = core::findFileNoCase(d->appPath, QString::fromLatin1(core::kWorkSnapshotName));
            // The untitled portrait has nowhere else to go; a failed write is reported but
            // does not keep the program from ending.
            if (const auto error = core::SaveDocument(snapshot, s.state, s.captions))
                env.showError(this, *error);
        }
    }

    env.closePicker();
    env.closePartsPos();
    env.showEditorUnloaded();
    env.setEditorOpen(false);
    env.setUndoEnabled(false);
    env.setRedoEnabled(false);

    core::PortraitState& st = s.state;
    st.OutlineWidthStep = st.OutlineHeightStep = 0;
    st.EyeSpacing = st.BrowSpacing = 0;
    st.EyeAngle = st.BrowAngle = 0;
    if (d->loadFailed) {
        // The load did not complete: nothing of this portrait is kept.
        s.captions = core::CaptionTable();
        s.captionDraw.CaptionsOnScreen = false;
    }
    env.closePositionDialog();
    s.marks.OptionMemory = core::OptionMemory();
    env.SetMenuMode(1);

    d->interaction.clear();
    d->Move_Pic.free();
    d->parts.close();
    d->photos.close();
    d->loadFailed = false;
    loaded_ = false;
    return true;
}

int EditForm::selectedKind() const { return d->interaction.selectedKind(); }
bool EditForm::partSelected() const { return d->interaction.partSelected(); }
bool EditForm::dragActive() const { return d->interaction.dragActive(); }
bool EditForm::resizeActive() const { return d->interaction.resizeActive(); }
QMenu* EditForm::partMenu() const { return d->partMenu; }
QMenu* EditForm::groupMenu() const { return d->groupMenu; }

void EditForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The window is all canvas: the caption is the frame's.
    d->canvas->setGeometry(rect());
    d->env.setStatusText(3, QStringLiteral("%1×%2").arg(d->canvas->width()).arg(d->canvas->height()));
}

void EditForm::closeEvent(QCloseEvent* event)
{
    if (unloadEditor())
        event->accept();
    else
        event->ignore();
}

}  // namespace editor
