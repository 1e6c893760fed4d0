#include "core/session.h"

#include "catalog/partops.h"
#include "catalog/partsdatabase.h"
#include "catalog/recordsource.h"
#include "catalog/schema.h"
#include "core/document.h"
#include "core/inifile.h"
#include "core/kinds.h"
#include "imaging/engine/errors.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace core {

namespace {

// Kinds that a new portrait's default face is made of.
constexpr int kDefaultFaceKinds[] = {3, 6, 7, 9, 10, 11, 12, 13, 14, 19};

}  // namespace

HistoryContext PortraitSession::historyContext(PartDatabases databases, HistoryHost* host)
{
    return HistoryContext{state, images, marks.OptionMemory, captions, history, databases, host};
}

void startNewPortrait(PortraitSession& session)
{
    PortraitState& s = session.state;
    s.FigurePosMode = 0;
    s.FigureStepX = 0;
    s.FigureStepY = 0;
    for (int k : {int(kind::Background), int(kind::Balloon)}) {
        s.PartTable[k].ShiftX = 0;
        s.PartTable[k].ShiftY = 0;
    }
    s.UserSizeClass = 0;
    session.captions = CaptionTable();
    session.history.FreshPortrait = true;
}

void applyFreshSlots(PortraitState& state, int showDefaultFace)
{
    for (int k = 1; k <= kind::Count; ++k) {
        PartSlot& slot = state.PartTable[k];
        slot.GrowW = slot.GrowH = 0;
        slot.Angle = 0;
        slot.FileNo = 0;
        slot.Extra = 0;
        slot.ShiftX = slot.ShiftY = 0;
    }
    for (int k : kDefaultFaceKinds)
        state.PartTable[k].FileNo = std::int16_t(showDefaultFace);
    state.FigureStepX = 0;
    state.FigureStepY = 0;
}

QString appPath()
{
    const QString home = qEnvironmentVariable("FACIORA_HOME");
    if (!home.isEmpty())
        return home;
    return QCoreApplication::applicationDirPath();
}

std::optional<QString> composePortraitFile(const QString& home, const QString& document,
                                           PortraitSession& session, imaging::Raster& canvas,
                                           bool burnCaptions)
{
    const QString partsPath = findFileNoCase(home, QString::fromLatin1(catalog::kPartsDatabaseName));
    if (!QFileInfo(partsPath).isFile())
        return QStringLiteral("parts database not found: %1").arg(partsPath);

    // Read-only: rendering never writes into the data folder.
    catalog::PartsDatabase parts;
    if (auto r = parts.open(partsPath, QString::fromLatin1(catalog::kListOrderSource),
                            catalog::OpenMode::ReadOnly);
        !r)
        return QStringLiteral("cannot open the parts database %1: %2").arg(partsPath, r.error());
    catalog::PartsDatabase photos;
    const QString photoPath = findFileNoCase(home, QString::fromLatin1(catalog::kPhotoDatabaseName));
    if (QFileInfo(photoPath).isFile())
        (void)photos.open(photoPath, QString::fromLatin1(catalog::kListOrderSource),
                          catalog::OpenMode::ReadOnly);

    session.settings = LoadSettings(home);
    if (document.isEmpty()) {
        startNewPortrait(session);
    } else {
        const QFileInfo info(document);
        if (!info.isFile())
            return QStringLiteral("no such portrait document: %1").arg(document);
        const DocumentLoad load = LoadDocument(document, session.state, session.captions, false);
        if (load.status == DocumentLoad::Status::Damaged)
            return load.error.isEmpty() ? QStringLiteral("not a portrait document: %1").arg(document)
                                        : load.error.section(u'\n', 0, 0);
        session.history.FreshPortrait = load.freshPortrait;
    }
    if (session.history.FreshPortrait)
        applyFreshSlots(session.state, session.settings.ShowDefaultFace);

    HistoryContext ctx = session.historyContext(PartDatabases{&parts, photos.isOpen() ? &photos : nullptr});
    RebuildPartImages(ctx);

    imaging::Raster blank;
    (void)catalog::readBlankTile(parts, blank);
    ComposeHooks hooks;
    hooks.drawCaptions = [&session, burnCaptions](imaging::Raster& picture) {
        session.captionDraw.BurnCaptions = burnCaptions;
        Disp_Character(session.captions, session.captionDraw, picture);
    };
    try {
        ComposePortrait(session.state, session.images, canvas, blank, session.marks, nullptr, hooks);
    } catch (const imaging::ImagingError& e) {
        return QStringLiteral("cannot compose the portrait: %1 (%2)").arg(imaging::DecodeError(e.code())).arg(e.code());
    }
    return std::nullopt;
}

std::optional<QString> renderPortraitFile(const QString& home, const QString& document,
                                          const QString& output)
{
    PortraitSession session;
    imaging::Raster canvas;
    if (auto error = composePortraitFile(home, document, session, canvas, true))
        return error;
    if (const int code = canvas.save(output, 75, 24, 0); code != 0)
        return QStringLiteral("cannot write %1: %2 (%3)").arg(output, imaging::DecodeError(code)).arg(code);
    return std::nullopt;
}

}  // namespace core
