// SPDX-License-Identifier: MIT
#include "desktop/toolkit.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QProxyStyle>
#include <QStyleFactory>

#include <cmath>

namespace orvanel {

namespace {

// The design's face names, and the faces that stand in for them.
constexpr char16_t kGothicFace[] = u"ＭＳ Ｐゴシック";
constexpr char16_t kMinchoFace[] = u"ＭＳ Ｐ明朝";

// Fusion with the compact check marks and caption spacing of the classic
// desktop the layout was designed on, so short captions fit their boxes.
class DesignStyle : public QProxyStyle {
public:
    DesignStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return 13;
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return 4;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

} // namespace

int pointsToPixels(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont designFont(const FontSpec& spec) {
    QFont font = QApplication::font();
    if (spec.face != Face::Default) {
        font = QFont(QString::fromUtf16(spec.face == Face::Gothic ? kGothicFace : kMinchoFace));
        font.setPixelSize(pointsToPixels(spec.points));
    }
    font.setBold(spec.bold);
    return font;
}

void setUpToolkit(QApplication& app) {
    QFont::insertSubstitution(QString::fromUtf16(kGothicFace), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QString::fromUtf16(kMinchoFace), QStringLiteral("IPAPMincho"));
    // Fusion looks the same on every desktop, so the design boxes fit everywhere.
    app.setStyle(new DesignStyle);
    // The design gives the window its own light colours, so the text on it
    // stays dark whatever the desktop's colour theme.
    app.setPalette(app.style()->standardPalette());
    // The check boxes, option buttons and the pen-row captions use the default
    // font: a 9-point proportional Gothic keeps every caption inside its box.
    QFont font(QString::fromUtf16(kGothicFace));
    font.setPixelSize(pointsToPixels(9));
    app.setFont(font);
}

Size QtTextMeasurer::textSize(const FontSpec& font, std::string_view text) const {
    const QFontMetricsF metrics(designFont(font));
    const QString caption = QString::fromUtf8(text.data(), qsizetype(text.size()));
    return {int(std::ceil(metrics.horizontalAdvance(caption))), int(std::ceil(metrics.height()))};
}

bool displayAvailable() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace orvanel
