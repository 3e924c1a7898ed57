// The custom controls draw and filter events as the player's screens expect.

#include "controls/AssetColor.h"
#include "controls/BackgroundView.h"
#include "controls/CustomButton.h"
#include "controls/CustomNSView.h"
#include "controls/CustomTableHeaderView.h"
#include "controls/DefaultButtonStyle.h"
#include "controls/DefaultImgBtnCell.h"
#include "controls/LeftBottomBtnCell.h"
#include "controls/OrvoGrayView.h"
#include "controls/OrvoImgBtnCell.h"
#include "controls/OrvoMapView.h"
#include "controls/OrvoPopupBtnCell.h"
#include "controls/OrvoSliderCell.h"
#include "controls/OrvoTableCell.h"
#include "controls/OrvoTableRowView.h"
#include "controls/OrvoVerticalAlignText.h"
#include "controls/OrvoVideoPlayerView.h"
#include "controls/RightBottomBtnCell.h"
#include "controls/UpdateProgressView.h"
#include "controls/ViewLayer.h"
#include "platform/system/Localization.h"
#include "platform/system/NotificationCenter.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/Assets.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStandardItemModel>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

QImage renderWidget(QWidget& widget, QColor fill = Qt::transparent) {
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

bool sameColor(QColor a, QColor b, int tolerance = 2) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

#define EXPECT_COLOR(actual, expected)                                                                       \
    EXPECT_TRUE(sameColor((actual), (expected)))                                                             \
        << "got " << qPrintable((actual).name(QColor::HexArgb)) << " want "                                  \
        << qPrintable(QColor(expected).name(QColor::HexArgb))

void click(QWidget* target, QPoint at, QObject* receiver = nullptr) {
    QObject* to = receiver ? receiver : target;
    const QPointF global = target->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(to, &press);
    QApplication::sendEvent(to, &release);
}

// A click delivered to the top-level window, which finds the widget under the point itself.
void clickWindow(QWidget& window, QPoint at) {
    const QPointF global = window.mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(window.windowHandle(), &press);
    QApplication::sendEvent(window.windowHandle(), &release);
}

QPixmap solid(QColor color) {
    QPixmap pixmap(8, 8);
    pixmap.fill(color);
    return pixmap;
}

const QColor kAccent(0xED, 0x6E, 0x00);
const QColor kSliderGrey(0x61, 0x61, 0x61);
const QColor kGray333(0x33, 0x33, 0x33);

} // namespace

// --- slider cells ------------------------------------------------------------------------------

