#pragma once

#include <QList>

class QWidget;

// Tool tips that keep out of the way. A tool tip is a window of its own: while it shows, a click
// on what it covers lands on the tip and is lost.
namespace ToolTips {

// From now on every tool tip of the application lets clicks through to what lies under it.
void letClicksThrough();

// The tool tips of the controls in `areas` (and of the areas themselves) show above the top edge
// of `top`, so that none covers a control of a bar; where the screen has no room above they are
// placed as usual.
void showAbove(QWidget* top, const QList<QWidget*>& areas);

} // namespace ToolTips
