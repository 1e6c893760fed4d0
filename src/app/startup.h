#pragma once

#include "app/instance.h"

#include <QString>
#include <QStringList>

namespace app {

inline constexpr char16_t kKitbinRunningText[] =
    u"Kitbinが実行中です。\nKitbinを終了してから、Facioraを実行して下さい。";

struct StartupOptions {
    bool splash = true;  // false: the main window at once (tests, --no-splash)
    QString document;    // the portrait document to open first
    QString facioraServer = facioraServerName();
    QString kitbinServer = kitbinServerName();
};

// The command line: "--no-splash" anywhere, and the rest, joined by blanks, is the path of
// the document to open (so a path with blanks needs no quotes).
StartupOptions parseCommandLine(const QStringList& arguments);

// Whether this Faciora may start: not while Kitbin runs, and not beside another Faciora,
// which is then asked to come to the front.
enum class StartCheck { Run, KitbinRunning, AlreadyRunning };
StartCheck checkOtherPrograms(const StartupOptions& options);

// The program's windows, from the checks through the splash window to the end of the main
// window. Needs a QApplication; returns the exit code.
int runFaciora(const StartupOptions& options);

}  // namespace app
