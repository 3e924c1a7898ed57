#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <optional>

// Where the window player's channel views sit inside their container: one
// channel over the whole container, two channels side by side or stacked, or
// a two-by-two grid. The arrangement is chosen when a layout is made; while it
// holds, the views follow every resize of the container in the same
// proportions (a container that changes shape keeps its arrangement until the
// next layout).
class ChannelLayout : public QObject {
    Q_OBJECT

public:
    enum class Arrangement { None, Single, SideBySide, Stacked, Grid };

    // The picture aspect the two-channel choice is made for (16:9).
    static constexpr double kPictureAspect = 1.7777777777777777;
    static constexpr double kHalf = 0.5;

    // Watches `container` for resizes; the views are children of it.
    explicit ChannelLayout(QWidget* container);

    // Two channels: side by side when that shows a larger 16:9 picture than
    // stacking them, otherwise (ties included) stacked.
    static Arrangement pairArrangement(QSizeF container);
    // The frame of view `index` in `container` for an arrangement (`single`:
    // the channel shown alone); none when the view is hidden.
    static std::optional<QRect> frameOf(Arrangement arrangement, int single, int index, QSize container);

    void setViews(const QList<QWidget*>& views);
    // Applies an arrangement to the views and keeps it.
    void arrange(Arrangement arrangement, int single = -1);
    Arrangement arrangement() const { return m_arrangement; }
    int singleChannel() const { return m_single; }
    // Places the views again for the container's current size.
    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_container;
    QList<QPointer<QWidget>> m_views;
    Arrangement m_arrangement = Arrangement::None;
    int m_single = -1;
};
