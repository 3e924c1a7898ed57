#pragma once

#include <QPushButton>

// A button that can refuse clicks: mouse presses reach it only while
// `isActivated` is true (the window player's channel buttons and its two
// data-panel buttons). It draws its layer, its image over the whole frame
// and its title in the middle.
class CustomButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(bool isActivated READ isActivated WRITE setIsActivated)
    Q_PROPERTY(QString imageName READ imageName WRITE setImageName)

public:
    explicit CustomButton(QWidget* parent = nullptr);

    bool isActivated() const { return m_isActivated; }
    void setIsActivated(bool activated);

    // The catalogue image drawn over the button; empty for none.
    QString imageName() const { return m_imageName; }
    void setImageName(const QString& name);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_isActivated = false;
    QString m_imageName;
};
