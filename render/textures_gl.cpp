// Texture upload: ground and screen textures, ball textures, and the start-up load of all.
#include <GL/gl.h>
#include <GL/glu.h>

#include <string>

#include "render/bitmap.h"
#include "render/textures.h"
#include "platform/fs.h"

namespace {

// Every ball picture passes through here on its way to OpenGL.
uint8_t ballStaging[BALL_STAGING_SIDE * BALL_STAGING_SIDE * 4];

bool is_mipmap_filter(int filter) {
  return filter == GL_NEAREST_MIPMAP_NEAREST || filter == GL_LINEAR_MIPMAP_NEAREST ||
         filter == GL_NEAREST_MIPMAP_LINEAR || filter == GL_LINEAR_MIPMAP_LINEAR;
}

}  // namespace

uint32_t load_texture(const char* path, int minFilter, int magFilter, int wrapMode) {
  std::optional<Bitmap> bitmap = load_bitmap(path);
  if (!bitmap || !prepare_ground_pixels(*bitmap)) return 0;
  const int width = bitmap->header.width;
  const int height = bitmap->header.height;

  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapMode);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapMode);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  // Rows are packed (width × 3 is a multiple of 4), and go up bottom row first: t = 0.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  if (is_mipmap_filter(minFilter))
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, bitmap->pixels.data());
  else
    glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, bitmap->pixels.data());
  return name;
}

uint32_t load_ball_texture(const char* path) {
  std::optional<Bitmap> bitmap = load_bitmap(path);
  if (!bitmap || !stage_ball_pixels(*bitmap, ballStaging)) return 0;

  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  // The staging rows are 128 pixels long and the picture is exactly 128 wide.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, bitmap->header.width, bitmap->header.height, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, ballStaging);
  return name;
}

void load_textures(TextureTable& table, const std::string& dataDir) {
  for (int k = 0; k < GROUND_TEXTURE_COUNT; ++k) {
    const std::string path = join_path(dataDir, std::string("textures/") + GROUND_TEXTURE_STEMS[k] + ".bmp");
    table.ground[k] = load_texture(path.c_str(), GL_LINEAR, GL_LINEAR, GL_REPEAT);
  }
  for (int k = 0; k < BALL_TEXTURE_COUNT; ++k) {
    const std::string path = join_path(dataDir, std::string("textures/") + BALL_TEXTURE_STEMS[k] + ".bmp");
    table.ball[k + 1] = load_ball_texture(path.c_str());
  }
}
