#pragma once

class QFileDialog;

// The folder choosers of the players and of the capture and backup screens.
namespace OpenPanel {

// Opens `panel` at a size that shows its places and its list whole: a comfortable size within the
// screen, the places as wide as their names, the size, kind and date columns as wide as what they
// show and the name column taking the rest. A chooser the desktop draws itself (a native dialog)
// is left as it is.
void showColumnsWhole(QFileDialog& panel);

} // namespace OpenPanel
