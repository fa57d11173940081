#pragma once
// How an image is blended where it is drawn (ImageRenderer::DrawImage):
//   COPY                 pixels replace the target's
//   BLENDPIXELALPHA      each pixel blended by its own alpha (the draw alpha unused)
//   BLENDCONSTANTALPHA   the pixels' alpha ignored, blended by the draw alpha alone
//   BLENDCOMBINEDALPHA   software blend by the pixel alpha, the target's alpha kept
// RESERVED (and any other value) draws nothing. Under every shader, in both display
// backends, the pixels an image's colour key marks are not drawn.
enum ShaderType {
    SHADERTYPE_RESERVED = 0,
    SHADERTYPE_COPY = 1,
    SHADERTYPE_BLENDPIXELALPHA = 2,
    SHADERTYPE_BLENDCONSTANTALPHA = 3,
    SHADERTYPE_BLENDCOMBINEDALPHA = 4,
};
