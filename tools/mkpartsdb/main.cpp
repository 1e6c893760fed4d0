// mkpartsdb: renders the SVG artwork under data/parts into the delivered databases.
//
//   mkpartsdb --parts DIR --dist DIR [--sheet FILE] [--preview DIR] [--review DIR]
//
// DIR/<PictureID>/<FileNo>.svg are the parts of ravoze.mdb; DIR/addons/eyes and
// DIR/addons/hats, laid out the same way, are the sample add-on parts files.

#include "artwork.h"
#include "partsdb.h"
#include "sheet.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <map>

namespace {

void say(const QString& text)
{
    std::fprintf(stdout, "%s\n", text.toLocal8Bit().constData());
}

void saveImage(const QImage& image, const QString& file)
{
    if (!image.save(file, "PNG"))
        throw std::runtime_error((file + QStringLiteral(": cannot be written")).toStdString());
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Builds the delivered parts databases from the SVG artwork."));
    cli.addHelpOption();
    const QCommandLineOption partsOpt(QStringLiteral("parts"), QStringLiteral("Artwork folder."), QStringLiteral("dir"));
    const QCommandLineOption distOpt(QStringLiteral("dist"), QStringLiteral("Output folder of the databases."), QStringLiteral("dir"));
    const QCommandLineOption sheetOpt(QStringLiteral("sheet"), QStringLiteral("Contact sheet to write."), QStringLiteral("file"));
    const QCommandLineOption previewOpt(QStringLiteral("preview"), QStringLiteral("Folder for the default face and figure pictures."), QStringLiteral("dir"));
    const QCommandLineOption reviewOpt(QStringLiteral("review"), QStringLiteral("Folder for full-scale try-on sheets."), QStringLiteral("dir"));
    cli.addOptions({partsOpt, distOpt, sheetOpt, previewOpt, reviewOpt});
    cli.process(app);
    if (!cli.isSet(partsOpt) || !cli.isSet(distOpt)) {
        std::fprintf(stderr, "mkpartsdb: --parts and --dist are required\n");
        return 2;
    }

    try {
        QElapsedTimer timer;
        timer.start();
        const QDir parts(cli.value(partsOpt));
        const QDir dist(cli.value(distOpt));
        if (!QDir().mkpath(dist.path()))
            throw std::runtime_error((dist.path() + QStringLiteral(": cannot be created")).toStdString());

        const std::vector<mkparts::Part> delivered = mkparts::renderFolder(parts.path());
        std::map<int, int> counts;
        for (const mkparts::Part& p : delivered)
            ++counts[p.kind];
        QString summary;
        for (const auto& [kind, n] : counts)
            summary += QStringLiteral(" %1:%2").arg(kind).arg(n);
        say(QStringLiteral("mkpartsdb: %1 parts rendered (kind:count%2)").arg(delivered.size()).arg(summary));

        mkparts::writePartsFile(dist.filePath(QStringLiteral("ravoze.mdb")), delivered, 1);
        mkparts::writePartsFile(dist.filePath(QStringLiteral("photo.mdb")), {}, 1);
        // Add-on files: the eyes one begins with two blank records, as such files may.
        mkparts::writePartsFile(dist.filePath(QStringLiteral("addon_eyes.mdb")),
                                mkparts::renderFolder(parts.filePath(QStringLiteral("addons/eyes"))), 2);
        mkparts::writePartsFile(dist.filePath(QStringLiteral("addon_hats.mdb")),
                                mkparts::renderFolder(parts.filePath(QStringLiteral("addons/hats"))), 1);

        if (cli.isSet(sheetOpt))
            saveImage(mkparts::contactSheet(delivered), cli.value(sheetOpt));
        if (cli.isSet(previewOpt)) {
            const QDir out(cli.value(previewOpt));
            QDir().mkpath(out.path());
            saveImage(mkparts::defaultFacePicture(delivered), out.filePath(QStringLiteral("preview_face.png")));
            const mkparts::Part* bg = mkparts::firstPart(delivered, 1);
            const mkparts::Part* body = mkparts::firstPart(delivered, 4);
            const mkparts::Part* balloon = mkparts::firstPart(delivered, 22);
            saveImage(mkparts::figurePicture(delivered, bg ? bg->fileNo : 0, body ? body->fileNo : 0,
                                             balloon ? balloon->fileNo : 0, 0),
                      out.filePath(QStringLiteral("preview_figure.png")));
        }
        if (cli.isSet(reviewOpt)) {
            const QDir out(cli.value(reviewOpt));
            mkparts::writeReviewSheets(delivered, out.path());
            // The figure in the middle of the wide canvas, and behind a frame drawn over it.
            saveImage(mkparts::figurePicture(delivered, 1801, 6001, 0, 140),
                      out.filePath(QStringLiteral("figure_centre.png")));
            saveImage(mkparts::figurePicture(delivered, 7003, 1002, 1, 0),
                      out.filePath(QStringLiteral("figure_framed.png")));
        }
        say(QStringLiteral("mkpartsdb: done in %1 ms").arg(timer.elapsed()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mkpartsdb: %s\n", e.what());
        return 1;
    }
    return 0;
}
