#include "dialog_skins.h"

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "paint_kit.h"
#include "skin/skin_keys.h"
#include "skin/skin_pictures.h"
#include "skin_ini.h"

namespace skingen {
namespace {

enum class Kind { TextButton, GlyphButton, TitleIcon, PagePanel, PageBar };

struct Item {
    std::string key;
    QRect rect;
    Kind kind;
    Glyph glyph = Glyph::Help;
};

struct PlainItem {
    std::string key;
    QRect rect;
    bool well;  // drawn as a sunken field behind the control
};

// A picture of a dialog in one state; `page` picks the page art of the key assignment dialog.
struct Scene {
    Look look;
    int page = 0;
};

void DrawFrame(QPainter& painter, const QSize& size, Glyph titleGlyph, uint32_t seed)
{
    DrawBrushedPanel(painter, QRect(QPoint(0, 0), size), QColor(0x22, 0x25, 0x2B), seed);
    DrawBrand(painter, QPointF(18, 14), 24);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x27, 0xC4, 0xFF, 120), 1));
    painter.drawLine(QPointF(0, 48.5), QPointF(size.width(), 48.5));
    painter.restore();
    DrawGlyph(painter, QRectF(size.width() - 38, 16, 18, 18), titleGlyph, DimTextColor());
}

void DrawItem(QPainter& painter, const Item& item, const Scene& scene)
{
    const QRectF area(item.rect);
    switch (item.kind) {
    case Kind::TextButton: DrawButtonFace(painter, area, scene.look); break;
    case Kind::GlyphButton: DrawGlyphButton(painter, area, scene.look, item.glyph); break;
    case Kind::TitleIcon: DrawGlyph(painter, area.adjusted(4, 3, -4, -3), item.glyph, Accent()); break;
    case Kind::PagePanel:
        DrawPlate(painter, area, 10, QColor(0x1B, 0x1E, 0x23), QColor(0x16, 0x18, 0x1C));
        DrawGlyph(painter, QRectF(area.right() - 92, area.bottom() - 92, 76, 76), item.glyph, QColor(255, 255, 255, 14));
        break;
    case Kind::PageBar: {
        // The bar leaves the rectangle's first row free (see CONTROL_SING).
        const QRectF bar = area.adjusted(0, 1, 0, 0);
        painter.fillRect(bar, QColor(0x16, 0x18, 0x1C));
        const double tabWidth = bar.width() / 4;
        painter.fillRect(QRectF(bar.left() + scene.page * tabWidth + 10, bar.top(), tabWidth - 20, bar.height()), Accent());
        break;
    }
    }
}

QImage DrawDialog(const QSize& size, Glyph titleGlyph, const std::vector<Item>& items, const std::vector<PlainItem>& plains,
                  const Scene& scene)
{
    QImage image = NewPicture(size.width(), size.height());
    QPainter painter(&image);
    DrawFrame(painter, size, titleGlyph, 0x9E37u);
    for (const Item& item : items) {
        DrawItem(painter, item, scene);
    }
    for (const PlainItem& plain : plains) {
        if (plain.well) {
            DrawWell(painter, QRectF(plain.rect).adjusted(-2, -2, 2, 2));
        }
    }
    return image;
}

void WriteRects(SkinIni& ini, const std::vector<Item>& items, const std::vector<PlainItem>& plains)
{
    for (const Item& item : items) {
        ini.Image(item.key, item.rect);
    }
    for (const PlainItem& plain : plains) {
        ini.Plain(plain.key, plain.rect);
    }
}

// Saves one picture per distinct file of a state set, drawing each in its slot's look.
bool SaveSet(const std::string& folder, const kovantis::StateSet& set, const std::array<Look, 5>& looks,
             const std::function<QImage(Look)>& draw)
{
    bool ok = true;
    std::vector<std::string_view> written;
    for (size_t slot = 0; slot < set.size(); ++slot) {
        if (std::find(written.begin(), written.end(), set[slot]) != written.end()) {
            continue;
        }
        written.push_back(set[slot]);
        ok = SavePicture(draw(looks[slot]), folder + std::string(set[slot])) && ok;
    }
    return ok;
}

constexpr std::array kSlotLooks{Look::Normal, Look::Over, Look::Down, Look::Disabled, Look::Normal};

// Key assignment dialog.
constexpr QSize kCompositeSize(480, 468);

