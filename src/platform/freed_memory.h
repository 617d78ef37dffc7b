// Memory the program has freed, given back to the system.
#pragma once

namespace dayledger {

// glibc keeps freed blocks inside its heap for reuse: a program that frees
// one large structure a block at a time while it builds another in a single
// new allocation would hold both. Elsewhere the C library returns large
// blocks itself, and this does nothing.
void ReturnFreedMemory();

}  // namespace dayledger
