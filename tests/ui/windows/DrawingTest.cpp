// Fonts, painting, backdrops, the palette and a screenshot of a window.
#include "WindowTestProject.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/PngWriter.h"
#include "loader/PluginEntries.h"
#include "ui/FontCache.h"
#include "ui/PictureDrawing.h"
#include "ui/RuntimePalette.h"
#include "ui/Pane.h"

using namespace runtime;
using namespace window_tests;

namespace {

TEST(Fonts, EqualRequestsShareOneFontDeletedWithTheLastRelease) {
    const size_t before = cachedFontCount();
    const FontRequest geneva{"Geneva", 12, true};
    HFONT first = acquireFont(geneva);
    HFONT second = acquireFont(geneva);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    LOGFONTW font{};
    ASSERT_NE(GetObjectW(first, sizeof(font), &font), 0);
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfHeight, -12);
    HFONT plain = acquireFont({"Geneva", 12, false});
    EXPECT_NE(plain, first);
    releaseFont(plain);
    releaseFont(first);
    EXPECT_NE(GetObjectType(first), 0u);
    releaseFont(second);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(cachedFontCount(), before);
}

TEST(Screenshot, WindowWithMenuBarAndControls) {
    std::vector<LayoutControl> controls;
    int x = 20;
    for (const char* name : {"Send", "Cancel", "Help"}) {
        controls.push_back(control(ix.traceControl, name,
                                   {{"Left", std::to_string(x)}, {"Top", "40"}, {"Width", "80"}, {"Height", "28"}}));
        x += 100;
    }
    OpenWindow w(windowLayout(ix.testWindow, controls, {{"Title", "Screenshot"}, {"HasBackColor", "True"},
                                                       {"BackColor", "16777164"}}));
    ASSERT_NE(w.object, nullptr);
    runPasses(5);
    UpdateWindow(w.handle());
    Sleep(300);
    runPasses(3);
    EXPECT_TRUE(testing_support::writeScreenshot("window_screenshot.png"));
    // The background is the window's BackColor 0xFFFFCC, read from the screen.
    POINT inside{150, 150};
    ClientToScreen(w.handle(), &inside);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, inside.x, inside.y), RGB(0xFF, 0xFF, 0xCC));
    ReleaseDC(nullptr, screen);
}

