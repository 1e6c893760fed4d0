#include "imaging/workshop/operations.h"

#include "imaging/engine/errors.h"
#include "imaging/engine/filters.h"

#include <QFileInfo>

namespace workshop {

using imaging::Raster;
using Args = std::vector<int>;
using Kind = ParamSpec::Kind;

namespace {

ParamSpec number(const char* name) { return {name, Kind::Number, std::nullopt}; }
ParamSpec number(const char* name, int fallback) { return {name, Kind::Number, fallback}; }
ParamSpec flag(const char* name, int fallback) { return {name, Kind::Flag, fallback}; }
ParamSpec colour(const char* name) { return {name, Kind::Colour, std::nullopt}; }
ParamSpec colour(const char* name, int fallback) { return {name, Kind::Colour, fallback}; }

QRgb asColour(int v) { return QRgb(uint32_t(v)) | 0xff000000u; }

std::vector<EngineOperation> buildTable()
{
    return {
        {"AddNoise", {number("range"), number("channel", 0)},
         [](Raster& r, const Args& a) { imaging::addNoise(r, a[0], a[1]); }},
        {"Average", {number("size")}, [](Raster& r, const Args& a) { imaging::average(r, a[0]); }},
        {"ColorRes", {number("bits"), number("palette"), number("dither"), number("colours")},
         [](Raster& r, const Args& a) { imaging::colorRes(r, a[0], a[1], a[2], a[3]); }},
        {"Contrast", {number("strength")}, [](Raster& r, const Args& a) { imaging::contrast(r, a[0]); }},
        {"Emboss", {number("direction"), number("depth")},
         [](Raster& r, const Args& a) { imaging::emboss(r, a[0], a[1]); }},
        {"Fill", {colour("colour")}, [](Raster& r, const Args& a) { r.fill(asColour(a[0])); }},
        {"Flip", {}, [](Raster& r, const Args&) { r.flip(); }},
        {"GammaCorrect", {number("gamma")}, [](Raster& r, const Args& a) { imaging::gammaCorrect(r, a[0]); }},
        {"Grayscale", {number("bits", 8)}, [](Raster& r, const Args& a) { imaging::grayscale(r, a[0]); }},
        {"Halftone", {number("type"), number("angle", 0)},
         [](Raster& r, const Args& a) { imaging::halftone(r, a[0], a[1]); }},
        {"HistoContrast", {number("strength")},
         [](Raster& r, const Args& a) { imaging::histoContrast(r, a[0]); }},
        {"HistoEqualize", {}, [](Raster& r, const Args&) { imaging::histoEqualize(r); }},
        {"Hue", {number("degrees")}, [](Raster& r, const Args& a) { imaging::hue(r, a[0]); }},
        {"Intensity", {number("strength")}, [](Raster& r, const Args& a) { imaging::intensity(r, a[0]); }},
        {"IntensityDetect", {number("low"), number("high")},
         [](Raster& r, const Args& a) { imaging::intensityDetect(r, a[0], a[1]); }},
        {"Invert", {}, [](Raster& r, const Args&) { imaging::invert(r); }},
        {"Median", {number("size")}, [](Raster& r, const Args& a) { imaging::median(r, a[0]); }},
        {"Mosaic", {number("size")}, [](Raster& r, const Args& a) { imaging::mosaic(r, a[0]); }},
        {"Posterize", {number("levels")}, [](Raster& r, const Args& a) { imaging::posterize(r, a[0]); }},
        {"Reverse", {}, [](Raster& r, const Args&) { r.reverse(); }},
        {"Rotate", {number("angle"), flag("resize", 1), colour("fill", 0xffffff)},
         [](Raster& r, const Args& a) { r.rotate(a[0], a[1] != 0, asColour(a[2])); }},
        {"Saturation", {number("strength")}, [](Raster& r, const Args& a) { imaging::saturation(r, a[0]); }},
        {"Sharpen", {number("strength")}, [](Raster& r, const Args& a) { imaging::sharpen(r, a[0]); }},
        {"Shear", {number("angle"), flag("horizontal", 1), colour("fill", 0xffffff)},
         [](Raster& r, const Args& a) { r.shear(a[0], a[1] != 0, asColour(a[2])); }},
        {"Size", {number("width"), number("height"), flag("resample", 1)},
         [](Raster& r, const Args& a) { r.size(a[0], a[1], a[2]); }},
        {"SpatialFilter", {number("filter")},
         [](Raster& r, const Args& a) { imaging::spatialFilter(r, a[0]); }},
        {"StretchIntensity", {}, [](Raster& r, const Args&) { imaging::stretchIntensity(r); }},
    };
}

std::optional<int> parseValue(const QString& text, Kind kind)
{
    bool ok = false;
    if (kind == Kind::Colour) {
        if (text.size() != 6)
            return std::nullopt;
        const uint v = text.toUInt(&ok, 16);
        return ok ? std::optional<int>(int(v)) : std::nullopt;
    }
    // Plain decimal only: no spaces, no "0x", within 32 bits.
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!(text[i].isDigit() && text[i].unicode() < 128) && !(i == 0 && (text[i] == u'-' || text[i] == u'+')))
            return std::nullopt;
    const int v = text.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    if (kind == Kind::Flag && v != 0 && v != 1)
        return std::nullopt;
    return v;
}

QString kindText(Kind kind)
{
    switch (kind) {
    case Kind::Flag: return QStringLiteral("0 or 1");
    case Kind::Colour: return QStringLiteral("a colour RRGGBB");
    default: return QStringLiteral("a whole number");
    }
}

}  // namespace

