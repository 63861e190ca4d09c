/* The Windows build compiles the picture decoder, the PNG writer and the font rasteriser
   in; the native build links the system's libstb instead. */
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_image.h>
#include <stb_image_write.h>
#include <stb_truetype.h>
