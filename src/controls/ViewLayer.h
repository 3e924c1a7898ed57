#pragma once

#include <QColor>
#include <QRectF>

class QPainter;
class QWidget;

// The backing layer of a view: a background colour, a corner radius and the
// corners it rounds, kept as properties of the widget.
//
// The custom views and buttons paint the layer themselves (paint()); any
// other widget shows the colour through its palette (plain views) or a style
// sheet (buttons). A storyboard sets a layer with the dynamic properties
// "layerColorAsset" (a catalogue colour name), "layerCornerRadius" and
// "layerMaskedCorners", applied by applyStoryboardLayers().
class ViewLayer {
public:
    // Corners a layer rounds (as a mask): the minimum-x corners are the left ones.
    enum Corner {
        MinXMinYCorner = 0x1, // top left
        MaxXMinYCorner = 0x2, // top right
        MinXMaxYCorner = 0x4, // bottom left
        MaxXMaxYCorner = 0x8, // bottom right
        AllCorners = 0xf,
    };

    static bool wantsLayer(const QWidget* view);
    static void setWantsLayer(QWidget* view, bool wants);

    // The layer's background colour; invalid when it has none.
    static QColor backgroundColor(const QWidget* view);
    // Sets the background (making the view layer-backed) and, with `redraw`,
    // repaints it. A clear or invalid colour removes the background.
    static void setBackgroundColor(QWidget* view, const QColor& color, bool redraw = true);

    static qreal cornerRadius(const QWidget* view);
    static void setCornerRadius(QWidget* view, qreal radius);
    static int maskedCorners(const QWidget* view);
    static void setMaskedCorners(QWidget* view, int corners);

    // Marks `view` as one that paints its own layer with paint().
    static void setPaintsOwnLayer(QWidget* view);

    // Fills `rect` (the view's rectangle when null) with the layer's background.
    static void paint(QPainter& painter, const QWidget* view, QRectF rect = QRectF());

    // Applies the layer properties that the storyboard gave `root` and its children.
    static void applyStoryboardLayers(QWidget* root);

private:
    static void refresh(QWidget* view);
};
