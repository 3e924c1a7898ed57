#pragma once

class Player;
class QLabel;
class VolumeSliderCell;

// The up and down arrow keys of both players: nothing while muted; with a player its
// volume moves by 0.05 within 0-1 and the slider follows, without one the slider moves
// by 5 within 0-100; the text, the tool tip and the "Volume" default follow either way.
void changeVolumeWithHotKey(Player* player, VolumeSliderCell* slider, QLabel* text, bool up);

// The volume slider of both players moved: the text and the tool tip show its whole number and
// the "Volume" default stores it; answers the volume it gives (0-1) for the players to take.
float storeVolumeFromSlider(VolumeSliderCell* slider, QLabel* text);
