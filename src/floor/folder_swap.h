// A user's backup replaced whole by a new copy made beside it, and the
// settling of a replacement an interruption cut short. Which copy is whole
// is never guessed from which folders exist: the new copy's record, written
// and flushed once the copy is whole and before anything moves, lists every
// file with its size and SHA-1, and the copy is held against it before the
// earlier one may go.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace dayledger {

// The places of one replacement, all on one disk: the backup (`current`),
// the new copy while it is made (`made`), the folder where earlier copies
// wait, each under a number, to be removed (`asides`), and the record that
// the new copy is whole (`record`).
struct FolderSwap {
  Path current;
  Path made;
  Path asides;
  Path record;
};

// Puts the whole and flushed `made` in the place of `current`, which goes
// (it may be missing, or an empty folder). Stops at the first failure with
// `current` as it was, or, where it could not be put back, with the record
// left for SettleSwap to finish the move. Once `made` is in place and
// flushed it succeeds: an earlier copy that cannot be removed now is left,
// its first file that would not go into `left`, and removed by a later
// settling; it never blocks a later backup.
Status ReplaceFolder(Platform& platform, const FolderSwap& swap, std::vector<Path>* left);
// After an interruption, under the user's lock: with a whole record, the
// new copy is held against it and finishes its move (an empty `current`
// that a start made counts for nothing); without one, a `made` there is a
// half copy and goes. Earlier copies go, as far as they can (the first file
// of each that would not, into `left`). Stops, changing nothing, where the
// record cannot be read or looked at (kRecoveryHeld), names a format this
// build does not know (kNewerFormat), or a copy does not hold what it lists
// (kChangeLost); and where a file of a move is held (kRecoveryHeld).
Status SettleSwap(Platform& platform, const FolderSwap& swap, std::vector<Path>* left);

// Whether the swap's record is there (or cannot be looked at): while it is,
// the new copy must stay, for a settling to finish its move.
bool SwapPending(Platform& platform, const FolderSwap& swap);

}  // namespace dayledger
