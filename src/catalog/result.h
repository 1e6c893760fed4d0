#pragma once

#include <QString>

#include <utility>

namespace catalog {

// Outcome of a database operation: ok, or a message saying what went wrong. Errors are
// values; nothing in the catalog throws across its interface.
class [[nodiscard]] DbResult {
public:
    DbResult() = default;
    static DbResult failure(QString message)
    {
        DbResult r;
        r.error_ = message.isEmpty() ? QStringLiteral("database error") : std::move(message);
        return r;
    }

    bool ok() const { return error_.isEmpty(); }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return error_; }

private:
    QString error_;
};

}  // namespace catalog