TEST(Fonts, TheCharacterSetFollowsTheImagesScriptNumber) {
    EXPECT_EQ(applicationScript(), 13);  // from the settings item of this project
    HFONT font = acquireFont({"Osaka", 10});
    ASSERT_NE(font, nullptr);
    LOGFONTW logical{};
    ASSERT_NE(GetObjectW(font, sizeof(logical), &logical), 0);
    EXPECT_EQ(logical.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_STREQ(logical.lfFaceName, L"MS UI Gothic");
    releaseFont(font);
    struct Case {
        int32_t script;
        BYTE charset;
    };
    for (const Case& c : {Case{13, SHIFTJIS_CHARSET}, Case{21, CHINESEBIG5_CHARSET}, Case{12, HEBREW_CHARSET},
                          Case{14, ARABIC_CHARSET}, Case{16, GREEK_CHARSET}, Case{19, TURKISH_CHARSET},
                          Case{24, THAI_CHARSET}, Case{34, RUSSIAN_CHARSET}, Case{0, DEFAULT_CHARSET},
                          Case{1, DEFAULT_CHARSET}}) {
        EXPECT_EQ(scriptCharacterSet(c.script), c.charset) << c.script;
    }
}

TEST(Fonts, PluginsGetTheCharacterSetOfTheRuntimesFonts) {
    // Whatever the system's code page, a plug-in's fonts take the character
    // set of the application's script, as the runtime's own fonts do.
    const int32_t script = applicationScript();
    const std::pair<int32_t, int32_t> cases[] = {{13, 128}, {21, 136}, {34, 204}, {0, 1}};
    for (const auto& [s, characterSet] : cases) {
        setApplicationScript(s);
        EXPECT_EQ(VELMGetWin32Charset(), characterSet) << s;
    }
    setApplicationScript(script);
    EXPECT_EQ(VELMGetWin32Charset(), SHIFTJIS_CHARSET);
}

TEST(Painting, TheBackdropIsDrawnBeforePaintOverTheBackColor) {
    OpenWindow w(windowLayout(ix.testWindow, {}, {{"Backdrop", std::to_string(pictures.red)}, {"HasBackColor", "True"},
                                                 {"BackColor", "16777215"}}));
    ASSERT_NE(w.object, nullptr);
    ObjectHandle backdrop = windowBackdropGetter(w.object);
    ASSERT_NE(backdrop, nullptr);
    RuntimeUnlockObject(backdrop);
    gTrace.clear();
    runPasses(3);
    SetForegroundWindow(w.handle());
    RedrawWindow(w.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(settlesTo(w.handle(), 1, 1, isRed));
    EXPECT_NE(gTrace.find("paint "), std::string::npos);
    EXPECT_TRUE(isRed(screenPixel(w.handle(), kPictureWidth - 1, kPictureHeight - 1)));
    EXPECT_EQ(screenPixel(w.handle(), kPictureWidth + 4, 1), RGB(255, 255, 255));
    EXPECT_EQ(screenPixel(w.handle(), 1, kPictureHeight + 4), RGB(255, 255, 255));

    // Without a backdrop only the back colour remains.
    windowBackdropSetter(w.object, nullptr);
    EXPECT_TRUE(settlesTo(w.handle(), 1, 1, [](COLORREF c) { return c == RGB(255, 255, 255); }));
}

TEST(Painting, PicturesThatCannotBeDrawnAreRefused) {
    ObjectHandle red = RuntimeProjectObject(pictures.red);
    ObjectHandle eightBits = RuntimeProjectObject(pictures.eightBits);
    ObjectHandle tooShort = RuntimeProjectObject(pictures.short_);
    const PictureDescription good = pictureDescription(red);
    EXPECT_EQ(good.width, kPictureWidth);
    EXPECT_EQ(good.height, kPictureHeight);
    ASSERT_NE(good.pixels, nullptr);
    EXPECT_EQ(good.pixels[0] | (good.pixels[1] << 8), kRed555);
    EXPECT_EQ(pictureDescription(eightBits).pixels, nullptr);
    EXPECT_EQ(pictureDescription(tooShort).pixels, nullptr);
    EXPECT_EQ(pictureDescription(nullptr).pixels, nullptr);
    StringValue notAPicture = StringValue::fromCString("SaveAll");
    ObjectHandle item = RuntimeMenuReference(notAPicture.get());
    EXPECT_EQ(pictureDescription(item).pixels, nullptr);  // an object of another class
    HDC screen = GetDC(nullptr);
    EXPECT_FALSE(drawPicture(screen, eightBits, 0, 0));
    ReleaseDC(nullptr, screen);
    for (ObjectHandle o : {red, eightBits, tooShort, item}) RuntimeUnlockObject(o);
}

TEST(Painting, TheRuntimePaletteIsAColourCube) {
    HPALETTE palette = runtimePalette();
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY entries[216];
    ASSERT_EQ(GetPaletteEntries(palette, 0, 216, entries), 216u);
    auto rgb = [](const PALETTEENTRY& e) { return RGB(e.peRed, e.peGreen, e.peBlue); };
    EXPECT_EQ(rgb(entries[0]), RGB(0, 0, 0));
    EXPECT_EQ(rgb(entries[1]), RGB(0, 0, 51));
    EXPECT_EQ(rgb(entries[6]), RGB(0, 51, 0));
    EXPECT_EQ(rgb(entries[36]), RGB(51, 0, 0));
    EXPECT_EQ(rgb(entries[215]), RGB(255, 255, 255));
    OpenWindow w(windowLayout(ix.testWindow));
    ASSERT_NE(w.object, nullptr);
    EXPECT_EQ(SendMessageW(w.handle(), WM_QUERYNEWPALETTE, 0, 0), 1);
}

}  // namespace
