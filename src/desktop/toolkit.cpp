// SPDX-License-Identifier: MIT
#include "desktop/toolkit.h"

#include "window/design.h"
#include "window/fit.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOption>

#include <cmath>
#include <string_view>

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

    // The borders of check boxes, option buttons and push buttons, and the
    // focus ring, drawn dark enough to be seen on the window's light green
    // (at least 3 : 1), the ring two pixels wide.
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        const QRectF r = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        painter->save();
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(kBorderColor, 1));
        switch (element) {
        case PE_IndicatorCheckBox:
            painter->drawRect(r);
            break;
        case PE_IndicatorRadioButton:
            painter->setRenderHint(QPainter::Antialiasing);
            painter->drawEllipse(r);
            break;
        case PE_PanelButtonCommand:
            painter->setRenderHint(QPainter::Antialiasing);
            painter->drawRoundedRect(r, 2, 2);
            if (option->state & State_HasFocus) {
                painter->setPen(QPen(kFocusColor, 2));
                painter->drawRoundedRect(QRectF(option->rect).adjusted(2, 2, -2, -2), 1, 1);
            }
            break;
        case PE_FrameFocusRect:
            painter->setPen(QPen(kFocusColor, 2));
            painter->drawRect(QRectF(option->rect).adjusted(0, 0, 0, 0));
            break;
        default:
            break;
        }
        painter->restore();
    }
};

} // namespace

QFont designFont(const FontSpec& design) {
    QFont font = QApplication::font();
    if (design.face != Face::Default) {
        font = QFont(QString::fromUtf16(design.face == Face::Gothic ? kGothicFace : kMinchoFace));
        font.setPixelSize(fontPixels(design));
    }
    font.setBold(design.bold);
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
    // font, a proportional Gothic.
    QFont font(QString::fromUtf16(kGothicFace));
    font.setPixelSize(fontPixels(FontSpec{}));
    app.setFont(font);
    // The window's language, whatever the desktop's: assistive technology
    // asks the application for it (AT-SPI's locale of the application).
    QLocale::setDefault(QLocale(QString::fromUtf8(kLanguage.data(), qsizetype(kLanguage.size()))));
}

Size QtTextMeasurer::textSize(const FontSpec& font, std::string_view text) const {
    const QFontMetricsF metrics(designFont(font));
    const QString caption = QString::fromUtf8(text.data(), qsizetype(text.size()));
    return {int(std::ceil(metrics.horizontalAdvance(caption))), int(std::ceil(metrics.height()))};
}

namespace {

bool waylandDisplayAvailable() {
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_SOCKET")) {
        return true;
    }
    // Without WAYLAND_DISPLAY a Wayland client connects to wayland-0 in the
    // runtime directory.
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtimeDir.isEmpty() && QFileInfo::exists(runtimeDir + QStringLiteral("/wayland-0"));
}

} // namespace

bool windowSystemAvailable(int argc, const char* const* argv) {
    QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    bool xDisplay = !qEnvironmentVariableIsEmpty("DISPLAY");
    // The toolkit's options as it reads them: one dash or two, each followed
    // by its value; -platform wins over QT_QPA_PLATFORM.
    for (int i = 1; i + 1 < argc; ++i) {
        std::string_view option = argv[i];
        if (option.starts_with("--")) {
            option.remove_prefix(1);
        }
        if (option == "-platform") {
            platform = QString::fromLocal8Bit(argv[++i]);
        } else if (option == "-display") {
            xDisplay = true;
            ++i;
        }
    }
    const bool wayland = waylandDisplayAvailable();
    if (platform.isEmpty()) {
        return xDisplay || wayland;
    }
    // A choice such as "wayland;xcb" is tried in order; a plugin's own
    // settings follow its name after a colon ("offscreen:fontengine=freetype").
    for (const QString& choice : platform.split(u';', Qt::SkipEmptyParts)) {
        const QString name = choice.section(u':', 0, 0);
        if (name == u"xcb" ? xDisplay : name.startsWith(u"wayland") ? wayland : true) {
            return true;
        }
    }
    return false;
}

double fitFactor(const QScreen& screen) {
    // Room for the window's frame: its title bar and borders, which the
    // window manager draws and the program cannot measure before it shows.
    constexpr QSize kFrame{16, 48};
    const QSize room = screen.availableGeometry().size() - kFrame;
    return orvanel::fitFactor(room.width(), room.height(), kWindowSize);
}

void nameProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("orvanel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANEL_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ORVANEL_APP_ID));
}

QIcon programIcon() {
    const QString name = QStringLiteral(ORVANEL_APP_ID);
    // The installed sizes, one directory each ("48x48/apps/NAME.png").
    QIcon installed;
    const QDir hicolor(QCoreApplication::applicationDirPath() + u'/' +
                       QStringLiteral(ORVANEL_ICON_DIR));
    for (const QString& size : hicolor.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString file =
            hicolor.filePath(size + QStringLiteral("/apps/") + name + QStringLiteral(".png"));
        if (QFileInfo::exists(file)) {
            installed.addFile(file);
        }
    }
    return QIcon::fromTheme(name, installed);
}

} // namespace orvanel
