#include "app/startup.h"

#include "app/mainform.h"
#include "app/splash.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <memory>

namespace app {

StartupOptions parseCommandLine(const QStringList& arguments)
{
    StartupOptions options;
    QStringList rest;
    for (const QString& a : arguments.mid(1)) {
        if (a == QLatin1String("--no-splash"))
            options.splash = false;
        else
            rest << a;
    }
    options.document = rest.join(u' ');
    return options;
}

StartCheck checkOtherPrograms(const StartupOptions& options)
{
    if (serverAnswers(options.kitbinServer))
        return StartCheck::KitbinRunning;
    if (askToRaise(options.facioraServer))
        return StartCheck::AlreadyRunning;
    return StartCheck::Run;
}

int runFaciora(const StartupOptions& options)
{
    switch (checkOtherPrograms(options)) {
    case StartCheck::KitbinRunning:
        QMessageBox::information(nullptr, QStringLiteral("Faciora"), QString::fromUtf16(kKitbinRunningText));
        return 0;
    case StartCheck::AlreadyRunning:
        return 0;
    case StartCheck::Run:
        break;
    }
    InstanceServer server(options.facioraServer);
    // Another Faciora may have started at the same moment: the one that listens first wins.
    if (!server.listen() && askToRaise(options.facioraServer))
        return 0;

    MainFormOptions mainOptions;
    if (!options.document.isEmpty())
        mainOptions.document = QDir::current().absoluteFilePath(options.document);
    std::unique_ptr<MainForm> main;
    auto showMain = [&] {
        main = std::make_unique<MainForm>(mainOptions);
        QObject::connect(&server, &InstanceServer::raiseRequested, main.get(), &MainForm::raiseWindow);
        main->show();
        main->start();
    };
    if (options.splash) {
        auto* splash = new SplashWindow();
        QObject::connect(splash, &SplashWindow::finished, splash, showMain);
        splash->start();
    } else {
        showMain();
    }
    const int code = QApplication::exec();
    main.reset();
    return code;
}

}  // namespace app
