#include "platform/toolkit.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>

#include <cmath>

namespace orvanel {

int pointsToPixels(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont designFont(const char16_t* face, double points, bool bold) {
    QFont font(QString::fromUtf16(face));
    font.setPixelSize(pointsToPixels(points));
    font.setBold(bold);
    return font;
}

namespace {

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

void setUpToolkit(QApplication& app) {
    QFont::insertSubstitution(QString::fromUtf16(kGothicFace), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QString::fromUtf16(kMinchoFace), QStringLiteral("IPAPMincho"));
    // Fusion looks the same on every desktop, so the design boxes fit everywhere.
    app.setStyle(new DesignStyle);
    // The check boxes, option buttons and the pen-row captions use the default
    // font: a 9-point proportional Gothic keeps every caption inside its box.
    app.setFont(designFont(kGothicFace, 9));
}

bool displayAvailable() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace orvanel
