// The decoder, compiled into the harnesses with their instrumentation: the system's copy of
// the library is built without it, so the fuzzer could neither see the decoder's branches
// nor the sanitizers its reads. Definitions in the executable take the place of the
// shared library's.
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
