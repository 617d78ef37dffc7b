// The terminal program's answer as one JSON document, for scripts and
// deployment tools: what each user's part of a command came to, as kinds
// and facts beside the words the terminal shows. Every character outside
// ASCII is escaped, so the document reads the same in any code page.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "floor/reply.h"
#include "platform/platform.h"

namespace dayledger::cli {

// One user's part of a command, as it ended.
struct UserAnswer {
  std::string name;  // UTF-8
  std::optional<bool> encrypted;
  std::optional<std::string> version_before;  // version codes ("10200")
  std::optional<std::string> version_after;
  int exit_status = kExitDone;
  Reply reply;                     // the last reply shown for it; a done one before any
  std::string reason;              // a reason the terminal program gave itself; else the reply's
  std::string message;             // the words shown for it, a line each
  nlohmann::ordered_json details;  // what the command adds: verify's report, check's problems
};

// The stable name of a reply's reason: "already_latest", "wrong_password"
// and the others; "declined" for a question answered no.
std::string ReasonName(const Reply& reply);

// The user's part as the document gives it.
nlohmann::ordered_json UserJson(Platform& platform, const UserAnswer& answer);

// The whole document: the command, the installation's folder as shown, the
// exit status and the users, ending in a line feed.
std::string Document(const std::string& command, const std::string& installation, int exit_status,
                     const nlohmann::ordered_json& users);

}  // namespace dayledger::cli
