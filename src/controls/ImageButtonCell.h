#pragma once

#include <QColor>
#include <QPixmap>
#include <QPushButton>

// The common part of the image button cells: a button that draws a
// catalogue image at a place its kind decides, over a background colour of
// its kind. A button and its cell are one widget here; the kinds are the
// subclasses. The image is named by `imageName` (rendered at the size it is
// drawn) or given as a pixmap; pressed it darkens, disabled it fades.
class ImageButtonCell : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QString imageName READ imageName WRITE setImageName)

public:
    explicit ImageButtonCell(QWidget* parent = nullptr);

    QString imageName() const { return m_imageName; }
    void setImageName(const QString& name);
    // An image given directly (replaces the named one); null for none.
    void setImage(const QPixmap& image);
    // The image drawn now: the given pixmap, else the named one at `imageRect`'s size.
    QPixmap image() const;

    // Where the image goes inside `frame`.
    virtual QRectF imageRect(const QRectF& frame) const = 0;
    // The colour behind the image; invalid for none.
    virtual QColor cellBackgroundColor() const { return {}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_imageName;
    QPixmap m_image;
};