class SliderBarTest : public ::testing::Test {
protected:
    QImage drawBarAt(int value) {
        slider.setRange(0, 100);
        slider.setValue(value);
        QImage image(200, 10, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        slider.drawBar(painter, QRectF(0, 3, 200, 4));
        return image;
    }
    OrvoSliderCell slider;
};

TEST_F(SliderBarTest, AtMinimumOnlyTheGreyPartIsDrawn) {
    const QImage bar = drawBarAt(0);
    for (int x : {10, 100, 190})
        EXPECT_COLOR(bar.pixelColor(x, 5), kSliderGrey);
}

TEST_F(SliderBarTest, AtMaximumOnlyTheAccentPartIsDrawn) {
    const QImage bar = drawBarAt(100);
    for (int x : {10, 100, 190})
        EXPECT_COLOR(bar.pixelColor(x, 5), kAccent);
}

TEST_F(SliderBarTest, SplitsAtTheValueAndLeavesFivePointsAtEachEnd) {
    // The bar runs from 5 to 195; half of its 190 points is accent.
    const QImage bar = drawBarAt(50);
    EXPECT_COLOR(bar.pixelColor(90, 5), kAccent);
    EXPECT_COLOR(bar.pixelColor(110, 5), kSliderGrey);
    EXPECT_EQ(bar.pixelColor(2, 5).alpha(), 0);
    EXPECT_EQ(bar.pixelColor(197, 5).alpha(), 0);
    EXPECT_EQ(bar.pixelColor(100, 1).alpha(), 0); // nothing above the bar
}

TEST_F(SliderBarTest, FractionalScaleMapsOntoTheSteps) {
    slider.setRange(0, 10000);
    slider.setMinValue(0.0);
    slider.setMaxValue(1.0);
    slider.setDoubleValue(0.25);
    EXPECT_EQ(slider.value(), 2500);
    EXPECT_DOUBLE_EQ(slider.doubleValue(), 0.25);
    slider.setDoubleValue(7.0); // out of range: clamped
    EXPECT_DOUBLE_EQ(slider.doubleValue(), 1.0);
}

TEST_F(SliderBarTest, ActivatedOnlyForTheUsersChanges) {
    slider.setRange(0, 100);
    slider.resize(216, 20);
    int actions = 0;
    QObject::connect(&slider, &BarSliderCell::activated, [&] { ++actions; });
    slider.setValue(40); // a change made in code sends no action
    EXPECT_EQ(actions, 0);
    click(&slider, QPoint(200, 10)); // near the right end
    EXPECT_GE(actions, 1);
    EXPECT_GT(slider.value(), 90);
}

// --- buttons -----------------------------------------------------------------------------------

TEST(CustomButtonTest, IgnoresClicksUntilActivated) {
    CustomButton button;
    button.resize(64, 28);
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    click(&button, QPoint(30, 14));
    EXPECT_EQ(clicks, 0);
    button.setIsActivated(true);
    click(&button, QPoint(30, 14));
    EXPECT_EQ(clicks, 1);
}

TEST(CustomButtonTest, DrawsTheImageOfItsState) {
    if (!Assets::hasImage(QStringLiteral("btn_ch_1_s")) || !Assets::hasImage(QStringLiteral("btn_ch_1_d")))
        GTEST_SKIP() << "the asset catalogue is not installed";
    CustomButton button;
    button.resize(64, 28);
    button.setImageName(QStringLiteral("btn_ch_1_s"));
    const QColor current = renderWidget(button).pixelColor(32, 20);
    button.setImageName(QStringLiteral("btn_ch_1_d"));
    const QColor unavailable = renderWidget(button).pixelColor(32, 20);
    EXPECT_COLOR(current, Assets::color(QStringLiteral("KeyColor_ED6E00")));
    EXPECT_FALSE(sameColor(current, unavailable));
}

TEST(ButtonCellTest, ImageButtonDrawsItsImageInTheCentredHalfSquare) {
    OrvoImgBtnCell button;
    button.resize(40, 40);
    button.setImage(solid(Qt::red));
    const QImage image = renderWidget(button);
    EXPECT_COLOR(image.pixelColor(11, 11), QColor(Qt::red)); // the square (10, 10, 20, 20)
    EXPECT_COLOR(image.pixelColor(28, 28), QColor(Qt::red));
    EXPECT_COLOR(image.pixelColor(8, 8), kGray333); // the cell's grey around it
    EXPECT_COLOR(image.pixelColor(32, 20), kGray333);
}

TEST(ButtonCellTest, CornerButtonsDrawA25PointImage10PointsIn) {
    LeftBottomBtnCell left;
    RightBottomBtnCell right;
    for (ImageButtonCell* button :
         {static_cast<ImageButtonCell*>(&left), static_cast<ImageButtonCell*>(&right)}) {
        button->resize(45, 45);
        button->setImage(solid(Qt::green));
        const QImage image = renderWidget(*button);
        EXPECT_COLOR(image.pixelColor(11, 11), QColor(Qt::green));
        EXPECT_COLOR(image.pixelColor(34, 34), QColor(Qt::green));
        EXPECT_COLOR(image.pixelColor(8, 20), kGray333);
        EXPECT_COLOR(image.pixelColor(37, 37), kGray333);
    }
}

TEST(ButtonCellTest, DefaultImageButtonCoversItsFrameWithoutBackground) {
    DefaultImgBtnCell button;
    button.resize(30, 30);
    EXPECT_EQ(renderWidget(button).pixelColor(15, 15).alpha(), 0) << "no image yet: nothing filled";
    button.setImage(solid(Qt::blue));
    const QImage image = renderWidget(button);
    EXPECT_COLOR(image.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_COLOR(image.pixelColor(29, 29), QColor(Qt::blue));
}

TEST(ButtonCellTest, MissingImageStillDrawsAndKeepsItsName) {
    OrvoImgBtnCell button;
    button.resize(40, 40);
    button.setImageName(QStringLiteral("no_such_image"));
    EXPECT_EQ(button.imageName(), QStringLiteral("no_such_image"));
    EXPECT_TRUE(button.image().isNull());
    EXPECT_COLOR(renderWidget(button).pixelColor(3, 3), kGray333);
}

class DefaultButtonStyleTest : public ::testing::Test {
protected:
    QImage styled(int side) {
        button.resize(40, 20);
        ViewLayer::setWantsLayer(&button, true);
        applyDefaultButtonStyle(&button, side);
        return renderWidget(button);
    }
    CustomButton button;
    const QColor grey{0x76, 0x76, 0x76};
};

TEST_F(DefaultButtonStyleTest, RoundsTheCornersOfItsSide) {
    QImage image = styled(0);
    EXPECT_LT(image.pixelColor(0, 0).alpha(), 200);
    EXPECT_COLOR(image.pixelColor(39, 0), grey);
    EXPECT_COLOR(image.pixelColor(20, 10), grey);
    image = styled(2);
    EXPECT_COLOR(image.pixelColor(0, 0), grey);
    EXPECT_LT(image.pixelColor(39, 19).alpha(), 200);
    image = styled(1);
    EXPECT_LT(image.pixelColor(0, 19).alpha(), 200);
    EXPECT_LT(image.pixelColor(39, 0).alpha(), 200);
}

TEST_F(DefaultButtonStyleTest, ColoursOnlyALayerBackedButton) {
    CustomButton plain;
    applyDefaultButtonBackground(&plain);
    EXPECT_FALSE(ViewLayer::backgroundColor(&plain).isValid());
    applyDefaultButtonStyle(&plain, 1); // makes the layer, after the colour step
    EXPECT_TRUE(ViewLayer::wantsLayer(&plain));
    applyDefaultButtonBackground(&plain);
    EXPECT_COLOR(ViewLayer::backgroundColor(&plain), grey);
}

// --- views -------------------------------------------------------------------------------------

TEST(PlainViewsTest, FillWithTheirColours) {
    CustomNSView custom;
    OrvoGrayView gray;
    OrvoMapView map;
    for (QWidget* view :
         {static_cast<QWidget*>(&custom), static_cast<QWidget*>(&gray), static_cast<QWidget*>(&map)})
        view->resize(20, 20);
    EXPECT_COLOR(renderWidget(custom).pixelColor(10, 10), QColor(Qt::black));
    custom.setBackgroundColor(Qt::red);
    EXPECT_COLOR(renderWidget(custom).pixelColor(10, 10), QColor(Qt::red));
    EXPECT_COLOR(renderWidget(gray).pixelColor(10, 10), kGray333);
    EXPECT_COLOR(renderWidget(map).pixelColor(10, 10), QColor(0x1F, 0x1F, 0x1F));
}

TEST(PlainViewsTest, ColourNamesCarryTheirValuesWithoutTheCatalogue) {
    EXPECT_COLOR(assetColor(QStringLiteral("NoSuchBG_123456")), QColor(0x12, 0x34, 0x56));
    EXPECT_COLOR(assetColor(QStringLiteral("NoSuchAlpha_11223380")), QColor(0x11, 0x22, 0x33, 0x80));
    EXPECT_EQ(assetColor(QStringLiteral("TransparentBlack_20")).alpha(), 51);
    EXPECT_COLOR(assetColor(QStringLiteral("Nothing"), Qt::white), QColor(Qt::white));
}

TEST(VerticalAlignTextTest, CentresTheTextBodyInAnyHeight) {
    for (int height : {24, 40, 71}) {
        OrvoVerticalAlignText text;
        QFont font = text.font();
        font.setPixelSize(16);
        text.setFont(font);
        QPalette palette = text.palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        text.setPalette(palette);
        text.setText(QStringLiteral("xxxx"));
        text.resize(120, height);
        const QImage image = renderWidget(text, Qt::white);
        int top = -1, bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    if (top < 0)
                        top = y;
                    bottom = y;
                }
        ASSERT_GE(top, 0) << "no text drawn at height " << height;
        EXPECT_NEAR((top + bottom + 1) / 2.0, height / 2.0, 1.5) << "height " << height;
    }
}

TEST(PopupButtonTest, FalseColourMapsLuminanceOntoGrey) {
    QImage image(2, 1, QImage::Format_ARGB32_Premultiplied);
    image.setPixelColor(0, 0, kAccent);
    image.setPixelColor(1, 0, QColor(0, 0, 0, 0));
    OrvoPopupBtnCell::applyFalseColor(image);
    const QColor grey = image.pixelColor(0, 0);
    EXPECT_EQ(grey.red(), grey.green());
    EXPECT_EQ(grey.green(), grey.blue());
    EXPECT_NEAR(grey.red(), 129, 1);
    EXPECT_EQ(image.pixelColor(1, 0).alpha(), 0);
}

// --- table -------------------------------------------------------------------------------------

TEST(TableViewsTest, SelectedRowIsTranslucentGreyUnselectedLeftToThePlatform) {
    QStandardItemModel model(1, 1);
    OrvoTableRowView rows;
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 60, 19);
    option.state = QStyle::State_Enabled | QStyle::State_Selected;
    QImage image(60, 19, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        rows.paint(&painter, option, model.index(0, 0));
    }
    EXPECT_COLOR(image.pixelColor(30, 9), QColor(54, 54, 54, 128));

