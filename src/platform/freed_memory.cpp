// ReturnFreedMemory: glibc's malloc_trim, nothing elsewhere.
#include "platform/freed_memory.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc's

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace dayledger {

void ReturnFreedMemory() {
#if defined(__GLIBC__)
  ::malloc_trim(0);
#endif
}

}  // namespace dayledger
