/* The Windows build compiles the PNG writer and the font rasteriser in; the native build
   links the system's libstb instead. Pictures are decoded in image_decoder.cpp. */
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_image_write.h>
#include <stb_truetype.h>
