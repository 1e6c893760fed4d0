#include "app/startup.h"
#include "core/session.h"
#include "imaging/workshop/operations.h"
#include "print/printbatch.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

namespace {

void printError(const QString& message)
{
    std::fprintf(stderr, "faciora: %s\n", message.toLocal8Bit().constData());
}

//   faciora --print-pdf DOC.fcr OUT.pdf [--format NAME] [--rotate]
//                                      the portrait as "O K" prints it on an A4 PDF printer
int runPrintPdf(const QStringList& args)
{
    print::PdfPrintRequest request;
    request.home = core::appPath();
    QStringList positional;
    for (int i = 2; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--rotate")) {
            request.rotate = true;
        } else if (args[i] == QLatin1String("--format") && i + 1 < args.size()) {
            request.formatName = args[++i];
        } else if (args[i].startsWith(QLatin1String("--"))) {
            positional.clear();
            break;
        } else {
            positional << args[i];
        }
    }
    if (positional.size() != 2) {
        printError(QStringLiteral("usage: faciora --print-pdf DOC.fcr OUT.pdf [--format NAME] [--rotate]"));
        return 2;
    }
    request.document = positional[0];
    request.output = positional[1];
    if (auto error = print::printPortraitPdf(request)) {
        printError(*error);
        return 2;
    }
    return 0;
}

// The batch commands: they need no display and write nothing but their output.
//   faciora --render DOC.fcr OUT.png   the document as opening it would show it
//   faciora --render-new OUT.png       the portrait that "新規作成" gives
//   faciora --image IN OUT [--op NAME=ARGS]...   engine operations applied to a picture
int runBatch(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.value(1) == QLatin1String("--image")) {
        workshop::ImageBatch batch;
        auto error = batch.parse(args.mid(2));
        if (!error)
            error = batch.run();
        if (error) {
            printError(*error);
            return 2;
        }
        return 0;
    }
    QString document;
    QString output;
    if (args.value(1) == QLatin1String("--print-pdf"))
        return runPrintPdf(args);
    if (args.value(1) == QLatin1String("--render") && args.size() == 4) {
        document = args[2];
        output = args[3];
    } else if (args.value(1) == QLatin1String("--render-new") && args.size() == 3) {
        output = args[2];
    } else {
        printError(QStringLiteral("usage: faciora --render DOC.fcr OUT.png | faciora --render-new OUT.png"));
        return 2;
    }
    if (auto error = core::renderPortraitFile(core::appPath(), document, output)) {
        printError(*error);
        return 2;
    }
    return 0;
}

bool isBatch(int argc, char** argv)
{
    return argc > 1 && (std::strcmp(argv[1], "--render") == 0 || std::strcmp(argv[1], "--render-new") == 0
                         || std::strcmp(argv[1], "--print-pdf") == 0 || std::strcmp(argv[1], "--image") == 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (isBatch(argc, argv))
        return runBatch(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Faciora"));
    QApplication::setApplicationVersion(QStringLiteral("2.0"));
    return app::runFaciora(app::parseCommandLine(QCoreApplication::arguments()));
}