QString EngineOperation::signature() const
{
    QString text = QString::fromLatin1(name);
    QStringList names;
    for (const ParamSpec& p : params)
        names << (p.fallback ? QStringLiteral("[%1]").arg(QString::fromLatin1(p.name)) : QString::fromLatin1(p.name));
    if (!names.isEmpty())
        text += u'=' + names.join(u',');
    return text;
}

const std::vector<EngineOperation>& OperationTable::operations()
{
    static const std::vector<EngineOperation> table = buildTable();
    return table;
}

const EngineOperation* OperationTable::find(const QString& name)
{
    for (const EngineOperation& op : operations())
        if (name.compare(QLatin1String(op.name), Qt::CaseInsensitive) == 0)
            return &op;
    return nullptr;
}

std::optional<QString> OperationTable::parse(const QString& text, OperationCall& call)
{
    const qsizetype eq = text.indexOf(u'=');
    const QString name = eq < 0 ? text : text.left(eq);
    const EngineOperation* op = find(name);
    if (!op)
        return QStringLiteral("unknown operation: %1").arg(name.isEmpty() ? text : name);
    QStringList parts;
    if (eq >= 0)
        parts = text.mid(eq + 1).split(u',');
    const size_t given = size_t(parts.size());
    size_t required = 0;
    while (required < op->params.size() && !op->params[required].fallback)
        ++required;
    if (given < required || given > op->params.size())
        return QStringLiteral("%1: expected %2").arg(text, op->signature());
    std::vector<int> args;
    for (size_t i = 0; i < op->params.size(); ++i) {
        const ParamSpec& p = op->params[i];
        if (i >= given) {
            args.push_back(*p.fallback);
            continue;
        }
        const auto v = parseValue(parts[qsizetype(i)], p.kind);
        if (!v)
            return QStringLiteral("%1: %2 must be %3, not \"%4\"")
                .arg(text, QString::fromLatin1(p.name), kindText(p.kind), parts[qsizetype(i)]);
        args.push_back(*v);
    }
    call = OperationCall{op, std::move(args), text};
    return std::nullopt;
}

int formatForFileName(const QString& fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == u"bmp" || ext == u"dib")
        return 6;
    if (ext == u"png")
        return 75;
    if (ext == u"jpg" || ext == u"jpeg" || ext == u"jpe" || ext == u"jfif")
        return 10;
    return 0;
}

QString ImageBatch::usage()
{
    return QStringLiteral("usage: faciora --image IN OUT [--op NAME=ARGS]... (OUT: .bmp, .png or .jpg)");
}

std::optional<QString> ImageBatch::parse(const QStringList& args)
{
    if (args.size() < 2 || args[0].startsWith(u"--") || args[1].startsWith(u"--"))
        return usage();
    input_ = args[0];
    output_ = args[1];
    format_ = formatForFileName(output_);
    if (format_ == 0)
        return QStringLiteral("cannot write pictures of this type: %1 (use .bmp, .png or .jpg)").arg(output_);
    calls_.clear();
    for (qsizetype i = 2; i < args.size(); ++i) {
        QString spec;
        if (args[i] == u"--op") {
            if (i + 1 >= args.size())
                return QStringLiteral("--op needs NAME=ARGS");
            spec = args[++i];
        } else if (args[i].startsWith(u"--op=")) {
            spec = args[i].mid(5);
        } else {
            return QStringLiteral("unexpected argument: %1").arg(args[i]);
        }
        OperationCall call;
        if (auto error = OperationTable::parse(spec, call))
            return error;
        calls_.push_back(std::move(call));
    }
    return std::nullopt;
}

std::optional<QString> ImageBatch::run() const
{
    if (!QFileInfo(input_).isFile())
        return QStringLiteral("no such picture: %1").arg(input_);
    Raster picture;
    if (const int code = picture.load(input_); code != 0)
        return QStringLiteral("cannot read %1: %2 (%3)").arg(input_, imaging::DecodeError(code)).arg(code);
    for (const OperationCall& call : calls_) {
        try {
            call.operation->apply(picture, call.args);
        } catch (const imaging::ImagingError& e) {
            return QStringLiteral("%1: %2 (%3)").arg(call.text, imaging::DecodeError(e.code())).arg(e.code());
        } catch (const std::bad_alloc&) {
            return QStringLiteral("%1: %2 (%3)").arg(call.text, imaging::DecodeError(imaging::kErrNoMemory)).arg(int(imaging::kErrNoMemory));
        }
    }
    if (const int code = picture.save(output_, format_, 0, 0); code != 0)
        return QStringLiteral("cannot write %1: %2 (%3)").arg(output_, imaging::DecodeError(code)).arg(code);
    return std::nullopt;
}

}  // namespace workshop
