#pragma once

#include "catalog/result.h"

#include <QString>

namespace catalog {

// Compacts the parts database of `folder` ("Ravoze.mdb", any spelling): the work file
// "tmp.mdb" is removed if present, the database compacted into it, the copy checked and
// flushed, and only then renamed over the database in one atomic step (the database keeps
// its own spelling). On failure the database is left as it was and no work file remains.
// Every connection to the database should be closed first.
DbResult CompactPartsDatabase(const QString& folder);

}  // namespace catalog
