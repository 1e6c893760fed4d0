#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct RunResult {
    int exitCode = -1;
    QByteArray err;
};

RunResult faciora(const QStringList& args, const QString& home)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FACIORA_HOME"), home);
    env.remove(QStringLiteral("DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(FACIORA_EXE), args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError()};
}

// The last line on stderr, without Qt's own notes.
QByteArray message(const QByteArray& err)
{
    const QList<QByteArray> lines = err.trimmed().split('\n');
    return lines.isEmpty() ? QByteArray() : lines.last();
}

}  // namespace

TEST(BatchRender, RendersTheNewPortraitWithoutADisplay)
{
    QTemporaryDir home, out;
    ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DIST_DIR "/ravoze.mdb"), home.filePath("ravoze.mdb")));
    const RunResult r = faciora({QStringLiteral("--render-new"), out.filePath("new.png")}, home.path());
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(QImage(out.filePath("new.png")).size(), QSize(300, 300));
}

TEST(BatchRender, FailuresAreOneLineAndStatusTwo)
{
    QTemporaryDir home, out;
    ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DIST_DIR "/ravoze.mdb"), home.filePath("ravoze.mdb")));
    QFile shortDoc(home.filePath("short.fcr"));
    ASSERT_TRUE(shortDoc.open(QIODevice::WriteOnly));
    shortDoc.write(QByteArray(600, '\0'));
    shortDoc.close();
    QTemporaryDir noData;

    struct Case {
        const char* name;
        QStringList args;
        QString home;
    };
    const Case cases[] = {
        {"missing document", {QStringLiteral("--render"), home.filePath("none.fcr"), out.filePath("a.png")}, home.path()},
        {"wrong length", {QStringLiteral("--render"), shortDoc.fileName(), out.filePath("b.png")}, home.path()},
        {"no parts database", {QStringLiteral("--render-new"), out.filePath("c.png")}, noData.path()},
        {"missing argument", {QStringLiteral("--render"), shortDoc.fileName()}, home.path()},
    };
    for (const Case& c : cases) {
        const RunResult r = faciora(c.args, c.home);
        EXPECT_EQ(r.exitCode, 2) << c.name;
        EXPECT_TRUE(message(r.err).startsWith("faciora: ")) << c.name << ": " << r.err.constData();
    }
    EXPECT_EQ(QFileInfo(shortDoc.fileName()).size(), 600);
    EXPECT_FALSE(QFile::exists(out.filePath("a.png")));
}
