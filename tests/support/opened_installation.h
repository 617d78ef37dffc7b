// Opening an installation in a test, as a program starts on it.
#pragma once

#include <stdexcept>
#include <vector>

#include "floor/installation.h"

namespace dayledger::testing {

// The installation in `folder` opened on `view`, what opening finished or
// undid into `notes` when given. An opening that stops throws, which ends
// the test with the place it stopped at.
inline Installation OpenedOn(Platform& view, const Path& folder,
                             std::vector<Said>* notes = nullptr) {
  std::vector<Said> told;
  Result<Installation> opened = Installation::Open(view, folder, notes ? notes : &told);
  if (!opened.ok())
    throw std::runtime_error("the opening stopped at " + opened.status().path.text());
  return std::move(*opened);
}

// A restarted program's opening, which finishes or undoes what an
// interrupted change left: whether it went through. What it left on the
// disk is the test's to look at.
inline bool Reopen(Platform& view, const Path& folder) {
  std::vector<Said> notes;
  return Installation::Open(view, folder, &notes).ok();
}

}  // namespace dayledger::testing
