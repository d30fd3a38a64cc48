#pragma once

#include "base/FileIdentity.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace modulino {

// The generator the preview file names come from: a 32-bit linear congruential generator that
// starts at 0 in every run, so the names follow in the same order.
class PreviewNameGenerator {
public:
    // The next number, 0..999.
    int next();

private:
    std::uint32_t state = 0;
};

// Chooses the preview file in `folder`: "~prev00.wrl", else "~prev<n>.wrl" with n from the
// generator, the first name that does not exist.
QString choosePreviewFileName(const QString& folder,
                              const std::function<bool(const QString&)>& exists);

// The file the next preview writes: `name` while nothing stands there or the preview's own file
// `own` still does; otherwise the first free name in the generator's order. Updates both.
void choosePreviewTarget(QString& name, std::optional<FileIdentity>& own);

} // namespace modulino
