// Font loading from arbitrary bytes through the manager on a real OpenGL context: no crash, no undefined behaviour,
// no leak; only a font that loads takes an id; its texture a power-of-two square, row and column 0 empty, quads in it.
#include "FuzzSupport.h"
#include "support/Feedback.h"
#include "text/CFontManager.h"
#include "text/CTextureFont.h"

#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (!OpenGlWindow()) FuzzFail("font", std::string("no OpenGL window (run it under xvfb-run): ") + SDL_GetError());
    glTranslatef(512, 384, 0), glScalef(1e-7f, 1e-7f, 1);   // room for any glyph a font can describe: feedback clips none
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFontManager& manager = *CFontManager::GetInstance();   // emptied again after every input
    manager.Init();
    const CTextureFont* font = manager.LoadFont(FuzzFile(data, size).c_str(), 40.0f);
    if (manager.GetFont(0) != font || (font && !font->IsLoaded()))
        FuzzFail("font", "the manager's list does not follow the loads");
    if (font) {
        std::string all;   // every byte the game could draw, in one string as the HUD does
        for (int c = 1; c < 256; ++c) all += char(c);
        for (const FeedbackPrimitive& p : CaptureFeedback([&] { font->DrawString(all.c_str()); }))
            for (const FeedbackVertex& v : p)
                if (!(v.s >= 0 && v.s <= 1 && v.t >= 0 && v.t <= 1)) FuzzFail("font", "a quad samples outside the texture");
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        if (width <= 0 || width != height || (width & (width - 1)) != 0)
            FuzzFail("font", "the texture is not a power-of-two square");
        std::vector<unsigned char> texels(size_t(width) * size_t(width));
        glPixelStorei(GL_PACK_ALIGNMENT, 1), glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, texels.data());
        for (int i = 0; i < width; ++i)
            if (texels[size_t(i)] != 0 || texels[size_t(i) * size_t(width)] != 0)
                FuzzFail("font", "row 0 or column 0 of the texture is not empty");
    }
    manager.Shutdown();
    return 0;
}
