// The backup copy of a folder tree, made durable as one batch.
#pragma once

#include <string>

#include "platform/platform.h"

namespace dayledger {

// Copies the folder `from` with everything below it into the folder `as`
// (created in an existing parent if missing), skipping the tool's work
// files. The copies are written first, then flushed together: every file,
// then every folder that gained an entry, `as`, its parent and the one
// above included, so that a power cut cannot keep the folders without
// their files. The failure names the first operation that failed and its
// path.
Status CopyTreeAs(Platform& platform, const Path& from, const Path& as);

}  // namespace dayledger
