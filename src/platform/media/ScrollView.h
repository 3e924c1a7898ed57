#pragma once

#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QWidget>

class PlayerView;

// A magnifiable frame around a PlayerView (its document view), which fills it. Magnifying
// shows part of the document larger; the visible part (the clip bounds, in document
// coordinates with y growing downwards) can be moved by dragging with the left button or by
// scrollToPoint. The picture is magnified by libmpv itself, so a magnified channel costs no
// more to draw than an unmagnified one.
class ScrollView : public QWidget {
    Q_OBJECT
public:
    explicit ScrollView(QWidget* parent = nullptr);
    ~ScrollView() override;

    // Takes `view` as the document view (reparented to the scroll view; null removes it).
    void setDocumentView(PlayerView* view);
    PlayerView* documentView() const { return m_documentView; }

    // Whether the user may magnify (settings made by the program apply in any case).
    bool allowsMagnification() const { return m_allowsMagnification; }
    void setAllowsMagnification(bool allows) { m_allowsMagnification = allows; }
    double minMagnification() const { return m_minMagnification; }
    void setMinMagnification(double magnification);
    double maxMagnification() const { return m_maxMagnification; }
    void setMaxMagnification(double magnification);

    double magnification() const { return m_magnification; }
    // Magnifies about the middle of the visible part.
    void setMagnification(double magnification);
    // Magnifies keeping `point` (document coordinates) where it is on the screen; the result
    // is limited to the magnification range and the visible part to the document.
    void setMagnification(double magnification, QPointF point);

    // The document's unmagnified size: the scroll view's own.
    QSizeF documentSize() const { return QSizeF(size()); }
    // The visible part of the document (the clip view's bounds).
    QRectF documentVisibleRect() const;
    // Moves the visible part's origin to `origin`, kept within the document.
    void scrollToPoint(QPointF origin);

    // Whether a left-button drag moves the visible part (on by default).
    bool pansByDrag() const { return m_pansByDrag; }
    void setPansByDrag(bool pans) { m_pansByDrag = pans; }

signals:
    void magnificationChanged(double magnification);
    void boundsChanged();
    // A drag: its state and the movement since the last report, in document units (y down).
    void panGesture(Qt::GestureState state, QPointF translation);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointF clampedOrigin(QPointF origin, double magnification) const;
    void apply();

    QPointer<PlayerView> m_documentView;
    bool m_allowsMagnification = true;
    double m_minMagnification = 1.0;
    double m_maxMagnification = 3.0;
    double m_magnification = 1.0;
    QPointF m_origin;
    bool m_pansByDrag = true;
    bool m_dragging = false;
    QPointF m_lastDragPosition;
};