std::vector<Item> CompositeItems(int page, bool macroOnly)
{
    const std::array pageGlyphs{Glyph::Keyboard, Glyph::Layers, Glyph::Switch, Glyph::Chip};
    return {
        {"CONTROL_TITLE", QRect(176, 12, 30, 28), Kind::TitleIcon, macroOnly ? Glyph::Layers : Glyph::Keyboard},
        {"CONTROL_OSK", QRect(386, 8, 38, 32), Kind::GlyphButton, Glyph::Keyboard},
        {"CONTROL_CLEAR", QRect(428, 8, 38, 32), Kind::GlyphButton, Glyph::Eraser},
        {"CONTROL_KEY", QRect(16, 60, 110, 34), Kind::TextButton},
        {"CONTROL_MACRO", QRect(130, 60, 110, 34), Kind::TextButton},
        {"CONTROL_MEDIA", QRect(244, 60, 110, 34), Kind::TextButton},
        {"CONTROL_FUNCTION", QRect(358, 60, 106, 34), Kind::TextButton},
        // One row taller than the bar: image controls sit one pixel right of and below their
        // picture rectangle, and the bar must hide the background's own.
        {"CONTROL_SING", QRect(16, 95, 448, 5), Kind::PageBar},
        {"CONTROL_MASK", QRect(16, 106, 448, 300), Kind::PagePanel, pageGlyphs[static_cast<size_t>(page)]},
        {"CONTROL2_APPLY", QRect(152, 420, 100, 36), Kind::TextButton},
        {"CONTROL_OK", QRect(258, 420, 100, 36), Kind::TextButton},
        {"CONTROL_CANCEL", QRect(364, 420, 100, 36), Kind::TextButton},
    };
}

std::vector<Item> MacroPageItems()
{
    std::vector<Item> items{
        {"FUNC_MACRO_ADD", QRect(350, 116, 54, 30), Kind::GlyphButton, Glyph::Plus},
        {"FUNC_MACRO_DELETE", QRect(408, 116, 48, 30), Kind::GlyphButton, Glyph::Minus},
    };
    const std::array keys{"FUNC_MACRO_RECORD", "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR", "FUNC_MACRO_UP_TOP",
                          "FUNC_MACRO_UP", "FUNC_MACRO_DOWN", "FUNC_MACRO_DOWN_BOTTOM"};
    for (size_t i = 0; i < keys.size(); ++i) {
        items.push_back({keys[i], QRect(344, 184 + static_cast<int>(i) * 31, 114, 29), Kind::TextButton});
    }
    return items;
}

std::vector<PlainItem> CompositePlains(int page)
{
    std::vector<PlainItem> prompts{
        {"KEY_SETTING", QRect(210, 13, 170, 22), false},
    };
    const std::vector<PlainItem> single{
        {"TISHI_SINGLE_STATIC", QRect(36, 126, 408, 20), false}, {"FUNC_KEY_INPUT", QRect(36, 154, 408, 46), true}};
    const std::vector<PlainItem> media{
        {"MEDIA_SETTING_TISHI", QRect(36, 126, 408, 20), false}, {"FUNC_MEDIA_SELECT", QRect(36, 154, 408, 32), false}};
    const std::vector<PlainItem> function{
        {"FUNCTION_KEY_SETTING_TISHI", QRect(36, 126, 408, 20), false}, {"FUNC_FUNCTION_SELECT", QRect(36, 154, 408, 32), false}};
    const std::vector<PlainItem> macro{
        {"MARCO_NAME_SETTING", QRect(30, 120, 90, 22), false},      {"FUNC_MACRO_LIST", QRect(122, 117, 222, 28), false},
        {"FUNC_MACRO_CYCLES_PROMPT", QRect(30, 154, 90, 22), false}, {"FUNC_MACRO_CYCLES", QRect(122, 152, 60, 26), true},
        {"FUNC_MACRO_RECORD_DELAY", QRect(200, 156, 18, 18), false}, {"FUNC_MACRO_RECORD_DELAY2", QRect(222, 154, 140, 22), false},
        {"FUNC_MACRO_LIST2", QRect(30, 186, 304, 210), true},
    };
    const std::array pages{&single, &macro, &media, &function};
    // Page -1 lists the controls of every page (for the skin file).
    if (page < 0) {
        for (const auto* list : pages) prompts.insert(prompts.end(), list->begin(), list->end());
    } else {
        prompts.insert(prompts.end(), pages[static_cast<size_t>(page)]->begin(), pages[static_cast<size_t>(page)]->end());
    }
    return prompts;
}

QImage DrawCompositePicture(int page, bool macroOnly, Look look)
{
    std::vector<Item> items = CompositeItems(page, macroOnly);
    if (page == 1) {
        const std::vector<Item> macro = MacroPageItems();
        items.insert(items.end(), macro.begin(), macro.end());
    }
    return DrawDialog(kCompositeSize, Glyph::Keyboard, items, CompositePlains(page), Scene{look, page});
}

} // namespace

