// The sponge figure, "spongebob.obj": a yellow, porous box of a body with a
// face on its front (+z), white shirt, belt and brown trousers, thin arms
// and legs, white socks and black shoes.
#pragma once

#include <vector>

#include "tools/assets/models/model.h"

namespace assets {

Model buildSponge();

// "sponge_body.tga" (front face on the left half, the other faces on the
// right), "sponge_skin.tga", "sponge_clothes.tga" (four bands of cloth) and
// "sponge_eye.tga", each with its normal map.
std::vector<TextureFile> paintSpongeTextures();

// Layout shared by the body's mapping and its painter: the body box, and
// where in the body texture its front and its other faces go.
constexpr Vector3 spongeBodyMin{-0.5f, -0.35f, -0.2f};
constexpr Vector3 spongeBodyMax{0.5f, 1.0f, 0.2f};
constexpr float spongeAtlasMargin = 0.01f;
constexpr float spongeAtlasHalf = 0.48f; // width of each half, in s

// Bands of the clothes texture, bottom to top: shirt white, trousers brown,
// shoes and belt black, tie red. Each covers a quarter of t.
enum class Cloth { white = 0, brown = 1, black = 2, red = 3 };

} // namespace assets
