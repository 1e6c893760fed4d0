#pragma once

#include "core/captions.h"
#include "core/compose.h"
#include "core/history.h"
#include "core/options.h"
#include "core/partimages.h"
#include "core/portrait.h"

#include <QString>

#include <memory>

namespace catalog {
class PartsDatabase;
}

namespace core {

// Everything Faciora keeps about the portrait being made, owned once per program and handed
// to windows and controllers by reference.
struct PortraitSession {
    PortraitState state;
    PartImages images;
    PickerMarks marks;
    CaptionTable captions;
    CaptionDrawState captionDraw;
    History history;
    Settings settings;

    HistoryContext historyContext(PartDatabases databases, HistoryHost* host = nullptr);
};

// What "新規作成" does to the state before the editor loads: figure position and custom
// steps back to 0, no wide user image, the captions cleared, a fresh portrait.
void startNewPortrait(PortraitSession& session);

// The editor's load for a fresh portrait: every slot emptied of parts, growth, tilt and
// extras, then part 1 of each default kind when `showDefaultFace` is 1.
void applyFreshSlots(PortraitState& state, int showDefaultFace);

// The program's data folder: FACIORA_HOME when set, else the folder of the executable.
QString appPath();

// Composes a portrait without any window, as opening it shows it in the editor: pictures
// fetched from the data folder's databases (read only), the captions laid out and, with
// `burnCaptions`, drawn into `canvas`. `session` gets the portrait's state and captions.
// Returns the reason on failure.
std::optional<QString> composePortraitFile(const QString& home, const QString& document,
                                           PortraitSession& session, imaging::Raster& canvas,
                                           bool burnCaptions);

// Renders a portrait without any window, as opening it and exporting the picture would:
// pictures fetched from the data folder's databases, captions burnt in, written to `output`
// as PNG. An empty `document` renders the portrait "新規作成" gives with the current settings.
// Nothing is written but `output`. Returns the reason on failure.
std::optional<QString> renderPortraitFile(const QString& home, const QString& document,
                                          const QString& output);

}  // namespace core
