#include "main_skin.h"

#include <algorithm>
#include <array>
#include <vector>

#include "keyboard/physical_layout.h"
#include "keyboard_layout.h"
#include "paint_kit.h"
#include "skin/skin_keys.h"
#include "skin/skin_pictures.h"
#include "skin_ini.h"

namespace skingen {
namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 700;
constexpr int kUnit = 44;
constexpr QRect kDeck(24, 112, 1152, 352);
constexpr QRect kPanel(24, 476, 1152, 152);
constexpr int kKeysLeft = 144;
constexpr int kKeysTop = 154;
constexpr int kGLeft = 66;
constexpr int kGWidth = 56;

enum class Picture { Normal, Over, Down, Disable };

// What a control is, which decides how it looks in each picture.
enum class Role { Key, GKey, TextButton, SelectText, Glyph, SelectGlyph, CloseGlyph, Link, Lock, Bank, FlipIndicator, Label };

struct Control {
    std::string key;
    QRect rect;
    Role role;
    QString legend = {};
    QString upper = {};
    Glyph glyph = Glyph::Help;
};

Look LookIn(Role role, Picture picture)
{
    switch (picture) {
    case Picture::Normal: return Look::Normal;
    case Picture::Over: return Look::Over;
    case Picture::Down: return Look::Down;
    case Picture::Disable: break;
    }
    switch (role) {
    case Role::Key:
    case Role::GKey: return Look::Marked;
    case Role::SelectText:
    case Role::SelectGlyph: return Look::Selected;
    case Role::Link: return Look::Down;
    default: return Look::Disabled;
    }
}

QRect KeyCell(const KeyCap& key)
{
    const int rowTop = key.row == 0 ? kKeysTop : kKeysTop + kUnit * 3 / 2 + (key.row - 1) * kUnit;
    const int left = kKeysLeft + static_cast<int>(key.column * kUnit + 0.5);
    const int right = kKeysLeft + static_cast<int>((key.column + key.width) * kUnit + 0.5);
    return QRect(left, rowTop, right - left, static_cast<int>(key.height * kUnit + 0.5));
}

std::vector<Control> MainControls()
{
    std::vector<Control> controls;
    auto add = [&](std::string key, QRect rect, Role role, QString legend = {}, Glyph glyph = Glyph::Help) {
        controls.push_back({std::move(key), rect, role, std::move(legend), {}, glyph});
    };
    // Title bar.
    add("ZAVRIK_VER", QRect(262, 20, 180, 18), Role::Label);
    add("CONTROL_HELP", QRect(1012, 12, 36, 30), Role::Glyph, {}, Glyph::Help);
    add("CONTROL_MENU", QRect(1052, 12, 36, 30), Role::Glyph, {}, Glyph::Menu);
    add("CONTROL_MINIMIZE", QRect(1092, 12, 36, 30), Role::Glyph, {}, Glyph::Minimize);
    add("CONTROL_CLOSE", QRect(1132, 12, 36, 30), Role::CloseGlyph, {}, Glyph::Close);
    // Profile bar.
    add("FUNC_PROFILE1", QRect(34, 66, 108, 36), Role::SelectText);
    add("FUNC_PROFILE2", QRect(146, 66, 108, 36), Role::SelectText);
    add("FUNC_PROFILE3", QRect(258, 66, 108, 36), Role::SelectText);
    add("FUNC_PROFILES", QRect(382, 66, 240, 36), Role::TextButton, {}, Glyph::Chevron);
    add("FUNC_MACRO", QRect(638, 66, 140, 36), Role::TextButton);
    add("FUNC_DEFAULT", QRect(1078, 66, 42, 36), Role::SelectGlyph, {}, Glyph::Restore);
    add("FUNC_SWITCH", QRect(1124, 66, 42, 36), Role::SelectGlyph, {}, Glyph::Switch);
    // Indicator strip of the deck.
    add("LOCK_AB", QRect(kGLeft, 122, kGWidth, 24), Role::Bank);
    add("FLIP_1", QRect(256, 122, 34, 24), Role::SelectGlyph, {}, Glyph::Flip);
    add("FLIP_0", QRect(292, 122, 76, 24), Role::FlipIndicator);
    add("FLIP_2", QRect(370, 122, 34, 24), Role::SelectGlyph, {}, Glyph::Flip);
    add("LOCK_NUM", QRect(962, 122, 56, 24), Role::Lock, QStringLiteral("NUM"));
    add("LOCK_CAPS", QRect(1020, 122, 56, 24), Role::Lock, QStringLiteral("CAPS"));
    add("LOCK_SCROLL", QRect(1078, 122, 56, 24), Role::Lock, QStringLiteral("SCRL"));
    // Keys, Fn and the G column.
    for (const KeyCap& key : skingen::KeyboardKeys()) {
        controls.push_back({key.slot < 0 ? std::string(kovantis::kFnSkinKey) : kovantis::SkinKeyOf(kovantis::KeyCodeOfSlot(key.slot)),
                            KeyCell(key), Role::Key, QString::fromUtf8(key.legend.data(), static_cast<int>(key.legend.size())),
                            QString::fromUtf8(key.upper.data(), static_cast<int>(key.upper.size()))});
    }
    // D1 to D6, which take over from F1 to F4 while the picture is flipped: a row of their own
    // above the keypad, so that they can be seen and clicked.
    const QRect numLock = KeyCell(KeyCap{0xC5, 18.5, 1, 1, 1, "Num"});
    const QRect keypadMinus = KeyCell(KeyCap{0x4A, 21.5, 1, 1, 1, "-"});
    const int extraWidth = (keypadMinus.right() - numLock.left() + 1 - 5 * 2) / 6;
    for (int d = 0; d < 6; ++d) {
        const QRect rect(numLock.left() + d * (extraWidth + 2), kKeysTop, extraWidth, numLock.height());
        add("KEY_D" + std::to_string(d + 1), rect, Role::Key, QStringLiteral("D%1").arg(d + 1));
    }
    const int gSpan = 5 * kUnit + kUnit * 3 / 2;
    for (int g = 0; g < kovantis::kGKeyCount; ++g) {
        const int top = kKeysTop + g * gSpan / kovantis::kGKeyCount;
        const int bottom = kKeysTop + (g + 1) * gSpan / kovantis::kGKeyCount;
        add(kovantis::GKeySkinKey(g), QRect(kGLeft, top, kGWidth, bottom - top), Role::GKey,
            QStringLiteral("G%1").arg(g + 1));
    }
    // Report rate.
    const std::array rates{"125 Hz", "250 Hz", "500 Hz", "1000 Hz"};
    for (int i = 0; i < 4; ++i) {
        add("FUNC_REPORT" + std::to_string(i + 1), QRect(880 + i * 72, 514, 70, 30), Role::SelectText, QString::fromLatin1(rates[i]));
    }
    // Bottom bar.
    add("ZAVRIK_LINK", QRect(30, 646, 128, 36), Role::Link, QStringLiteral("Website"), Glyph::Link);
    add("CONTROL2_APPLY", QRect(848, 646, 104, 36), Role::TextButton);
    add("CONTROL_OK", QRect(958, 646, 104, 36), Role::TextButton);
    add("CONTROL_CANCEL", QRect(1068, 646, 104, 36), Role::TextButton);
    return controls;
}

// Lighting panel: plain controls.
struct Plain {
    const char* key;
    QRect rect;
};
constexpr std::array kPanelControls = std::to_array<Plain>({
    {"CONTROL_DengStaPic", {44, 494, 40, 40}},     {"CONTROL_DengStatic", {92, 492, 190, 20}},
    {"CONTROL_XGcombox", {92, 516, 190, 28}},      {"CONTROL_LightStatic", {310, 492, 160, 20}},
    {"CONTROL_LightSlider", {310, 518, 160, 22}},  {"CONTROL_SpeedStatic", {494, 492, 160, 20}},
    {"CONTROL_SpeedSlider", {494, 518, 160, 22}},  {"CONTROL_BLFXStatic", {680, 492, 120, 20}},
    {"CONTROL_BLFXLStaPic", {680, 514, 40, 30}},   {"CONTROL_BLFXRStaPic", {726, 514, 40, 30}},
    {"CONTROL_HXysStatic", {310, 562, 90, 20}},    {"CONTROL_HXysButton", {310, 584, 56, 30}},
    {"CONTROL_HXsjsStatic", {400, 562, 110, 20}},  {"CONTROL_HXsjsStaPic", {400, 584, 30, 30}},
    {"CONTROL_FYYSStatic", {310, 562, 90, 20}},    {"CONTROL_FYYSButton", {310, 584, 56, 30}},
    {"CONTROL_FYSJSStatic", {400, 562, 110, 20}},  {"CONTROL_FYSJSStaPic", {400, 584, 30, 30}},
    {"CONTROL_FYCFStatic", {530, 562, 120, 20}},   {"CONTROL_FYdjcfStaPic", {530, 584, 30, 30}},
    {"CONTROL_FYdjcfStatic", {564, 590, 90, 20}},  {"CONTROL_FYggcfStaPic", {660, 584, 30, 30}},
    {"CONTROL_FYggcfStatc", {694, 590, 90, 20}},   {"CONTROL_HONGPIC", {310, 584, 30, 30}},
    {"CONTROL_HUANGPIC", {346, 584, 30, 30}},      {"CONTROL_LVPIC", {382, 584, 30, 30}},
    {"CONTROL_LANPIC", {418, 584, 30, 30}},        {"CONTROL_JTysStatic", {530, 562, 90, 20}},
    {"CONTROL_JTysButton", {530, 584, 56, 30}},    {"CONTROL_TSysStatic", {310, 562, 90, 20}},
    {"CONTROL_TSysButton", {310, 584, 56, 30}},    {"CONTROL_TSsjsStatic", {400, 562, 110, 20}},
    {"CONTROL_TSsjsStaPic", {400, 584, 30, 30}},   {"CONTROL_CDysStatic", {530, 562, 90, 20}},
    {"CONTROL_CDysButton", {530, 584, 56, 30}},    {"CONTROL_CDsjsStatic", {620, 562, 110, 20}},
    {"CONTROL_CDsjsStaPic", {620, 584, 30, 30}},   {"CONTROL_USERysStatic", {310, 562, 80, 20}},
    {"CONTROL_USERysButton", {310, 584, 56, 30}},  {"CONTROL_USERjsStatic", {390, 562, 90, 20}},
    {"CONTROL_USERjsButton", {390, 584, 56, 30}},  {"CONTROL_USERgjStatic", {480, 562, 80, 20}},
    {"CONTROL_USERgjStaPic1", {480, 584, 36, 30}}, {"CONTROL_USERgjStaPic2", {520, 584, 36, 30}},
    {"CONTROL_umCombo", {580, 584, 200, 28}},      {"CONTROL_UsbStatic", {880, 492, 280, 20}},
    {"CONTROL_JDTStatic", {700, 658, 120, 12}},
});

void DrawControl(QPainter& painter, const Control& control, Picture picture)
{
    const Look look = LookIn(control.role, picture);
    const QRectF area(control.rect);
    switch (control.role) {
    case Role::Key: DrawKeycap(painter, area, look, control.legend, control.upper); break;
    case Role::GKey:
        DrawKeycap(painter, area, look, {}, {});
        DrawCaption(painter, area.adjusted(9, 0, 0, -2), control.legend,
                    look == Look::Marked ? Accent() : DimTextColor(), 9, Qt::AlignLeft | Qt::AlignVCenter);
        break;
    case Role::TextButton:
    case Role::SelectText:
        DrawButtonFace(painter, area, look);
        if (!control.legend.isEmpty()) {
            DrawCaption(painter, area.translated(0, look == Look::Down ? 1 : 0), control.legend,
                        look == Look::Selected ? QColor(Qt::white) : GlyphColor(look), 12);
        }
        if (control.key == "FUNC_PROFILES") {
            DrawGlyph(painter, QRectF(area.right() - 26, area.center().y() - 6, 12, 12), Glyph::Chevron, GlyphColor(look));
        }
        break;
    case Role::Glyph:
    case Role::SelectGlyph: DrawGlyphButton(painter, area, look, control.glyph); break;
    case Role::CloseGlyph:
        DrawGlyphButton(painter, area, look, control.glyph);
        if (look == Look::Over || look == Look::Down) {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(look == Look::Over ? QColor(0xE8, 0x3B, 0x3B) : QColor(0xB0, 0x24, 0x24));
            painter.drawRoundedRect(area.adjusted(2, 2, -2, -2), 7, 7);
            painter.restore();
            QRectF box(0, 0, 14, 14);
            box.moveCenter(area.center());
            DrawGlyph(painter, box, Glyph::Close, Qt::white);
        }
        break;
    case Role::Link: {
        DrawButtonFace(painter, area, look);
        DrawGlyph(painter, QRectF(area.left() + 14, area.center().y() - 7, 14, 14), Glyph::Link, GlyphColor(look));
        DrawCaption(painter, area.adjusted(36, 0, -8, 0), control.legend, GlyphColor(look), 12, Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    case Role::Lock: {
        const bool lit = picture == Picture::Over;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF led(area.left() + 9, area.center().y());
        if (lit) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0x27, 0xC4, 0xFF, 70));
            painter.drawEllipse(led, 6.5, 6.5);
        }
        painter.setPen(QPen(QColor(0, 0, 0, 160), 1));
        painter.setBrush(lit ? Accent() : QColor(0x2E, 0x33, 0x3A));
        painter.drawEllipse(led, 3.6, 3.6);
        painter.restore();
        DrawCaption(painter, area.adjusted(18, 0, 0, 0), control.legend, lit ? TextColor() : DimTextColor(), 10,
                    Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    case Role::Bank: {
        DrawWell(painter, area.adjusted(1, 1, -1, -1));
        const bool bankB = picture == Picture::Over;
        const QRectF a(area.left() + 3, area.top() + 3, area.width() / 2 - 3, area.height() - 6);
        const QRectF b(area.center().x(), area.top() + 3, area.width() / 2 - 3, area.height() - 6);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(AccentDeep());
        painter.drawRoundedRect(bankB ? b : a, 4, 4);
        painter.restore();
        DrawCaption(painter, a, QStringLiteral("A"), bankB ? DimTextColor() : QColor(Qt::white), 11);
        DrawCaption(painter, b, QStringLiteral("B"), bankB ? QColor(Qt::white) : DimTextColor(), 11);
        break;
    }
    case Role::FlipIndicator:
        DrawCaption(painter, area, QStringLiteral("F \u21C4 D"), picture == Picture::Disable ? Accent() : DimTextColor(), 11);
        break;
    case Role::Label: break;
    }
}

void DrawBackground(QPainter& painter)
{
    DrawBrushedPanel(painter, QRect(0, 0, kWidth, kHeight), QColor(0x22, 0x25, 0x2B), 0x4B0A7u);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Accent hairline under the title bar.
    QLinearGradient line(0, 0, kWidth, 0);
    line.setColorAt(0, QColor(0x27, 0xC4, 0xFF, 0));
    line.setColorAt(0.25, QColor(0x27, 0xC4, 0xFF, 150));
    line.setColorAt(0.75, QColor(0x27, 0xC4, 0xFF, 150));
    line.setColorAt(1, QColor(0x27, 0xC4, 0xFF, 0));
    painter.fillRect(QRectF(0, 54, kWidth, 1), line);
    painter.restore();
    DrawBrand(painter, QPointF(28, 14), 28);

    DrawPlate(painter, QRectF(24, 62, 1152, 44), 10, QColor(0x1D, 0x20, 0x25), QColor(0x1A, 0x1C, 0x21));
    DrawPlate(painter, QRectF(kDeck), 14, QColor(0x17, 0x19, 0x1D), QColor(0x12, 0x14, 0x17));
    // The flip group's well above F1 to F4.
    DrawWell(painter, QRectF(226, 120, 204, 28));
    DrawPlate(painter, QRectF(kPanel), 12, QColor(0x1D, 0x20, 0x25), QColor(0x18, 0x1A, 0x1F));
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 14), 1));
    for (int x : {296, 480, 664, 862}) {
        painter.drawLine(x, kPanel.top() + 14, x, kPanel.bottom() - 14);
    }
    painter.drawLine(300, 552, 850, 552);
    painter.restore();
    // The well under the progress picture (the sliders' faces carry their own).
    DrawWell(painter, QRectF(698, 656, 124, 16));
}

