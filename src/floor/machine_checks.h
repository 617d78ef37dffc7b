// What the PC may be doing that an upgrade cannot live with, each looked at
// before anything changes: the scheduler still running, a link where the
// tool would write, files that cannot be replaced, a disk without room.
// Each answers the refusal to show, or a reply of kDone when all is well.
#pragma once

#include <string>

#include "floor/installation.h"
#include "floor/reply.h"
#include "platform/platform.h"

namespace dayledger {

// Another account than the one whose data it is runs the tool (Windows: a
// standard user's "Run as administrator" as someone else; POSIX: root on an
// installation another account owns).
Reply RefuseOtherAccount(Installation& installation);

// A program running from the installation's folder (the scheduler keeps the
// user's data in memory and writes the old files back when it saves), other
// than this tool's own.
Reply RefuseRunningPrograms(Installation& installation);

// A link or junction where the tool would make or change anything for the
// user: the users' folder, the user's folder, the backups' folder, the
// user's backup and its lock. Nothing is ever made through one.
Reply RefuseLinks(Installation& installation, const std::string& user);

// A user's folder the user may not write in, a file another program holds
// (waited for a moment first), data files that are read-only, or a file its
// permissions forbid deleting.
Reply RefuseUnchangeable(Platform& platform, const Path& user_folder);

// Too little room for the backup (unless skipped) and for the new files the
// commit stages beside the old ones, on each drive they go to; monthly files
// the run merges become one file.
Reply RefuseShortDisk(Installation& installation, const std::string& user, bool with_backup,
                      bool merges_months);

}  // namespace dayledger
