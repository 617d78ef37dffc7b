// The backup's replacement by a new copy, proven by the copy's record.
#include "floor/folder_swap.h"

#include <map>
#include <optional>

#include "digest/sha1.h"
#include "floor/copy_tree.h"
#include "platform/path.h"
#include "state/file_names.h"

namespace dayledger {
namespace {

// The record's first line names its format. Every change to what the
// record holds gets a new number here, and the formats before it stay
// readable; a number this build does not know stops the settling.
constexpr char kRecordFormat[] = "dayledger swap ";
constexpr char kRecordVersion[] = "1";

// A tree as its record lists it: relative path -> "D" for a folder, or the
// size and SHA-1 of a file.
using Listing = std::map<std::string, std::string>;

Status Held(const Path& path, int code) {
  return Status::Failed(StatusKind::kRecoveryHeld, path, code);
}

// Lists `folder` with everything below it, every file read whole.
Status Describe(Platform& platform, const Path& folder, const std::string& relative,
                Listing* listing) {
  const Result<std::vector<FolderEntry>> listed = platform.ListFolder(folder);
  if (!listed.ok()) return Held(folder, listed.status().code);
  for (const FolderEntry& entry : *listed) {
    const std::string name = relative.empty() ? entry.name : relative + "\\" + entry.name;
    const Path path = folder / entry.name;
    // A name the record cannot hold is never copied as if it were whole.
    if (name.find_first_of("\t\r\n") != std::string::npos) {
      return Status::Failed(StatusKind::kCannotCreate, path);
    }
    if (entry.folder) {
      (*listing)[name] = "D";
      if (Status status = Describe(platform, path, name, listing); !status.ok()) return status;
      continue;
    }
    std::string bytes;
    if (const Status read = platform.ReadFile(path, &bytes); !read.ok()) {
      return Held(path, read.code);
    }
    (*listing)[name] = std::to_string(bytes.size()) + "\t" + HexDigest(bytes);
  }
  return Status::Ok();
}

std::string EncodeRecord(const std::string& aside, const Listing& listing) {
  std::string body = std::string(kRecordFormat) + kRecordVersion + "\n";
  body += "A\t" + aside + "\n";
  for (const auto& [name, what] : listing) body += "E\t" + name + "\t" + what + "\n";
  return body + "C\t" + HexDigest(body) + "\n";
}

struct Record {
  std::string aside;  // the earlier copy's name among the asides
  Listing listing;
};

// The record; nullopt for one torn as it was written (the move had not
// begun), kNewerFormat for a format this build does not know.
Result<std::optional<Record>> DecodeRecord(const std::string& bytes, const Path& path) {
  const std::string first = bytes.substr(0, bytes.find('\n'));
  const bool whole_line = first.size() < bytes.size();
  if (whole_line && first.rfind(kRecordFormat, 0) == 0 &&
      first != std::string(kRecordFormat) + kRecordVersion) {
    return Status::Failed(StatusKind::kNewerFormat, path);
  }
  const size_t last = bytes.rfind("C\t");
  if (!whole_line || first != std::string(kRecordFormat) + kRecordVersion ||
      last == std::string::npos ||
      bytes.substr(last) != "C\t" + HexDigest(bytes.substr(0, last)) + "\n") {
    return std::optional<Record>();
  }
  Record record;
  size_t start = first.size() + 1;
  while (start < last) {
    const size_t end = bytes.find('\n', start);
    const std::string line = bytes.substr(start, end - start);
    start = end + 1;
    if (line.rfind("A\t", 0) == 0) {
      record.aside = line.substr(2);
    } else if (const size_t tab = line.find('\t', 2);
               line.rfind("E\t", 0) == 0 && tab != std::string::npos) {
      record.listing[line.substr(2, tab - 2)] = line.substr(tab + 1);
    } else {
      return std::optional<Record>();
    }
  }
  return std::optional<Record>(record);
}

// Whether `folder` holds exactly what the record lists: kChangeLost where
// it holds anything else, kRecoveryHeld where a file cannot be read.
Status HoldsListed(Platform& platform, const Path& folder, const Listing& listed) {
  Listing found;
  if (Status status = Describe(platform, folder, "", &found); !status.ok()) return status;
  if (found != listed) return Status::Failed(StatusKind::kChangeLost, folder);
  return Status::Ok();
}

// The first number among the asides that names nothing yet.
Result<std::string> FreeAside(Platform& platform, const Path& asides) {
  for (int n = 1;; ++n) {
    const std::string name = std::to_string(n);
    const Result<PathKind> there = platform.Inspect(asides / name);
    if (!there.ok()) return there.status();
    if (*there == PathKind::kMissing) return name;
  }
}

// Removes every earlier copy waiting among the asides, as far as it can.
void RemoveAsides(Platform& platform, const Path& asides, std::vector<Path>* left) {
  const Result<PathKind> there = platform.Inspect(asides);
  if (there.ok() && *there == PathKind::kMissing) return;
  const Result<std::vector<FolderEntry>> listed = platform.ListFolder(asides);
  if (!listed.ok()) {
    left->push_back(asides);
    return;
  }
  for (const FolderEntry& entry : *listed) {
    if (const Status removed = RemoveTree(platform, asides / entry.name); !removed.ok()) {
      left->push_back(removed.path);
    }
  }
  // Left where an earlier copy stays; a later settling tries again.
  if (platform.RemoveFolder(asides).ok()) {
    IgnoreFailure(platform.SyncFolder(asides.Parent()), "back empty, a later settling removes it");
  }
}

// Makes `folder` and its parent where missing, each flushed into its parent,
// so that what moves into it is not lost to a power cut with it.
Status MakeFolder(Platform& platform, const Path& folder) {
  for (const Path& each : {folder.Parent(), folder}) {
    const Result<PathKind> there = platform.Inspect(each);
    if (!there.ok()) return there.status();
    if (*there == PathKind::kFolder) continue;
    if (Status made = platform.CreateDirectory(each); !made.ok()) return made;
    if (Status flushed = platform.SyncFolder(each.Parent()); !flushed.ok()) return flushed;
  }
  return Status::Ok();
}

// The record goes once the move it guards is over.
Status DropRecord(Platform& platform, const FolderSwap& swap) {
  const Status deleted = platform.DeleteFile(swap.record);
  if (!deleted.ok() && deleted.kind != StatusKind::kNotFound) return deleted;
  return platform.SyncFolder(swap.record.Parent());
}

// Moves the whole `made` into the place of `current`, the earlier copy to
// `aside` first; a `current` that is an empty folder is only removed.
Status MoveInto(Platform& platform, const FolderSwap& swap, const Path& aside) {
  const Result<PathKind> found = platform.Inspect(swap.current);
  if (!found.ok()) return Held(swap.current, found.status().code);
  if (*found == PathKind::kFolder) {
    const Result<PathKind> moved_aside = platform.Inspect(aside);
    if (!moved_aside.ok()) return Held(aside, moved_aside.status().code);
    if (*moved_aside == PathKind::kMissing) {
      if (Status made = MakeFolder(platform, swap.asides); !made.ok()) return made;
      if (Status moved = platform.RenameFile(swap.current, aside); !moved.ok()) return moved;
    } else if (Status removed = platform.RemoveFolder(swap.current); !removed.ok()) {
      // Only an empty folder may stand where the earlier copy was.
      return Status::Failed(StatusKind::kChangeLost, swap.current, removed.code);
    }
  } else if (*found != PathKind::kMissing) {
    // Something else in the backup's place is never moved: the system says why.
    const Status made = platform.CreateDirectory(swap.current);
    return Status::Failed(StatusKind::kCannotCreate, swap.current, made.code);
  }
  if (Status moved = platform.RenameFile(swap.made, swap.current); !moved.ok()) return moved;
  for (const Path& folder : {swap.current.Parent(), swap.made.Parent(), swap.asides}) {
    const Result<PathKind> there = platform.Inspect(folder);
    if (there.ok() && *there == PathKind::kMissing) continue;
    if (Status flushed = platform.SyncFolder(folder); !flushed.ok()) return flushed;
  }
  return Status::Ok();
}

}  // namespace

bool SwapPending(Platform& platform, const FolderSwap& swap) {
  const Result<PathKind> there = platform.Inspect(swap.record);
  return !there.ok() || *there != PathKind::kMissing;
}

Status ReplaceFolder(Platform& platform, const FolderSwap& swap, std::vector<Path>* left) {
  Listing listing;
  if (Status status = Describe(platform, swap.made, "", &listing); !status.ok()) return status;
  const Result<std::string> aside = FreeAside(platform, swap.asides);
  if (!aside.ok()) return aside.status();
  // The record, flushed, is what lets the earlier copy move at all.
  if (Status made = MakeFolder(platform, swap.record.Parent()); !made.ok()) return made;
  if (Status written = platform.WriteFile(swap.record, EncodeRecord(*aside, listing));
      !written.ok()) {
    IgnoreFailure(platform.DeleteFile(swap.record), "a record not whole is none");
    return written;
  }
  if (Status flushed = platform.SyncFile(swap.record); !flushed.ok()) return flushed;
  if (Status flushed = platform.SyncFolder(swap.record.Parent()); !flushed.ok()) return flushed;
  const Path aside_path = swap.asides / *aside;
  if (Status moved = MoveInto(platform, swap, aside_path); !moved.ok()) {
    // The earlier copy back in its place, or else the record stays, so that
    // the next settling finishes the move.
    const Result<PathKind> current = platform.Inspect(swap.current);
    if (!current.ok() ||
        (*current == PathKind::kMissing && !platform.RenameFile(aside_path, swap.current).ok())) {
      return moved;
    }
    IgnoreFailure(DropRecord(platform, swap), "a later settling finishes the move it names");
    return moved;
  }
  RemoveAsides(platform, swap.asides, left);
  return DropRecord(platform, swap);
}

Status SettleSwap(Platform& platform, const FolderSwap& swap, std::vector<Path>* left) {
  const Result<PathKind> there = platform.Inspect(swap.record);
  if (!there.ok()) return Held(swap.record, there.status().code);
  std::optional<Record> record;
  if (*there != PathKind::kMissing) {
    std::string bytes;
    if (const Status read = platform.ReadFile(swap.record, &bytes); !read.ok()) {
      return Held(swap.record, read.code);
    }
    Result<std::optional<Record>> decoded = DecodeRecord(bytes, swap.record);
    if (!decoded.ok()) return decoded.status();
    record = std::move(*decoded);
  }
  if (record) {
    // The new copy was whole when the record was written: it is held
    // against the record, wherever it stands now, before anything moves.
    const Result<PathKind> made = platform.Inspect(swap.made);
    if (!made.ok()) return Held(swap.made, made.status().code);
    const bool moving = *made != PathKind::kMissing;
    const Path& copy = moving ? swap.made : swap.current;
    if (Status holds = HoldsListed(platform, copy, record->listing); !holds.ok()) return holds;
    if (moving) {
      if (Status moved = MoveInto(platform, swap, swap.asides / record->aside); !moved.ok()) {
        return moved.kind == StatusKind::kRenameFailed ? Held(moved.path, moved.code) : moved;
      }
    }
  } else {
    // No whole record: the earlier copy never moved, and a new one is half.
    // A torn record guards nothing and goes first: left beside a half copy
    // that will not go, it would stop every later opening.
    if (*there != PathKind::kMissing) {
      if (Status dropped = DropRecord(platform, swap); !dropped.ok()) return dropped;
    }
    const Result<PathKind> made = platform.Inspect(swap.made);
    if (!made.ok()) return Held(swap.made, made.status().code);
    if (*made != PathKind::kMissing) {
      if (Status removed = RemoveTree(platform, swap.made); !removed.ok()) return removed;
      IgnoreFailure(platform.SyncFolder(swap.made.Parent()),
                    "a half copy back after a power cut goes again");
    }
    // Earlier copies wait only beside a backup in place; without one they
    // are kept, whatever left them so.
    const Result<PathKind> current = platform.Inspect(swap.current);
    if (!current.ok() || *current != PathKind::kFolder) return Status::Ok();
  }
  RemoveAsides(platform, swap.asides, left);
  return record ? DropRecord(platform, swap) : Status::Ok();
}

}  // namespace dayledger
