#include "platform/ui/Assets.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every image name the screens and views ask for.
std::vector<QString> namedImages() {
    std::vector<QString> names = {
        AssetName::kPlay,         AssetName::kPause,      AssetName::kVolume,   AssetName::kVolumeMute,
        AssetName::kRepeatOne,    AssetName::kRepeatAll,  AssetName::kStop,     AssetName::kPrev,
        AssetName::kNext,         AssetName::kRewind,     AssetName::kForward,  AssetName::kOpen,
        AssetName::kSetting,      AssetName::kHelp,       AssetName::kCapture,  AssetName::kBackup,
        AssetName::kFullScreen,   AssetName::kChannel1,   AssetName::kChannel2, AssetName::kChannel3,
        AssetName::kChannel4,     AssetName::kHandle,     AssetName::kGpsOn,    AssetName::kGpsOff,
        AssetName::kDefaultVideo, AssetName::kMapDefault, AssetName::kLogo,
    };
    for (int family = 1; family <= 3; ++family)
        for (char state : {'d', 's', 'n'})
            names.push_back(AssetName::channelButtonImage(family, state));
    for (int i = 0; i < AssetName::kSpeedGraphCount; ++i)
        names.push_back(AssetName::speedGraphImage(i));
    return names;
}

std::vector<QString> namedColors() {
    return {AssetName::kGrayBG333333,
            AssetName::kGrayBG3B3B3B,
            AssetName::kDarkGrayBG1F1F1F,
            AssetName::kKeyColor,
            AssetName::kSliderBG,
            AssetName::kDefaultBtn,
            AssetName::kTransparentBlack20,
            AssetName::kChartSheet,
            AssetName::kGraphX,
            AssetName::kGraphY,
            AssetName::kGraphZ,
            AssetName::kMenuTint,
            AssetName::kShadow};
}

int opaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    return count;
}

// Pixels close to the accent colour.
int accentPixels(const QImage& image) {
    const QColor key = Assets::color(AssetName::kKeyColor);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = QColor::fromRgba(image.pixel(x, y));
            if (c.alpha() > 200 && std::abs(c.red() - key.red()) < 24 &&
                std::abs(c.green() - key.green()) < 24 && std::abs(c.blue() - key.blue()) < 24)
                ++count;
        }
    return count;
}

class AssetsTest : public ::testing::Test {
protected:
    void SetUp() override { Assets::setDirectory({}); }
    void TearDown() override { Assets::setDirectory({}); }
};

TEST_F(AssetsTest, EveryNamedImageRendersVisibleAtItsOwnAndARequestedSize) {
    for (const QString& name : namedImages()) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(Assets::hasImage(name));
        const QPixmap natural = Assets::image(name);
        ASSERT_FALSE(natural.isNull());
        EXPECT_GE(natural.width(), 8);
        EXPECT_GE(natural.height(), 8);
        EXPECT_LE(natural.width(), 1024);
        EXPECT_LE(natural.height(), 1024);
        EXPECT_EQ(natural.size(), Assets::imageSize(name));

        const QPixmap small = Assets::image(name, QSize(32, 32));
        ASSERT_FALSE(small.isNull());
        EXPECT_LE(small.width(), 32);
        EXPECT_LE(small.height(), 32);
        EXPECT_TRUE(small.width() == 32 || small.height() == 32);
        // A picture the SVG renderer could not draw comes out fully transparent.
        EXPECT_GT(opaquePixels(natural.toImage()), 0);

        EXPECT_FALSE(Assets::icon(name).isNull());
        EXPECT_FALSE(Assets::icon(name).pixmap(16, 16).isNull());
    }
}

TEST_F(AssetsTest, HighDensityRenderingHasMorePixelsAndTheSameLogicalSize) {
    const QPixmap pixmap = Assets::image(AssetName::kPlay, QSize(24, 24), 2.0);
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.size(), QSize(48, 48));
    EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), 2.0);
    // Button backgrounds may be stretched to their button.
    EXPECT_EQ(Assets::image(AssetName::channelButtonImage(1, 'n'), QSize(90, 30), 1.0, Qt::IgnoreAspectRatio)
                  .size(),
              QSize(90, 30));
    EXPECT_EQ(Assets::image(AssetName::channelButtonImage(1, 'n'), QSize(90, 30)).size(), QSize(68, 30));
    // A nonsensical ratio falls back to 1.
    EXPECT_EQ(Assets::image(AssetName::kPlay, QSize(24, 24), 0.0).size(), QSize(24, 24));
}

TEST_F(AssetsTest, SpeedMeterFillsStepByStep) {
    int previous = -1;
    for (int i = 0; i < AssetName::kSpeedGraphCount; ++i) {
        SCOPED_TRACE(i);
        const int accent =
            accentPixels(Assets::image(AssetName::speedGraphImage(i), QSize(120, 120)).toImage());
        if (i == 0)
            EXPECT_EQ(accent, 0);
        else
            EXPECT_GT(accent, previous);
        previous = accent;
    }
    EXPECT_FALSE(Assets::hasImage(AssetName::speedGraphImage(AssetName::kSpeedGraphCount)));
}

