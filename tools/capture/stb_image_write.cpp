// stb_image_write's functions, for the Windows build: on Linux they come
// from Debian's libstb, which has no Windows counterpart.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