bool WriteCompositeSkin(const std::string& folder)
{
    struct PageSet {
        const kovantis::StateSet* set;
        int page;
        bool macroOnly;
    };
    const std::array sets{PageSet{&kovantis::kCompositeKeySet, 0, false}, PageSet{&kovantis::kCompositeMacroSet, 1, false},
                          PageSet{&kovantis::kCompositeMacroOnlySet, 1, true}, PageSet{&kovantis::kCompositeMediaSet, 2, false},
                          PageSet{&kovantis::kCompositeFunctionSet, 3, false}};
    bool ok = true;
    for (const PageSet& s : sets) {
        ok = SaveSet(folder, *s.set, kSlotLooks, [&](Look look) { return DrawCompositePicture(s.page, s.macroOnly, look); }) && ok;
    }
    ok = SavePicture(RoundedMask(kCompositeSize.width(), kCompositeSize.height(), 14), folder + "composite_mask.bmp") && ok;

    SkinIni ini;
    ini.Set("SCREEN", "Main", std::string(kovantis::kCompositeKeySet[0]));
    ini.Set("SCREEN", "Mask", "composite_mask.bmp");
    std::vector<Item> items = CompositeItems(0, false);
    const std::vector<Item> macro = MacroPageItems();
    items.insert(items.end(), macro.begin(), macro.end());
    WriteRects(ini, items, CompositePlains(-1));
    return ini.Save(folder + std::string(kovantis::kCompositeSkinFile)) && ok;
}

bool WriteProfileSkin(const std::string& folder)
{
    const QSize size(560, 420);
    const std::vector<Item> items{
        {"FUNC_ADD", QRect(20, 364, 52, 36), Kind::GlyphButton, Glyph::Plus},
        {"FUNC_LOAD", QRect(76, 364, 52, 36), Kind::GlyphButton, Glyph::Folder},
        {"FUNC_DELETE", QRect(132, 364, 52, 36), Kind::GlyphButton, Glyph::Minus},
        {"CONTROL2_APPLY", QRect(224, 364, 102, 36), Kind::TextButton},
        {"CONTROL_OK", QRect(330, 364, 102, 36), Kind::TextButton},
        {"CONTROL_CANCEL", QRect(436, 364, 104, 36), Kind::TextButton},
    };
    const std::vector<PlainItem> plains{{"PROGRAM_LIST", QRect(22, 66, 516, 278), true}};
    const bool ok = SaveSet(folder, kovantis::kProfileSet, kSlotLooks,
                            [&](Look look) { return DrawDialog(size, Glyph::Layers, items, plains, Scene{look}); }) &&
                    SavePicture(RoundedMask(size.width(), size.height(), 14), folder + "profile_mask.bmp");
    SkinIni ini;
    ini.Set("SCREEN", "Main", std::string(kovantis::kProfileSet[0]));
    ini.Set("SCREEN", "Mask", "profile_mask.bmp");
    WriteRects(ini, items, plains);
    return ini.Save(folder + std::string(kovantis::kProfileSkinFile)) && ok;
}

bool WriteUpdateSkin(const std::string& folder)
{
    const QSize size(480, 260);
    const std::vector<Item> items{
        {"CONTROL_OPENButton", QRect(368, 70, 90, 36), Kind::GlyphButton, Glyph::Folder},
        {"CONTROL_BACKUPButton", QRect(22, 200, 132, 38), Kind::TextButton},
        {"CONTROL_UPButton", QRect(210, 200, 122, 38), Kind::TextButton},
        {"CONTROL_CUPButton", QRect(336, 200, 122, 38), Kind::TextButton},
    };
    const std::vector<PlainItem> plains{{"CONTROL_UPStatic", QRect(24, 74, 334, 28), true},
                                        {"CONTROL_UPCombox", QRect(24, 120, 200, 24), false}};
    const bool ok = SaveSet(folder, kovantis::kUpdateSet, kSlotLooks,
                            [&](Look look) { return DrawDialog(size, Glyph::Chip, items, plains, Scene{look}); }) &&
                    SavePicture(RoundedMask(size.width(), size.height(), 14), folder + "update_mask.bmp");
    SkinIni ini;
    ini.Set("SCREEN", "Main", std::string(kovantis::kUpdateSet[0]));
    ini.Set("SCREEN", "Mask", "update_mask.bmp");
    WriteRects(ini, items, plains);
    return ini.Save(folder + std::string(kovantis::kUpdateSkinFile)) && ok;
}

} // namespace skingen
