// The backup copy of a folder tree, made durable as one batch.
#pragma once

#include <string>

#include "platform/platform.h"

namespace dayledger {

// Copies the folder `from` with everything below it into the folder `to` (as
// `to`\<name of `from`>), replacing same-named files and skipping the tool's
// work files. The copies are written first, then flushed together: every
// file, then every folder that gained an entry, `to` and its parent
// included, so that a power cut cannot keep the folders without their files.
// The failure names the first operation that failed and its path.
IoStatus CopyTree(Platform& platform, const Path& from, const Path& to);
// The same, into the folder `as` (created in an existing parent if missing).
IoStatus CopyTreeAs(Platform& platform, const Path& from, const Path& as);
// Deletes the folder with everything below it, as far as it can.
void RemoveTree(Platform& platform, const Path& folder);

}  // namespace dayledger
