// Real folders as the tests compare them: a tree as a map.
#pragma once

#include <map>
#include <string>

namespace dayledger::testing {

// Every entry below `native_root` by relative path: files by content, links
// by target ("-> target"), folders as "name/".
using NativeTree = std::map<std::string, std::string>;
NativeTree SnapshotTree(const std::string& native_root);

}  // namespace dayledger::testing
