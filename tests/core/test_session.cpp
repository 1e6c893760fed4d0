#include "core/document.h"
#include "core/session.h"
#include "imaging/engine/raster.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace core;

namespace {

// A data folder holding a copy of the delivered parts database.
class RenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        for (const char* name : {"ravoze.mdb", "ravoze.ini"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DIST_DIR "/") + QLatin1String(name),
                                    home.filePath(QLatin1String(name))));
    }
    QStringList entries() const { return QDir(home.path()).entryList(QDir::Files, QDir::Name); }
    static QByteArray digest(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }

    QTemporaryDir home;
    QTemporaryDir out;
};

int countColour(const imaging::Raster& r, QRgb c)
{
    int n = 0;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            n += r.pixel(x, y) == c;
    return n;
}

}  // namespace

TEST_F(RenderTest, NewPortraitIsTheDefaultFace)
{
    const QString png = out.filePath("new.png");
    ASSERT_FALSE(renderPortraitFile(home.path(), QString(), png).has_value());
    imaging::Raster r;
    ASSERT_EQ(r.load(png), 0);
    EXPECT_EQ(r.size(), QSize(300, 300));
    // Skin in the middle of the face, white canvas in the corner.
    EXPECT_GT(countColour(r, qRgb(255, 192, 128)), 10000);
    EXPECT_EQ(r.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("ravoze.ini"), QStringLiteral("ravoze.mdb")}));
}

TEST_F(RenderTest, DocumentWithBodyAndCaptionRendersWithoutTouchingTheDocument)
{
    PortraitState state;
    applyFreshSlots(state, 1);
    state.PartTable[4].FileNo = 1001;  // a body makes the canvas taller
    // Pictures and geometry come from the database when rendering a saved portrait, so the
    // document is first made as a fresh portrait would leave it.
    PortraitSession prepared;
    prepared.state = state;
    CaptionTable captions;
    captions[1].Text = QStringLiteral("似顔絵");
    captions[1].Shown = true;
    captions[1].FontSize = 20;
    captions[1].BoxLeft = 10;
    captions[1].BoxTop = 10;
    captions[1].BoxWidth = 120;
    captions[1].BoxHeight = 40;
    const QString doc = home.filePath("face.fcr");
    ASSERT_FALSE(SaveDocument(doc, prepared.state, captions).has_value());
    const QStringList before = entries();
    const QByteArray docDigest = digest(doc);

    const QString png = out.filePath("face.png");
    const auto error = renderPortraitFile(home.path(), doc, png);
    ASSERT_FALSE(error.has_value()) << error->toStdString();
    imaging::Raster r;
    ASSERT_EQ(r.load(png), 0);
    EXPECT_EQ(r.size(), QSize(300, 395));
    EXPECT_EQ(digest(doc), docDigest);
    EXPECT_EQ(entries(), before);
    // The caption is burnt into the top-left corner: dark pixels on the white canvas.
    int ink = 0;
    for (int y = 10; y < 40; ++y)
        for (int x = 10; x < 80; ++x)
            ink += qGray(r.pixel(x, y)) < 100;
    EXPECT_GT(ink, 20);
}

TEST_F(RenderTest, RefusesWhatItCannotRender)
{
    const QString png = out.filePath("x.png");
    QFile bad(home.filePath("bad.fcr"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(100, 'x'));
    bad.close();
    const QByteArray badDigest = digest(bad.fileName());

    EXPECT_TRUE(renderPortraitFile(home.path(), home.filePath("missing.fcr"), png).has_value());
    EXPECT_TRUE(renderPortraitFile(home.path(), bad.fileName(), png).has_value());
    EXPECT_EQ(digest(bad.fileName()), badDigest);
    QTemporaryDir empty;
    EXPECT_TRUE(renderPortraitFile(empty.path(), QString(), png).has_value());
    EXPECT_FALSE(QFile::exists(png));
    EXPECT_FALSE(QFile::exists(home.filePath("bad.fcr.fcm")));
}