    option.state = QStyle::State_Enabled;
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        rows.paint(&painter, option, model.index(0, 0));
    }
    EXPECT_EQ(image.pixelColor(30, 9).alpha(), 0);
}

TEST(TableViewsTest, HeaderFillsItsBackgroundAndIgnoresClicks) {
    QStandardItemModel model(0, 2);
    model.setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Time")});
    CustomTableHeaderView header(Qt::Horizontal);
    header.setModel(&model);
    header.setStretchLastSection(false);
    header.resize(200, 24);
    header.resizeSection(0, 50);
    header.resizeSection(1, 50);
    header.show();
    QApplication::processEvents();
    // Inside a section, beside its title, the background shows through.
    EXPECT_COLOR(renderWidget(header).pixelColor(44, 3), kGray333);

    int presses = 0;
    QObject::connect(&header, &QHeaderView::sectionPressed, [&] { ++presses; });
    QObject::connect(&header, &QHeaderView::sectionClicked, [&] { ++presses; });
    click(header.viewport(), QPoint(25, 12));
    EXPECT_EQ(presses, 0);
}

TEST(TableViewsTest, CellPreparedForReuseLosesTextAndColour) {
    OrvoTableCell cell;
    EXPECT_EQ(cell.type, QStringLiteral("기타"));
    cell.tableTxt->setText(QStringLiteral("2024-11-08"));
    ViewLayer::setBackgroundColor(&cell, QColor(255, 128, 0));
    cell.resize(40, 19);
    EXPECT_COLOR(renderWidget(cell).pixelColor(1, 1), QColor(255, 128, 0));
    cell.prepareForReuse();
    EXPECT_TRUE(cell.tableTxt->text().isEmpty());
    EXPECT_EQ(renderWidget(cell).pixelColor(1, 1).alpha(), 0);
}

