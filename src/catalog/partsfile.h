#pragma once

#include "catalog/result.h"

#include <QString>

namespace catalog {

// Creates a new, empty database file with table `people` and its indexes. For the builders
// under tools/ (and tests): the programs never create a database. Fails when `path` exists.
DbResult createPartsFile(const QString& path);

}  // namespace catalog
