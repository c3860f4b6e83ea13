/* The compiled bodies of the stb libraries the kits use. On the desktop Debian's libstb provides
   them; a web build compiles them here from the same headers. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>
#include <stb/stb_vorbis.h>