QImage DrawMainPicture(const std::vector<Control>& controls, Picture picture)
{
    QImage image = NewPicture(kWidth, kHeight);
    QPainter painter(&image);
    DrawBackground(painter);
    for (const Control& control : controls) {
        DrawControl(painter, control, picture);
    }
    return image;
}

// Arrow.jpg: eight 20 x 20 tiles, the hint arrows in both directions, for both sides, bright
// (variant 1) and dim (variant 2).
constexpr QSize kArrowTile(20, 20);

QPoint ArrowTile(bool up, bool left, int variant)
{
    const int index = (variant - 1) * 4 + (up ? 2 : 0) + (left ? 0 : 1);
    return QPoint(index * kArrowTile.width(), 0);
}

QImage DrawArrows()
{
    QImage image(8 * kArrowTile.width(), kArrowTile.height(), QImage::Format_RGB32);
    image.fill(QColor(0x15, 0x17, 0x1B));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int variant = 1; variant <= 2; ++variant) {
        for (bool up : {false, true}) {
            for (bool left : {true, false}) {
                const QRectF tile(QRect(ArrowTile(up, left, variant), kArrowTile));
                const QPointF c = tile.center();
                painter.setPen(QPen(variant == 1 ? Accent() : DimTextColor(), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                const double dy = up ? -3 : 3;
                painter.drawPolyline(QPolygonF({c + QPointF(-5, -dy), c + QPointF(0, dy), c + QPointF(5, -dy)}));
            }
        }
    }
    return image;
}

void WriteTexts(SkinIni& ini)
{
    struct EffectName {
        const char* english;
        const char* chinese;
    };
    const std::array<EffectName, 20> effects{{
        {"Rainbow Wave", "彩虹波浪"}, {"Colour Flow", "流光溢彩"}, {"Snake", "灵蛇"}, {"Spectrum Cycle", "光谱循环"},
        {"Breathing", "呼吸"}, {"Static", "常亮"}, {"Key Trigger", "按键触发"}, {"Afterglow", "余晖"},
        {"Crossfire", "十字光"}, {"Starlight", "星光"}, {"Neon", "霓虹"}, {"Tide", "潮汐"},
        {"Ripple", "涟漪"}, {"Fireworks", "烟花"}, {"Row Ripple", "横向涟漪"}, {"Stone Drop", "七彩投石"},
        {"Four Colours", "四色"}, {"Radiance", "聚散"}, {"Game Mode", "游戏模式"}, {"Custom Keys", "自定义按键"},
    }};
    for (size_t id = 1; id <= effects.size(); ++id) {
        ini.Set("Mode", std::to_string(id), effects[id - 1].english);
        ini.Set("Mode1", std::to_string(id), effects[id - 1].chinese);
    }
    struct Label {
        const char* key;
        const char* chinese;
        const char* english;
    };
    const std::array<Label, 9> labels{{
        {"Usb", "报告率", "Report rate"}, {"Deng", "灯光", "Lighting"}, {"Light", "亮度", "Brightness"},
        {"FX", "方向", "Direction"}, {"Speed", "速度", "Speed"}, {"Color", "颜色", "Colour"},
        {"JColor", "基色", "Base colour"}, {"DC", "多彩", "Multicolour"}, {"Tool", "工具", "Tool"},
    }};
    for (const Label& label : labels) {
        ini.Set("Control_Name", label.key, label.chinese);
    }
    for (const Label& label : labels) {
        ini.Set("Control_Name1", label.key, label.english);
    }
}

} // namespace

