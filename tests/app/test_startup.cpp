// Start-up: the command line, the refusals through the local servers, the splash window.

#include "app/instance.h"
#include "app/splash.h"
#include "app/startup.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

namespace {

QString uniqueName(const char* program)
{
    return QStringLiteral("%1-test-%2").arg(QLatin1String(program), QUuid::createUuid().toString(QUuid::Id128));
}

app::StartupOptions testOptions()
{
    app::StartupOptions o;
    o.facioraServer = uniqueName("faciora");
    o.kitbinServer = uniqueName("kitbin");
    return o;
}

TEST(Startup, CommandLine)
{
    struct Row {
        QStringList args;
        bool splash;
        const char* document;
    };
    const Row rows[] = {
        {{"faciora"}, true, ""},
        {{"faciora", "--no-splash"}, false, ""},
        {{"faciora", "/home/u/face.fcr", "--no-splash"}, false, "/home/u/face.fcr"},
        // The whole line is the path: a name with blanks needs no quotes.
        {{"faciora", "/home/u/my", "face.fcr"}, true, "/home/u/my face.fcr"},
    };
    for (const Row& r : rows) {
        const app::StartupOptions o = app::parseCommandLine(r.args);
        EXPECT_EQ(o.splash, r.splash) << r.args.join(' ').toStdString();
        EXPECT_EQ(o.document, QString::fromUtf8(r.document));
    }
    EXPECT_EQ(app::StartupOptions().facioraServer, u"faciora-"_qs + app::userTag());
    EXPECT_EQ(app::StartupOptions().kitbinServer, u"kitbin-"_qs + app::userTag());
}

TEST(Startup, RefusesBesideKitbinAndRaisesTheFirstFaciora)
{
    app::StartupOptions o = testOptions();
    EXPECT_EQ(app::checkOtherPrograms(o), app::StartCheck::Run);

    app::InstanceServer first(o.facioraServer);
    ASSERT_TRUE(first.listen());
    QSignalSpy raised(&first, &app::InstanceServer::raiseRequested);
    EXPECT_EQ(app::checkOtherPrograms(o), app::StartCheck::AlreadyRunning);
    EXPECT_TRUE(raised.wait(3000));
    // A second server under the same name does not take it over.
    app::InstanceServer second(o.facioraServer);
    EXPECT_FALSE(second.listen());

    // Kitbin is looked for first; merely checking does not raise anything.
    QLocalServer kitbin;
    ASSERT_TRUE(kitbin.listen(o.kitbinServer));
    raised.clear();
    EXPECT_EQ(app::checkOtherPrograms(o), app::StartCheck::KitbinRunning);
    QTest::qWait(100);
    EXPECT_EQ(raised.count(), 0);
    EXPECT_EQ(QString::fromUtf16(app::kKitbinRunningText),
              u"Kitbinが実行中です。\nKitbinを終了してから、Facioraを実行して下さい。"_qs);
}

TEST(Startup, TheNameOfAnInstanceThatDiedIsTakenOver)
{
    const QString name = uniqueName("faciora");
    // What an instance that was killed leaves behind: the socket's name, nobody listening.
    const QString stale = QDir(QDir::tempPath()).filePath(name);
    QFile f(stale);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    app::InstanceServer server(name);
    EXPECT_TRUE(server.listen());
    EXPECT_TRUE(app::serverAnswers(name));
}

TEST(Startup, SplashShowsThePictureAndEndsAfterItsDelayOrAKey)
{
    const QPixmap picture = app::startupPicture();
    ASSERT_EQ(picture.width(), 350);
    const QImage image = picture.toImage();
    int coloured = 0;
    for (int y = 0; y < image.height(); y += 5)
        for (int x = 0; x < image.width(); x += 5)
            coloured += image.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(coloured, 100) << "the picture comes from the resources";

    auto* splash = new app::SplashWindow(50);
    QSignalSpy finished(splash, &app::SplashWindow::finished);
    EXPECT_EQ(splash->size(), picture.size());
    splash->start();
    EXPECT_TRUE(finished.wait(2000));
    EXPECT_EQ(finished.count(), 1);

    auto* waiting = new app::SplashWindow(60000);
    QSignalSpy early(waiting, &app::SplashWindow::finished);
    waiting->start();
    QTest::keyClick(waiting, Qt::Key_Space);
    EXPECT_EQ(early.count(), 1);
}

TEST(Startup, ASecondProgramRaisesTheFirstAndEnds)
{
    // The program itself, started while "this Faciora" listens under the user's name.
    app::InstanceServer first(app::facioraServerName());
    if (!first.listen())
        GTEST_SKIP() << "a Faciora of this user is running";
    QSignalSpy raised(&first, &app::InstanceServer::raiseRequested);
    QTemporaryDir home;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FACIORA_HOME"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(FACIORA_EXE), {QStringLiteral("--no-splash")});
    EXPECT_TRUE(raised.wait(20000));
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0);
    // It ended before its main window: nothing was written into the data folder.
    EXPECT_TRUE(QDir(home.path()).isEmpty());
}

}  // namespace
