#pragma once

class PlayerSurface;
class QWidget;

// A new surface for a player view inside `parent`: the OpenGL one when `openGl`, else the
// software one.
PlayerSurface* makePlayerSurface(QWidget* parent, bool openGl);
