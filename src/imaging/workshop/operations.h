#pragma once

// The engine operations the image workshop offers, as data: one descriptor per operation with
// its parameters and how it is applied. The batch command parses its --op arguments against
// this table, and the menus are built on the same descriptors.

#include "imaging/engine/raster.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace workshop {

struct ParamSpec {
    enum class Kind {
        Number,  // a decimal integer; the engine checks its range
        Flag,    // 0 or 1
        Colour,  // RRGGBB in hexadecimal
    };
    const char* name;
    Kind kind = Kind::Number;
    std::optional<int> fallback;  // value when left out (only trailing parameters)
};

struct EngineOperation {
    const char* name;  // the engine's name, e.g. "Median"
    std::vector<ParamSpec> params;
    std::function<void(imaging::Raster&, const std::vector<int>&)> apply;

    // "Median=size" as shown in usage texts.
    QString signature() const;
};

// One parsed operation with its arguments, ready to apply.
struct OperationCall {
    const EngineOperation* operation = nullptr;
    std::vector<int> args;
    QString text;  // as the user wrote it, for messages
};

class OperationTable {
public:
    static const std::vector<EngineOperation>& operations();
    // By name, ignoring case; nullptr when unknown.
    static const EngineOperation* find(const QString& name);
    // "NAME" or "NAME=A,B,..."; the reason on failure.
    static std::optional<QString> parse(const QString& text, OperationCall& call);
};

// faciora --image IN OUT [--op NAME=ARGS]...: reads IN, applies the operations in order and
// writes OUT in the format its extension names. Nothing is written unless every step worked.
class ImageBatch {
public:
    // The arguments after "--image". The reason on failure.
    std::optional<QString> parse(const QStringList& args);
    std::optional<QString> run() const;

    const std::vector<OperationCall>& calls() const { return calls_; }
    static QString usage();

private:
    QString input_;
    QString output_;
    int format_ = 0;
    std::vector<OperationCall> calls_;
};

// The engine's format code for a file name's extension (BMP, PNG, JPEG); 0 when none is written.
int formatForFileName(const QString& fileName);

}  // namespace workshop
