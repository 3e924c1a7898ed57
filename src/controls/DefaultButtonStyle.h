#pragma once

class QAbstractButton;

// The window player's default look for a text button: white content on a
// "DefaultBtn_767676" layer with corners of radius 3 rounded by `side`:
// 0 the two left corners, 1 all four, 2 the two right ones; any other value
// leaves the corners as they are.
void applyDefaultButtonStyle(QAbstractButton* button, int side);

// Gives a layer-backed button the "DefaultBtn_767676" background.
void applyDefaultButtonBackground(QAbstractButton* button);
