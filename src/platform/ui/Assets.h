#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

// The application's asset catalogue: named images and named colours kept in
// resources/assets beside the executable.
//
// Images are SVG (rendered crisply at the size asked for) or PNG (returned as
// stored). Colours are listed in resources/assets/colors.json, name -> "#RRGGBB"
// or "#RRGGBBAA". A name the catalogue does not hold gives a null result and one
// line on stderr (the first time it is asked for); it never throws.
// Images are pixmaps: ask for them on the GUI thread.
class Assets {
public:
    // The image called `name`. With an invalid `size` the image's own size is
    // used; otherwise the image is rendered (SVG) or scaled (PNG) to fit `size`,
    // keeping its aspect ratio unless `aspect` says otherwise (button backgrounds
    // such as "btn_ch_1_n" fill their button with Qt::IgnoreAspectRatio).
    // `devicePixelRatio` > 1 renders a sharper pixmap for high-density screens
    // (its devicePixelRatio is set accordingly).
    static QPixmap image(const QString& name, QSize size = QSize(), qreal devicePixelRatio = 1.0,
                         Qt::AspectRatioMode aspect = Qt::KeepAspectRatio);

    // The image called `name` as an icon; SVG icons stay crisp at any size.
    static QIcon icon(const QString& name);

    // The image's own size (SVG view box or PNG pixels); invalid when missing.
    static QSize imageSize(const QString& name);

    // Whether the catalogue holds an image called `name`.
    static bool hasImage(const QString& name);

    // The colour called `name`; an invalid QColor when the catalogue lacks it.
    static QColor color(const QString& name);

    // Whether the catalogue holds a colour called `name`.
    static bool hasColor(const QString& name);

    // Every image name and every colour name the catalogue holds, sorted.
    static QStringList imageNames();
    static QStringList colorNames();

    // The folder the catalogue is read from (resources/assets beside the executable).
    static QString directory();

    // Forgets everything loaded so far; the next lookup reads the folder again.
    static void reload();

    // Reads the catalogue from `path` instead of resources/assets (an empty path
    // restores the default); forgets everything loaded so far.
    static void setDirectory(const QString& path);
};

// Names of the catalogue's entries, used by the screens and views.
namespace AssetName {

// Transport and player buttons.
inline constexpr char kPlay[] = "btn_all_play";
inline constexpr char kPause[] = "btn_all_pause";
inline constexpr char kVolume[] = "btn_all_vol";
inline constexpr char kVolumeMute[] = "btn_all_vol_mute";
inline constexpr char kRepeatOne[] = "btn_all_repeat_one";
inline constexpr char kRepeatAll[] = "btn_all_repeat_all";
inline constexpr char kStop[] = "btn_all_stop";
inline constexpr char kPrev[] = "btn_all_prev";
inline constexpr char kNext[] = "btn_all_next";
inline constexpr char kRewind[] = "btn_all_rewind";
inline constexpr char kForward[] = "btn_all_forward";
inline constexpr char kOpen[] = "btn_all_open";
inline constexpr char kSetting[] = "btn_all_setting";
inline constexpr char kHelp[] = "btn_all_help";
inline constexpr char kCapture[] = "btn_all_capture";
inline constexpr char kBackup[] = "btn_all_backup";
inline constexpr char kFullScreen[] = "btn_all_fullscreen";

// The full-screen player's channel button, one picture per channel 1-4.
inline constexpr char kChannel1[] = "btn_all_1ch";
inline constexpr char kChannel2[] = "btn_all_2ch";
inline constexpr char kChannel3[] = "btn_all_3ch";
inline constexpr char kChannel4[] = "btn_all_4ch";

// The window player's channel buttons: "btn_ch_" + family (1-3) + "_" + state ("d", "s", "n").
inline constexpr char kChannelButtonPrefix[] = "btn_ch_";

// Slider knob, GPS state, speed meter ("speed_graph_0" to "speed_graph_49").
inline constexpr char kHandle[] = "img_handle";
inline constexpr char kGpsOn[] = "img_gps_on";
inline constexpr char kGpsOff[] = "img_gps_off";
inline constexpr char kSpeedGraphPrefix[] = "speed_graph_";
inline constexpr int kSpeedGraphCount = 50;

// The picture shown while nothing plays, the one shown instead of the map, and the logo.
inline constexpr char kDefaultVideo[] = "img_default_video";
inline constexpr char kMapDefault[] = "img_map_default";
inline constexpr char kLogo[] = "img_logo";

// Colours; each name carries its hex value, except "TransparentBlack_20" (black at 20 %).
inline constexpr char kGrayBG333333[] = "GrayBG_333333";
inline constexpr char kGrayBG3B3B3B[] = "GrayBG_3B3B3B";
inline constexpr char kDarkGrayBG1F1F1F[] = "DarkGrayBG_1F1F1F";
inline constexpr char kKeyColor[] = "KeyColor_ED6E00";
inline constexpr char kSliderBG[] = "SliderBG_616161";
inline constexpr char kDefaultBtn[] = "DefaultBtn_767676";
inline constexpr char kTransparentBlack20[] = "TransparentBlack_20";
inline constexpr char kChartSheet[] = "ChartSheetColor_4D4D4D";
inline constexpr char kGraphX[] = "GraphX_FF5A00";
inline constexpr char kGraphY[] = "GraphY_7EF00F";
inline constexpr char kGraphZ[] = "GraphZ_1EC7FF";
inline constexpr char kMenuTint[] = "3B3B3B";
inline constexpr char kShadow[] = "Shadow_5D5D5D";

// "btn_ch_<family>_<state>" for a channel button picture family 1-3 and state letter.
QString channelButtonImage(int family, char state);
// "speed_graph_<index>" for a meter step 0-49.
QString speedGraphImage(int index);

} // namespace AssetName
