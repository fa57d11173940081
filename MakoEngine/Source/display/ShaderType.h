#pragma once
// How an image is blended where it is drawn (ImageRenderer::DrawImage):
//   COPY                 pixels replace the target's, colour key honoured
//   BLENDPIXELALPHA      each pixel blended by its own alpha scaled by the draw alpha
//   BLENDCONSTANTALPHA   the pixels' alpha ignored, blended by the draw alpha alone
//   BLENDCOMBINEDALPHA   software blend by the pixel alpha, the target's alpha kept
// RESERVED (and any other value) draws nothing.
enum ShaderType {
    SHADERTYPE_RESERVED = 0,
    SHADERTYPE_COPY = 1,
    SHADERTYPE_BLENDPIXELALPHA = 2,
    SHADERTYPE_BLENDCONSTANTALPHA = 3,
    SHADERTYPE_BLENDCOMBINEDALPHA = 4,
};
