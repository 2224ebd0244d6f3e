#include "app/design.h"

#include "platform/palette.h"

namespace orvanel {

namespace {

using K = ControlKind;

constexpr ControlDesign kControls[] = {
    {"Label1", -1, K::Label, u"くさび形の角", 8, 8, 177, 33, 0},
    {"Command5", -1, K::Button, u"直線", 232, 8, 57, 33, 19},
    {"Option2", 0, K::OptionButton, u"赤", 296, 8, 33, 17, 25},
    {"Option2", 1, K::OptionButton, u"黄", 336, 8, 33, 17, 26},
    {"Option2", 2, K::OptionButton, u"青", 376, 8, 33, 17, 27},
    {"Option2", 3, K::OptionButton, u"白", 416, 8, 33, 17, 28},
    {"Check1", 0, K::CheckBox, u"1", 296, 24, 25, 17, 20},
    {"Check1", 1, K::CheckBox, u"2", 328, 24, 25, 17, 21},
    {"Check1", 2, K::CheckBox, u"3", 360, 24, 25, 17, 22},
    {"Check1", 3, K::CheckBox, u"4", 392, 24, 25, 17, 23},
    {"Check1", 4, K::CheckBox, u"5", 424, 24, 25, 17, 24},
    {"Command3", -1, K::Button, u"メモ", 464, 8, 57, 33, 7},
    {"Label4", 0, K::Label, u"太字", 528, 10, 24, 12, 12},
    {"Label4", 1, K::Label, u"細字", 528, 27, 24, 12, 13},
    {"Option1", 4, K::OptionButton, u"赤", 560, 8, 57, 17, 14},
    {"Option1", 5, K::OptionButton, u"黄", 600, 8, 57, 17, 15},
    {"Option1", 6, K::OptionButton, u"青", 640, 8, 57, 17, 16},
    {"Option1", 7, K::OptionButton, u"消しゴム", 680, 8, 81, 17, 17},
    {"Option1", 0, K::OptionButton, u"赤", 560, 24, 57, 17, 8},
    {"Option1", 1, K::OptionButton, u"黄", 600, 24, 57, 17, 9},
    {"Option1", 2, K::OptionButton, u"青", 640, 24, 57, 17, 10},
    {"Option1", 3, K::OptionButton, u"消しゴム", 680, 24, 81, 17, 11},
    {"Command1", -1, K::Button, u"初期画面", 824, 8, 81, 33, 2},
    {"Command4", -1, K::Button, u"方眼", 840, 64, 65, 33, 18},
    {"Label3", 0, K::Label, u"∠Ａ =", 824, 152, 68, 27, 30},
    {"Label5", 0, K::Label, u"33", 856, 184, 38, 37, 34},
    {"Label6", 0, K::Label, u"°", 896, 184, 9, 17, 40},
    {"Label3", 1, K::Label, u"∠Ｂ =", 824, 232, 70, 27, 31},
    {"Label5", 1, K::Label, u"33", 856, 264, 38, 37, 35},
    {"Label6", 1, K::Label, u"°", 896, 264, 17, 17, 41},
    {"Label3", 2, K::Label, u"∠Ｃ =", 824, 312, 69, 27, 32},
    {"Label5", 2, K::Label, u"33", 856, 344, 38, 37, 36},
    {"Label6", 2, K::Label, u"°", 896, 344, 9, 17, 42},
    {"Label3", 3, K::Label, u"∠Ｄ =", 824, 392, 69, 27, 33},
    {"Label5", 3, K::Label, u"33", 856, 424, 38, 37, 37},
    {"Label6", 3, K::Label, u"°", 896, 424, 9, 17, 43},
    {"Check2", -1, K::CheckBox, u"angle", 840, 488, 65, 25, 38},
    {"Check3", -1, K::CheckBox, u"nonClear", 840, 528, 73, 25, 39},
    {"Command2", -1, K::Button, u"終了", 824, 640, 81, 33, 3},
};

LineObject designLine(double x1, double y1, double x2, double y2, QRgb color, int width) {
    LineObject line;
    line.p1 = QPointF(x1, y1);
    line.p2 = QPointF(x2, y2);
    line.color = color;
    line.width = width;
    return line;
}

} // namespace

std::span<const ControlDesign> windowControls() {
    return kControls;
}

BoardLayer designBoardLayer() {
    BoardLayer layer;
    const QRgb windowText = qRgb(0, 0, 0);
    for (int i = 0; i < 4; ++i) {
        const double x = 592 + 16 * i;
        layer.line1[i] = designLine(x, 352, x, 424, paletteColor(kPaletteWhite), 4);
    }
    for (int i = 0; i < 5; ++i) {
        const double x = 592 + 16 * i;
        layer.line4[i] = designLine(x, 480, x, 552, paletteColor(kPaletteRed), 4);
    }
    layer.line2 = {designLine(688, 352, 744, 352, windowText, 1)};
    layer.line3 = {designLine(712, 376, 712, 424, windowText, 1)};
    const char16_t* letters[4] = {u"Ａ", u"Ｂ", u"Ｃ", u"D"};
    for (int i = 0; i < 4; ++i) {
        layer.label2[i].topLeft = QPointF(616 + 48 * i, 208);
        layer.label2[i].caption = QString::fromUtf16(letters[i]);
    }
    layer.shape1.left = 400;
    layer.shape1.top = 376;
    layer.shape1.width = 49;
    layer.shape1.height = 41;
    layer.shape1.color = windowText;
    layer.damageAll();
    return layer;
}

} // namespace orvanel
