#pragma once

class QFileDialog;

// The folder choosers of the players and of the capture and backup screens.
namespace OpenPanel {

// Runs `panel` modally (ModalSession::run) at a size that shows its places and its list whole: a
// comfortable size within the screen, the places as wide as their names, the size, kind and date
// columns as wide as what they show and the name column taking the rest. A chooser the desktop
// draws itself (a native dialog) keeps its own size. Returns the panel's result.
int run(QFileDialog& panel);

} // namespace OpenPanel
