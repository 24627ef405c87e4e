#pragma once

#include <QString>

// The product version the build compiled in (e.g. "1.03"), or "1.xx" when the
// build gave none.
QString GetProductVersion();

// The same rule for a given compiled-in text: null, empty, or 20 characters
// and longer give "1.xx".
QString GetProductVersion(const char* compiledIn);