// --- overlays and mouse ------------------------------------------------------------------------

TEST(UpdateProgressViewTest, SwallowsClicksWhileShownLetsThemThroughWhileHidden) {
    QWidget window;
    window.resize(200, 100);
    auto* button = new QPushButton(QStringLiteral("Firmware"), &window);
    button->setGeometry(0, 0, 200, 100);
    auto* overlay = new UpdateProgressView(&window);
    overlay->setGeometry(0, 0, 200, 100);
    overlay->setAlphaValue(0.0);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    window.show();
    QApplication::processEvents();

    testing::internal::CaptureStdout();
    clickWindow(window, QPoint(100, 50));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(clicks, 0);
    EXPECT_NE(printed.find("hitTest"), std::string::npos);

    overlay->hide();
    clickWindow(window, QPoint(100, 50));
    EXPECT_EQ(clicks, 1);
}

TEST(OrvoVideoPlayerViewTest, LetsClicksThroughToTheViewsBelow) {
    QWidget window;
    window.resize(160, 90);
    auto* below = new QPushButton(&window);
    below->setGeometry(0, 0, 160, 90);
    auto* video = new OrvoVideoPlayerView(&window, PlayerView::Renderer::Software);
    video->setGeometry(0, 0, 160, 90);
    int clicks = 0;
    QObject::connect(below, &QPushButton::clicked, [&] { ++clicks; });
    window.show();
    QApplication::processEvents();
    clickWindow(window, QPoint(80, 45));
    EXPECT_EQ(clicks, 1);
}

TEST(BackgroundViewTest, PostsMouseMovedForMovementsInItsActiveWindow) {
    BackgroundView view;
    view.resize(100, 60);
    view.show();
    view.activateWindow();
    QApplication::processEvents();
    if (!view.isActiveWindow())
        GTEST_SKIP() << "the platform has no active window";
    int posted = 0;
    const auto token = NotificationCenter::defaultCenter().addObserver(
        QStringLiteral("mouseMoved"), nullptr, [&](const Notification&) { ++posted; });
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 30), view.mapToGlobal(QPointF(30, 30)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
    NotificationCenter::defaultCenter().removeObserver(token);
    EXPECT_EQ(posted, 1);
    ASSERT_TRUE(view.trackingArea.has_value());
    EXPECT_EQ(*view.trackingArea, view.rect());
}
