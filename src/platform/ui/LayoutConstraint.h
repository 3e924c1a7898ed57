#pragma once

#include <QLayout>
#include <QPointer>
#include <QString>

class QSpacerItem;

// A layout constraint of a view: a fixed spacer of one of the view's layouts
// whose length along the layout's direction is the constraint's constant,
// found by its identifier (the spacer's name in the storyboard).
class LayoutConstraint {
public:
    LayoutConstraint() = default;
    // `spacer` must belong to `layout`; `orientation` says which of its
    // lengths the constant sets.
    LayoutConstraint(QString identifier, QSpacerItem* spacer, QLayout* layout,
                     Qt::Orientation orientation = Qt::Horizontal);

    const QString& identifier() const { return m_identifier; }
    // The constant last set (the spacer's length when none was set).
    double constant() const;
    // Sets the spacer's length (rounded to whole points, at least 0) and lays
    // the layout out again. Does nothing once the layout is gone.
    void setConstant(double constant);
    // The spacer and its layout still exist.
    bool isValid() const { return m_spacer && !m_layout.isNull(); }

private:
    QString m_identifier;
    QSpacerItem* m_spacer = nullptr;
    QPointer<QLayout> m_layout;
    Qt::Orientation m_orientation = Qt::Horizontal;
    double m_constant = 0.0;
    bool m_hasConstant = false;
};