bool WriteMainSkin(const std::string& folder)
{
    const std::vector<Control> controls = MainControls();
    const std::array<std::pair<std::string_view, Picture>, 4> pictures{{
        {kovantis::kMainNormalPicture, Picture::Normal},
        {kovantis::kMainOverPicture, Picture::Over},
        {kovantis::kMainDownPicture, Picture::Down},
        {kovantis::kMainDisablePicture, Picture::Disable},
    }};
    bool ok = true;
    for (const auto& [name, picture] : pictures) {
        ok = SavePicture(DrawMainPicture(controls, picture), folder + std::string(name)) && ok;
    }
    ok = SavePicture(RoundedMask(kWidth, kHeight, 16), folder + "main_mask.bmp") && ok;
    ok = SavePicture(DrawArrows(), folder + std::string(kovantis::kArrowPicture)) && ok;

    SkinIni ini;
    ini.Set("SCREEN", "Main", std::string(kovantis::kMainNormalPicture));
    ini.Set("SCREEN", "Mask", "main_mask.bmp");
    // No Link: the link button opens the help page shipped with the program.
    for (const Control& control : controls) {
        ini.Image(control.key, control.rect);
    }
    for (const Plain& plain : kPanelControls) {
        ini.Plain(plain.key, plain.rect);
    }
    // The direction controls keep their place for every effect; the variants exist so a skin
    // can move them.
    for (const char* suffix : {"2", "3"}) {
        for (std::string_view moved : kovantis::MainMovedKeys()) {
            const auto* base = std::find_if(kPanelControls.begin(), kPanelControls.end(),
                                            [&](const Plain& p) { return moved == p.key; });
            ini.Plain(std::string(moved) + suffix, base->rect);
        }
    }
    // Hint arrows beside the flip buttons; their pictures come from Arrow.jpg.
    ini.Plain(std::string(kovantis::kLeftArrowKey), QRect(232, 124, kArrowTile.width(), kArrowTile.height()));
    ini.Plain(std::string(kovantis::kRightArrowKey), QRect(406, 124, kArrowTile.width(), kArrowTile.height()));
    for (int variant = 1; variant <= 2; ++variant) {
        for (bool up : {true, false}) {
            for (bool left : {true, false}) {
                ini.Origin(kovantis::ArrowOriginKey(up, left, variant), ArrowTile(up, left, variant), kArrowTile);
            }
        }
    }
    WriteTexts(ini);
    return ini.Save(folder + std::string(kovantis::kMainSkinFile)) && ok;
}

} // namespace skingen