TEST_F(AssetsTest, OnlyTheCurrentChannelButtonIsInTheAccentColour) {
    for (int family = 1; family <= 3; ++family) {
        SCOPED_TRACE(family);
        const QImage current = Assets::image(AssetName::channelButtonImage(family, 's')).toImage();
        EXPECT_GT(accentPixels(current), current.width() * current.height() / 2);
        EXPECT_EQ(accentPixels(Assets::image(AssetName::channelButtonImage(family, 'n')).toImage()), 0);
        EXPECT_EQ(accentPixels(Assets::image(AssetName::channelButtonImage(family, 'd')).toImage()), 0);
    }
    EXPECT_EQ(AssetName::channelButtonImage(2, 'n'), QStringLiteral("btn_ch_2_n"));
}

TEST_F(AssetsTest, ColoursCarryTheHexValueOfTheirNames) {
    static const QRegularExpression hexSuffix(QStringLiteral("(?:^|_)([0-9A-F]{6})$"));
    const QStringList all = Assets::colorNames();
    for (const QString& name : namedColors()) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(all.contains(name));
        ASSERT_TRUE(Assets::color(name).isValid());
    }
    int checked = 0;
    for (const QString& name : all) {
        SCOPED_TRACE(name.toStdString());
        const QRegularExpressionMatch match = hexSuffix.match(name);
        if (!match.hasMatch())
            continue;
        EXPECT_EQ(Assets::color(name), QColor(QLatin1Char('#') + match.captured(1)));
        ++checked;
    }
    EXPECT_EQ(checked, static_cast<int>(namedColors().size()) - 1);
    const QColor translucent = Assets::color(AssetName::kTransparentBlack20);
    EXPECT_EQ(translucent.rgb() & 0xFFFFFF, 0u);
    EXPECT_NEAR(translucent.alphaF(), 0.2, 0.01);
}

TEST_F(AssetsTest, MissingNamesGiveNullResultsAndOneLineOnStderr) {
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(Assets::image(QStringLiteral("no_such_image")).isNull());
    EXPECT_TRUE(Assets::image(QStringLiteral("no_such_image"), QSize(10, 10)).isNull());
    EXPECT_TRUE(Assets::icon(QStringLiteral("no_such_image")).isNull());
    EXPECT_FALSE(Assets::imageSize(QStringLiteral("no_such_image")).isValid());
    EXPECT_FALSE(Assets::color(QStringLiteral("NoSuchColor_123456")).isValid());
    EXPECT_FALSE(Assets::hasImage(QStringLiteral("no_such_image")));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
    EXPECT_NE(err.find("no_such_image"), std::string::npos);
    EXPECT_NE(err.find("NoSuchColor_123456"), std::string::npos);
}

TEST_F(AssetsTest, ReadsPngAsStoredAndSkipsBrokenEntries) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("images")));
    QImage png(30, 20, QImage::Format_ARGB32);
    png.fill(QColor(10, 20, 30));
    ASSERT_TRUE(png.save(dir.filePath(QStringLiteral("images/photo.png"))));
    QFile broken(dir.filePath(QStringLiteral("images/broken.svg")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<svg");
    broken.close();
    QFile colors(dir.filePath(QStringLiteral("colors.json")));
    ASSERT_TRUE(colors.open(QIODevice::WriteOnly));
    colors.write(R"({"colors": {"Half_102030": "#10203080", "Bad": "red", "Short": "#123"}})");
    colors.close();

    Assets::setDirectory(dir.path());
    ::testing::internal::CaptureStderr();
    const QPixmap photo = Assets::image(QStringLiteral("photo"));
    EXPECT_EQ(photo.size(), QSize(30, 20));
    EXPECT_EQ(photo.toImage().pixelColor(5, 5), QColor(10, 20, 30));
    EXPECT_EQ(Assets::image(QStringLiteral("photo"), QSize(15, 15)).size(), QSize(15, 10));
    EXPECT_TRUE(Assets::image(QStringLiteral("broken")).isNull());
    EXPECT_EQ(Assets::color(QStringLiteral("Half_102030")), QColor(0x10, 0x20, 0x30, 0x80));
    EXPECT_EQ(Assets::colorNames(), QStringList{QStringLiteral("Half_102030")});
    ::testing::internal::GetCapturedStderr();

    Assets::setDirectory(dir.filePath(QStringLiteral("nowhere")));
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(Assets::imageNames().isEmpty());
    EXPECT_FALSE(Assets::color(AssetName::kKeyColor).isValid());
    ::testing::internal::GetCapturedStderr();
}

} // namespace
