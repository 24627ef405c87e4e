#include "shell/ProductVersion.h"

namespace {

constexpr qsizetype kMaxVersionLength = 19;

}  // namespace

QString GetProductVersion() {
#ifdef ORVANE_PRODUCT_VERSION
    return GetProductVersion(ORVANE_PRODUCT_VERSION);
#else
    return GetProductVersion(nullptr);
#endif
}

QString GetProductVersion(const char* compiledIn) {
    const QString version = compiledIn == nullptr ? QString() : QString::fromUtf8(compiledIn);
    if (version.isEmpty() || version.size() > kMaxVersionLength) {
        return QStringLiteral("1.xx");
    }
    return version;
}
