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
// Deletes the folder with everything below it, as far as it can; the first
// failure, if one stopped it. A folder not there is removed already.
Status RemoveTree(Platform& platform, const Path& folder);

// A folder replaced whole by a new one made beside it: the places of a
// backup (`current`), of the new one being made (`made`), and of the one it
// replaces while the two trade places (`aside`), all in one parent.
struct FolderSwap {
  Path current;
  Path made;
  Path aside;
};
// Puts the whole and flushed `made` in the place of `current`, which goes
// (it may be missing). Stops at the first failure with `current` as it was;
// once `made` is in place and flushed it succeeds, an earlier folder that
// cannot be removed now left for SettleSwap.
Status ReplaceFolder(Platform& platform, const FolderSwap& swap);
// After an interruption: where `aside` is there, `made` was whole and
// finishes its move; else a `made` there is a half copy and goes. Nothing
// of the swap is left where it succeeds.
Status SettleSwap(Platform& platform, const FolderSwap& swap);

}  // namespace dayledger
